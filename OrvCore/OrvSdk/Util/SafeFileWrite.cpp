#include "SafeFileWrite.h"
#include "Util/StopSignals.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A write may run inside another one (a callback that writes a file of its own): each has a slot for its
// temporary file's name, for the signal handler. Fixed buffers, since a handler may neither allocate nor lock;
// an empty slot holds no temporary file. Writes nested deeper than this still remove their files on every
// way out, only not when a signal ends the run.
constexpr int kNestingSlots = 4;
char g_Temporaries[kNestingSlots][4096];
// Writes in progress in this module; the outermost one takes the stopping signals over and gives them back.
int g_Depth = 0;
StopSignals::CTakeover g_Signals;
// The innermost record of written files alive in this module.
CWrittenFiles* g_pWrittenFiles = nullptr;

void RemoveTemporariesAndStop(int signal)
{
    for (char* temporary : g_Temporaries) {
        if (temporary[0] != '\0')
            ::unlink(temporary);
        temporary[0] = '\0';
    }
    g_Signals.PassOn(signal);
}

// One write's temporary file, from before it exists until it is renamed into place or removed, whichever way
// the write ends (a failure, a callback that throws, a signal). The handlers are this module's only while a
// write is in progress: the program and every plug-in carry their own copy of this code, and a plug-in's copy
// goes when the plug-in is unloaded, so a handler left installed could be one whose code is gone.
class CTemporaryFile
{
public:
    // Call with the stopping signals held.
    CTemporaryFile() : m_Slot(g_Depth++)
    {
        if (m_Slot == 0)
            g_Signals.Take(RemoveTemporariesAndStop);
    }
    ~CTemporaryFile()
    {
        const StopSignals::CHeld hold;
        if (!m_Name.isEmpty())
            ::unlink(m_Name.constData());
        if (m_Slot < kNestingSlots)
            g_Temporaries[m_Slot][0] = '\0';
        if (--g_Depth == 0)
            g_Signals.GiveBack();
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    // The file now exists under name; call with the stopping signals held.
    void Record(const QByteArray& name)
    {
        m_Name = name;
        if (m_Slot < kNestingSlots && size_t(name.size()) < sizeof g_Temporaries[m_Slot])
            std::memcpy(g_Temporaries[m_Slot], name.constData(), size_t(name.size()) + 1);
    }
    // The file was renamed into place: nothing is left to remove.
    void Keep()
    {
        const StopSignals::CHeld hold;
        m_Name.clear();
        if (m_Slot < kNestingSlots)
            g_Temporaries[m_Slot][0] = '\0';
    }
    const QByteArray& Name() const { return m_Name; }

private:
    int m_Slot;
    QByteArray m_Name;
};

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file a write to path lands in: a symbolic link (or a chain of them) is followed to its target, so the
// link stays a link. A link to nothing names the file it would create.
QString WriteTarget(const QString& path)
{
    QString target = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return target;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return target;
        target = next;
    }
    return target;
}

// A new, empty file in the folder of target with a short name (the target's own name may already be as long
// as a name can be); empty with the reason when none can be created.
QByteArray CreateTemporaryBeside(const QString& target, QString& reason)
{
    const QString folder = QFileInfo(target).absolutePath();
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/.orv-XXXXXX.part"));
    const int fd = ::mkstemps(name.data(), 5);
    if (fd < 0) {
        reason = SystemReason(errno);
        return QByteArray();
    }
    ::close(fd);
    return name;
}

// mkstemps makes the file private; a replaced file keeps its own bits, a new one gets the usual ones.
mode_t ModeFor(bool replacing, const struct stat& old)
{
    if (replacing)
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void NoteWrittenFile(const QString& path);

bool WriteFileSafely(const QString& path, const std::function<bool(const QString& temporaryPath)>& write,
                     QString* reason)
{
    QString why;
    const auto fail = [&](const QString& text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (path.isEmpty())
        return fail(SystemReason(ENOENT));
    const QString target = WriteTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old;
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return fail(SystemReason(EISDIR));

    // A stop between creating the temporary file and recording its name would leave it behind.
    std::optional<StopSignals::CHeld> held(std::in_place);
    CTemporaryFile temporary;
    const QByteArray temporaryName = CreateTemporaryBeside(target, why);
    if (temporaryName.isEmpty())
        return fail(why);
    temporary.Record(temporaryName);
    held.reset();

    errno = 0;
    bool written = write(QFile::decodeName(temporaryName));
    if (!written)
        why = errno != 0 ? SystemReason(errno) : QStringLiteral("the file could not be written");
    if (written && ::chmod(temporaryName.constData(), ModeFor(replacing, old)) != 0) {
        why = SystemReason(errno);
        written = false;
    }
    // rename replaces an existing file in one step, where QFile::rename would refuse it.
    if (written && std::rename(temporaryName.constData(), targetName.constData()) != 0) {
        why = SystemReason(errno);
        written = false;
    }
    if (!written)
        return fail(why);
    temporary.Keep();
    NoteWrittenFile(target);
    return true;
}

void NoteWrittenFile(const QString& path)
{
    for (CWrittenFiles* record = g_pWrittenFiles; record; record = record->m_pOuter)
        record->m_Paths.append(path);
}

CWrittenFiles::CWrittenFiles() : m_pOuter(g_pWrittenFiles)
{
    g_pWrittenFiles = this;
}

CWrittenFiles::~CWrittenFiles()
{
    g_pWrittenFiles = m_pOuter;
}

void CWrittenFiles::RemoveAll()
{
    for (const QString& path : m_Paths)
        QFile::remove(path);
    m_Paths.clear();
}

bool WriteAllBytes(QFileDevice& file, const QByteArray& bytes, QString* reason)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        // After a short write the next one fails with the system's reason, which the short one lacks.
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            if (reason)
                *reason = file.error() != QFileDevice::NoError ? file.errorString() : SystemReason(EIO);
            return false;
        }
        done += written;
    }
    return true;
}

bool WriteBytesToFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    // Unbuffered: every write reaches the file system here, where its failure can say why.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    if (!WriteAllBytes(file, bytes, reason))
        return false;
    // A file system may refuse the data only when the file is closed.
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

bool WriteBytesSafely(const QString& path, const QByteArray& bytes, QString* reason)
{
    QString writeError;
    const bool written = WriteFileSafely(
        path, [&bytes, &writeError](const QString& temporary) { return WriteBytesToFile(temporary, bytes, &writeError); },
        reason);
    if (!written && reason && !writeError.isEmpty())
        *reason = writeError;
    return written;
}

bool WriteImageSafely(const QString& path, const QImage& image, const char* format, QString* reason)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        if (reason)
            *reason = writer.errorString();
        return false;
    }
    buffer.close();
    return WriteBytesSafely(path, bytes, reason);
}
