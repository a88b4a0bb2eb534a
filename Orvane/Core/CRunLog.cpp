#include "CRunLog.h"
#include "Text/CLanguageResources.h"
#include "Text/ShownName.h"
#include "Util/BoundedFileRead.h"
#include "Util/SafeFileWrite.h"
#include "Util/StopSignals.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

void WriteToStandardError(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// What the signal handler needs of the log this run created, where a handler may read it: its path, and the open
// file, which tells whether it is still empty and still the file of that name. One log of the process at a time.
char g_CreatedLog[4096];
int g_CreatedLogFile = -1;
StopSignals::CTakeover g_Signals;

void RemoveEmptyLogAndStop(int signal)
{
    struct stat open;
    struct stat named;
    if (g_CreatedLogFile >= 0 && ::fstat(g_CreatedLogFile, &open) == 0 && open.st_size == 0
        && ::stat(g_CreatedLog, &named) == 0 && named.st_dev == open.st_dev && named.st_ino == open.st_ino)
        ::unlink(g_CreatedLog);
    g_Signals.PassOn(signal);
}

// Runs between the open that found no file and the one that creates it (tests make a file appear there).
std::function<void()> g_BeforeCreating;

// Whether the open file belongs to a file system the kernel makes up (/proc, /sys and their kind): such a file
// passes as regular but keeps no lines (/proc/self/comm keeps 15 bytes, others none, some act on what is written).
bool IsKernelFile(int fd)
{
    struct statfs system;
    if (::fstatfs(fd, &system) != 0)
        return false;
    switch (static_cast<unsigned long>(system.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case SELINUX_MAGIC:
    case SMACK_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case PSTOREFS_MAGIC:
    case EFIVARFS_MAGIC:
    case BINFMTFS_MAGIC:
        return true;
    default:
        return false;
    }
}

// The name a chain of symbolic links ends at, read link by link (a relative link from its own folder); the name
// itself when it is no link. Empty when the chain is too long.
QByteArray LinkEnd(const QByteArray& name)
{
    QByteArray at = name;
    for (int links = 0; links < 40; ++links) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(at.constData(), target, sizeof target);
        if (length < 0)
            return at;
        const QByteArray next(target, int(length));
        const int slash = int(at.lastIndexOf('/'));
        at = next.startsWith('/') || slash < 0 ? next : at.left(slash + 1) + next;
    }
    return QByteArray();
}

} // namespace

void CRunLog::SetBeforeCreating(std::function<void()> hook)
{
    g_BeforeCreating = std::move(hook);
}

CRunLog::~CRunLog()
{
    Close();
}

QString CRunLog::MakeFileName(const QDateTime& moment)
{
    return QStringLiteral("Logfile") + moment.toString(QStringLiteral("dd_MM_yyyy")) + QLatin1Char('_')
           + moment.toString(QStringLiteral("hh_mm_ss")) + QStringLiteral(".log");
}

QString CRunLog::Message(const char* id, const QStringList& arguments)
{
    const QString text = CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), QString::fromLatin1(id));
    if (text.isEmpty())
        return (QStringList{QString::fromLatin1(id)} + arguments).join(QLatin1Char(' '));
    // All at once, so that an argument holding "%1" stays as it is.
    switch (arguments.size()) {
    case 0:
        return text;
    case 1:
        return text.arg(arguments.at(0));
    case 2:
        return text.arg(arguments.at(0), arguments.at(1));
    default:
        return text.arg(arguments.at(0), arguments.at(1), arguments.at(2));
    }
}

void CRunLog::SayOnStandardError(const QString& text)
{
    WriteToStandardError(text + QLatin1Char('\n'));
}

