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
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
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

} // namespace

CRunLog::~CRunLog()
{
    Close();
}

QString CRunLog::MakeFileName(const QDateTime& moment)
{
    return QStringLiteral("Logfile") + moment.toString(QStringLiteral("dd_MM_yyyy")) + QLatin1Char('_')
           + moment.toString(QStringLiteral("hh_mm_ss")) + QStringLiteral(".log");
}

QString CRunLog::MessageOr(const char* id, const char* fallback)
{
    const QString text = CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), QString::fromLatin1(id));
    return text.isEmpty() ? QString::fromLatin1(fallback) : text;
}

void CRunLog::SayOnStandardError(const QString& text)
{
    WriteToStandardError(text + QLatin1Char('\n'));
}

bool CRunLog::Open(const QString& folder, const QString& userName, const QDateTime& moment)
{
    EndFile();
    const QDir start(folder);
    auto file = std::make_unique<QFile>();
    bool opened = false;
    bool created = false;
    if (!userName.isEmpty()) {
        m_FileName = userName;
        // Such a name was read with replacement characters: a file of it would be another file.
        if (BoundedFileRead::NameIsUnreadable(userName)) {
            TurnToStandardError(MessageOr("id_logfile_name_unreadable",
                                          "The name of the run log %1 cannot be read in this system's character set. "
                                          "Its lines follow on standard error.")
                                    .arg(ShowName(userName)));
            return false;
        }
        // A name the user gave is the user's file to replace, but only a plain file: a FIFO would block.
        file->setFileName(start.filePath(m_FileName));
        const QFileInfo info(file->fileName());
        if (info.exists() && !info.isFile()) {
            TurnToStandardError(MessageOr("id_logfile_failed",
                                          "The run log %1 cannot be created: %2. Its lines follow on standard error.")
                                    .arg(ShowName(file->fileName()), info.isDir()
                                                                         ? QStringLiteral("is a folder")
                                                                         : QStringLiteral("is not a regular file")));
            return false;
        }
        created = !info.exists();
        opened = file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
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
    }
    if (!opened) {
        TurnToStandardError(
            MessageOr("id_logfile_failed", "The run log %1 cannot be created: %2. Its lines follow on standard error.")
                .arg(ShowName(file->fileName()), file->errorString()));
        return false;
    }
    m_pFile = std::move(file);
    m_Destination = IN_FILE;
    // What the run created is the file itself, at the end of any link the name is: that alone may go at the end.
    m_CreatedPath = created ? QFileInfo(m_pFile->fileName()).canonicalFilePath() : QString();
    m_CreatedIdentity = FileIdentity::OfOpenFile(m_pFile->handle());
    WatchStopSignals();
    const QString held = m_Held;
    m_Held.clear();
    if (!held.isEmpty())
        Write(held);
    return true;
}

void CRunLog::Refuse(const QString& reason)
{
    TurnToStandardError(reason);
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
    TurnToStandardError(MessageOr("id_logfile_write_failed",
                                  "The run log %1 cannot be written: %2. Its lines follow on standard error.")
                            .arg(ShowName(m_pFile->fileName()), reason));
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
    return m_pFile ? QFileInfo(m_pFile->fileName()).absoluteFilePath() : QString();
}
