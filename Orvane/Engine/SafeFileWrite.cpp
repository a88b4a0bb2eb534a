#include "SafeFileWrite.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <optional>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary file in work, for the signal handler: a fixed buffer, since a handler may neither allocate
// nor lock. Empty when no temporary file exists.
char g_Temporary[4096];
std::atomic<bool> g_HandlersInstalled{false};

void RemoveTemporaryAndDie(int signal)
{
    if (g_Temporary[0] != '\0')
        ::unlink(g_Temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallHandlersOnce()
{
    if (g_HandlersInstalled.exchange(true))
        return;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current;
        // A signal the parent chose to ignore stays ignored.
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = RemoveTemporaryAndDie;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

// Holds back the stopping signals while alive, so that a temporary file is never created without the
// handler knowing its name.
class CStopSignalsHeld
{
public:
    CStopSignalsHeld()
    {
        sigset_t block;
        sigemptyset(&block);
        sigaddset(&block, SIGINT);
        sigaddset(&block, SIGTERM);
        sigaddset(&block, SIGHUP);
        ::sigprocmask(SIG_BLOCK, &block, &m_Previous);
    }
    ~CStopSignalsHeld() { ::sigprocmask(SIG_SETMASK, &m_Previous, nullptr); }
    CStopSignalsHeld(const CStopSignalsHeld&) = delete;
    CStopSignalsHeld& operator=(const CStopSignalsHeld&) = delete;

private:
    sigset_t m_Previous;
};

// Keeps the handler's copy of the temporary file's name while the file exists.
class CTemporaryRecord
{
public:
    explicit CTemporaryRecord(const QByteArray& name)
    {
        InstallHandlersOnce();
        if (size_t(name.size()) < sizeof g_Temporary) {
            const CStopSignalsHeld held;
            std::memcpy(g_Temporary, name.constData(), size_t(name.size()) + 1);
        }
    }
    ~CTemporaryRecord() { g_Temporary[0] = '\0'; }
    CTemporaryRecord(const CTemporaryRecord&) = delete;
    CTemporaryRecord& operator=(const CTemporaryRecord&) = delete;
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
QString CreateTemporaryBeside(const QString& target, QString& reason)
{
    const QString folder = QFileInfo(target).absolutePath();
    const QByteArray pattern = QFile::encodeName(folder + QStringLiteral("/.orv-XXXXXX.part"));
    QByteArray name = pattern;
    const int fd = ::mkstemps(name.data(), 5);
    if (fd < 0) {
        reason = SystemReason(errno);
        return QString();
    }
    ::close(fd);
    return QFile::decodeName(name);
}

} // namespace

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
    InstallHandlersOnce();
    std::optional<CStopSignalsHeld> held(std::in_place);
    const QString temporary = CreateTemporaryBeside(target, why);
    if (temporary.isEmpty())
        return fail(why);
    const QByteArray temporaryName = QFile::encodeName(temporary);
    const CTemporaryRecord record(temporaryName);
    held.reset();

    errno = 0;
    bool written = write(temporary);
    if (!written)
        why = errno != 0 ? SystemReason(errno) : QStringLiteral("the file could not be written");
    // mkstemps makes the file private; a replaced file keeps its own bits, a new one gets the usual ones.
    if (written) {
        mode_t mode = 0;
        if (replacing) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::chmod(temporaryName.constData(), mode) != 0) {
            why = SystemReason(errno);
            written = false;
        }
    }
    // rename replaces an existing file in one step, where QFile::rename would refuse it.
    if (written && std::rename(temporaryName.constData(), targetName.constData()) != 0) {
        why = SystemReason(errno);
        written = false;
    }
    if (!written) {
        ::unlink(temporaryName.constData());
        return fail(why);
    }
    return true;
}

bool WriteBytesSafely(const QString& path, const QByteArray& bytes, QString* reason)
{
    QString writeError;
    const bool written = WriteFileSafely(
        path,
        [&bytes, &writeError](const QString& temporary) {
            QFile file(temporary);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                writeError = file.errorString();
                return false;
            }
            const bool complete = file.write(bytes) == bytes.size() && file.flush();
            if (!complete)
                writeError = file.errorString();
            file.close();
            if (complete && file.error() != QFileDevice::NoError)
                writeError = file.errorString();
            return writeError.isEmpty();
        },
        reason);
    if (!written && reason && !writeError.isEmpty())
        *reason = writeError;
    return written;
}