bool CRunLog::Open(const QString& folder, const QString& userName, const QDateTime& moment, const Guard& guard)
{
    EndFile();
    m_Refused = false;
    const QDir start(folder);
    auto file = std::make_unique<QFile>();
    bool opened = false;
    bool created = false;
    if (!userName.isEmpty()) {
        m_FileName = userName;
        // Such a name was read with replacement characters: a file of it would be another file.
        if (BoundedFileRead::NameIsUnreadable(userName)) {
            TurnToStandardError(Message("id_logfile_name_unreadable", {ShowName(userName)}));
            return false;
        }
        file->setFileName(start.filePath(m_FileName));
        if (!OpenUserFile(*file, file->fileName(), guard, created))
            return false;
        opened = true;
    } else {
        // Runs started in the same second from one folder each get a log of their own, and an older log is
        // never emptied: a taken name gets "_2", "_3"... and the file is created only when it is new.
        const QString stem = MakeFileName(moment);
        const QString base = stem.left(stem.size() - 4);
        for (int number = 1; number <= 1000 && !opened; ++number) {
            m_FileName = number == 1 ? stem : base + QStringLiteral("_%1.log").arg(number);
            file->setFileName(start.filePath(m_FileName));
            opened = file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered);
            if (!opened && !QFileInfo::exists(file->fileName()))
                break;
        }
        created = opened;
        if (opened && !PassesGuard(guard, file->handle(), file->fileName(), true))
            return false;
    }
    if (!opened) {
        TurnToStandardError(Message("id_logfile_failed", {ShowName(file->fileName()), file->errorString()}));
        return false;
    }
    m_pFile = std::move(file);
    m_Destination = IN_FILE;
    m_FilePath = start.filePath(m_FileName);
    // What the run created is the file itself, at the end of any link the name is: that alone may go at the end.
    m_CreatedPath = created ? QFileInfo(m_FilePath).canonicalFilePath() : QString();
    m_CreatedIdentity = FileIdentity::OfOpenFile(m_pFile->handle());
    WatchStopSignals();
    const QString held = m_Held;
    m_Held.clear();
    if (!held.isEmpty())
        Write(held);
    return true;
}

bool CRunLog::OpenUserFile(QFile& file, const QString& path, const Guard& guard, bool& created)
{
    const QByteArray name = QFile::encodeName(path);
    // A name the user gave is the user's file to replace, but only a plain file: a FIFO would block.
    const QFileInfo info(path);
    const auto notPlain = [this, &path](bool folder) {
        const QString why = folder ? BoundedFileRead::FolderReason() : BoundedFileRead::NotRegularFileReason();
        TurnToStandardError(Message("id_logfile_failed", {ShowName(path), why}));
        return false;
    };
    if (info.exists() && !info.isFile())
        return notPlain(info.isDir());
    // A file that did not exist is none the run reads; any other is opened without emptying and without waiting
    // on a FIFO swapped in meanwhile, and what was opened is checked below, on the open file. The file is created
    // only exclusively, so a file that appears meanwhile is never taken for one the run created: it is opened as
    // it stands and checked as any existing log.
    const int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
    if (fd < 0 && errno == EEXIST) {
        fd = ::open(name.constData(), flags);
        // A link to nothing: the file it names is created, and the guard sees it too.
        const QByteArray end = fd < 0 && errno == ENOENT ? LinkEnd(name) : QByteArray();
        if (!end.isEmpty()) {
            if (g_BeforeCreating)
                g_BeforeCreating();
            fd = ::open(end.constData(), flags | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
            created = fd >= 0;
            if (fd < 0 && errno == EEXIST)
                fd = ::open(name.constData(), flags);
        }
    }
    if (fd < 0) {
        const int error = errno;
        if (error == EISDIR)
            return notPlain(true);
        if (error == ENXIO)
            return notPlain(false);
        // A file that cannot be written (a program that runs, as the launcher does while it waits for this run)
        // may still be one the run reads: that is the reason to give.
        if (IsRefusedUnwritable(name, guard))
            return false;
        TurnToStandardError(
            Message("id_logfile_failed", {ShowName(path), QString::fromLocal8Bit(std::strerror(error))}));
        return false;
    }
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return notPlain(false);
    }
    if (IsKernelFile(fd)) {
        if (created)
            RemoveCreated(fd, path);
        ::close(fd);
        TurnToStandardError(Message("id_logfile_failed", {ShowName(path), Message("id_logfile_kernel_file", {})}));
        return false;
    }
    if (!PassesGuard(guard, fd, path, created)) {
        ::close(fd);
        return false;
    }
    // Only now, and only this file, is emptied; then writes wait for the disk again.
    if (::ftruncate(fd, 0) != 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        const int error = errno;
        ::close(fd);
        TurnToStandardError(
            Message("id_logfile_failed", {ShowName(path), QString::fromLocal8Bit(std::strerror(error))}));
        return false;
    }
    return true;
}

