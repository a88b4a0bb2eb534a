#include "SafeFileWrite.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The signals that end a run from outside: Ctrl+C, a kill, a closed terminal.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kStopSignalCount = int(sizeof kStopSignals / sizeof kStopSignals[0]);

// The temporary file in work, for the signal handler: a fixed buffer, since a handler may neither allocate
// nor lock. Empty when no temporary file exists.
char g_Temporary[4096];
// What each stopping signal did before a write took it over, put back when the write ends or the signal comes.
struct sigaction g_Previous[kStopSignalCount];
bool g_Taken[kStopSignalCount];

void RemoveTemporaryAndStop(int signal)
{
    if (g_Temporary[0] != '\0')
        ::unlink(g_Temporary);
    g_Temporary[0] = '\0';
    for (int i = 0; i < kStopSignalCount; ++i) {
        if (kStopSignals[i] == signal && g_Taken[i]) {
            ::sigaction(signal, &g_Previous[i], nullptr);
            g_Taken[i] = false;
        }
    }
    // Delivered once this handler returns, to whatever the signal did before: the default ends the run.
    std::raise(signal);
}

// Takes the stopping signals over for the life of one write only. The program and every plug-in carry their own
// copy of this code, and a plug-in's copy goes when the plug-in is unloaded: a handler left installed after the
// write could be one whose code is gone, and would hide the temporary file of another copy's write.
class CStopHandlers
{
public:
    CStopHandlers()
    {
        for (int i = 0; i < kStopSignalCount; ++i) {
            g_Taken[i] = false;
            // A signal the parent chose to ignore stays ignored.
            if (::sigaction(kStopSignals[i], nullptr, &g_Previous[i]) != 0 || g_Previous[i].sa_handler == SIG_IGN)
                continue;
            struct sigaction action;
            std::memset(&action, 0, sizeof action);
            action.sa_handler = RemoveTemporaryAndStop;
            sigemptyset(&action.sa_mask);
            g_Taken[i] = ::sigaction(kStopSignals[i], &action, nullptr) == 0;
        }
    }
    ~CStopHandlers()
    {
        for (int i = 0; i < kStopSignalCount; ++i) {
            if (g_Taken[i])
                ::sigaction(kStopSignals[i], &g_Previous[i], nullptr);
            g_Taken[i] = false;
        }
    }
    CStopHandlers(const CStopHandlers&) = delete;
    CStopHandlers& operator=(const CStopHandlers&) = delete;
};

// Holds back the stopping signals while alive, so that a temporary file is never created without the
// handler knowing its name.
class CStopSignalsHeld
{
public:
    CStopSignalsHeld()
    {
        sigset_t block;
        sigemptyset(&block);
        for (const int signal : kStopSignals)
            sigaddset(&block, signal);
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
        if (size_t(name.size()) < sizeof g_Temporary)
            std::memcpy(g_Temporary, name.constData(), size_t(name.size()) + 1);
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
    // A stop between creating the temporary file and recording its name would leave it behind. The handlers
    // are put back (under the same hold) before the record goes, so none runs with a stale name.
    std::optional<CStopSignalsHeld> held(std::in_place);
    std::optional<CStopHandlers> handlers(std::in_place);
    const QString temporary = CreateTemporaryBeside(target, why);
    if (temporary.isEmpty())
        return fail(why);
    const QByteArray temporaryName = QFile::encodeName(temporary);
    const CTemporaryRecord record(temporaryName);
    held.reset();
    const auto release = qScopeGuard([&handlers] {
        const CStopSignalsHeld hold;
        handlers.reset();
    });

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