bool CRunLog::IsRefusedUnwritable(const QByteArray& name, const Guard& guard)
{
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened;
    const bool refused =
        ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && !PassesGuard(guard, fd, QFile::decodeName(name), false);
    ::close(fd);
    return refused;
}

bool CRunLog::PassesGuard(const Guard& guard, int fd, const QString& path, bool created)
{
    const std::optional<FileIdentity> opened = FileIdentity::OfOpenFile(fd);
    const QString refusal = guard && opened ? guard(*opened, created) : QString();
    if (refusal.isEmpty())
        return true;
    if (created)
        RemoveCreated(fd, path);
    m_Refused = true;
    TurnToStandardError(refusal);
    return false;
}

void CRunLog::RemoveCreated(int fd, const QString& path)
{
    // The file at the end of any link the name is, while it is still the file the run created.
    const std::optional<FileIdentity> opened = FileIdentity::OfOpenFile(fd);
    const QString made = QFileInfo(path).canonicalFilePath();
    if (opened && !made.isEmpty() && FileIdentity::Of(made) == opened)
        QFile::remove(made);
}

void CRunLog::TurnToStandardError(const QString& reason)
{
    m_Destination = ON_STANDARD_ERROR;
    SayOnStandardError(reason);
    if (!m_Held.isEmpty())
        WriteToStandardError(m_Held);
    m_Held.clear();
}

void CRunLog::WatchStopSignals()
{
    const QByteArray name = QFile::encodeName(m_CreatedPath);
    if (m_CreatedPath.isEmpty() || g_CreatedLogFile >= 0 || size_t(name.size()) >= sizeof g_CreatedLog)
        return;
    const StopSignals::CHeld hold;
    std::memcpy(g_CreatedLog, name.constData(), size_t(name.size()) + 1);
    g_CreatedLogFile = m_pFile->handle();
    g_Signals.Take(RemoveEmptyLogAndStop);
    m_WatchesSignals = true;
}

void CRunLog::Write(const QString& text)
{
    switch (m_Destination) {
    case HELD:
        m_Held += text;
        return;
    case NOWHERE:
        return;
    case ON_STANDARD_ERROR:
        WriteToStandardError(text);
        return;
    case IN_FILE:
        break;
    }
    const QByteArray bytes = text.toLocal8Bit();
    // Unbuffered: a write the disk refuses fails here and now, not at some later flush.
    QString reason;
    if (WriteAllBytes(*m_pFile, bytes, &reason))
        return;
    // A full or failing disk: the reason once, then the log goes on where the user sees it.
    TurnToStandardError(Message("id_logfile_write_failed", {ShowName(m_FilePath), reason}));
    WriteToStandardError(text);
}

void CRunLog::EndFile()
{
    if (!m_pFile)
        return;
    if (m_WatchesSignals) {
        const StopSignals::CHeld hold;
        g_Signals.GiveBack();
        g_CreatedLogFile = -1;
        g_CreatedLog[0] = '\0';
        m_WatchesSignals = false;
    }
    m_pFile->close();
    // Only what this run created goes, and only while it is still that file: a file the user named and had
    // before stays, even empty, and so does a link the user named.
    if (!m_CreatedPath.isEmpty() && QFileInfo(m_CreatedPath).size() == 0
        && FileIdentity::Of(m_CreatedPath) == m_CreatedIdentity)
        QFile::remove(m_CreatedPath);
    m_pFile.reset();
    m_CreatedPath.clear();
}

void CRunLog::Close()
{
    EndFile();
    // Texts that never found a log are not lost.
    if (!m_Held.isEmpty())
        WriteToStandardError(m_Held);
    m_Held.clear();
    m_Destination = NOWHERE;
}

QString CRunLog::GetFilePath() const
{
    return m_pFile ? QFileInfo(m_FilePath).absoluteFilePath() : QString();
}
