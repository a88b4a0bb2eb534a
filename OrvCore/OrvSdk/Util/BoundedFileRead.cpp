#include "BoundedFileRead.h"
#include "Text/CLanguageResources.h"
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A reason in the language file's words. The language file itself is read through here: before it is read, the
// system's nearest words for the same failure stand in.
QString Reason(const char* id, int nearestError)
{
    const QString text = CLanguageResources::GetMessage(QStringLiteral("BoundedFileRead"), QString::fromLatin1(id));
    return text.isEmpty() ? SystemReason(nearestError) : text;
}

// Why something that is not a regular file cannot be read as one.
QString KindReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return BoundedFileRead::FolderReason();
    if (S_ISFIFO(mode))
        return Reason("id_is_fifo", ENXIO);
    if (S_ISSOCK(mode))
        return Reason("id_is_socket", ENXIO);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Reason("id_is_device", ENXIO);
    return BoundedFileRead::NotRegularFileReason();
}

QString TooLarge(qint64 cap)
{
    return Reason("id_larger_than", EFBIG).arg(cap);
}

// The reason a path that cannot be opened or stat'ed gives; a link to nothing says so.
QString MissingReason(const QByteArray& name, int error)
{
    struct stat link;
    if (error == ENOENT && ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
        return Reason("id_broken_link", error);
    if (error == ENOENT && BoundedFileRead::NameIsUnreadable(QFile::decodeName(name)))
        return Reason("id_name_unreadable", error);
    return SystemReason(error);
}

// Opens without blocking (a FIFO would wait for a writer) and checks the kind and size on the open file, so
// what is checked is what is read. -1 with the reason on failure.
int OpenChecked(const QString& path, qint64 cap, qint64& size, QString& reason)
{
    if (path.isEmpty()) {
        reason = SystemReason(ENOENT);
        return -1;
    }
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        struct stat target;
        // A folder opens read-only on Linux, a FIFO without a writer too; what else fails says why itself.
        reason = ::stat(name.constData(), &target) == 0 && !S_ISREG(target.st_mode) ? KindReason(target.st_mode)
                                                                                    : MissingReason(name, error);
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        reason = SystemReason(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = KindReason(info.st_mode);
        ::close(fd);
        return -1;
    }
    if (info.st_size > cap) {
        reason = TooLarge(cap);
        ::close(fd);
        return -1;
    }
    size = info.st_size;
    return fd;
}

} // namespace

namespace BoundedFileRead {

QString FolderReason()
{
    return Reason("id_is_folder", EISDIR);
}

QString NotRegularFileReason()
{
    return Reason("id_is_not_regular_file", ENXIO);
}

bool NameIsUnreadable(const QString& name)
{
    return name.contains(QChar::ReplacementCharacter);
}

QString Check(const QString& path, qint64 cap)
{
    qint64 size = 0;
    QString reason;
    const int fd = OpenChecked(path, cap, size, reason);
    if (fd >= 0)
        ::close(fd);
    return reason;
}

bool Read(const QString& path, qint64 cap, QByteArray& content, QString& reason)
{
    content.clear();
    reason.clear();
    qint64 size = 0;
    const int fd = OpenChecked(path, cap, size, reason);
    if (fd < 0)
        return false;
    // Closed on every way out, a read that runs out of memory (std::bad_alloc) included.
    struct CClosed
    {
        int fd;
        ~CClosed() { ::close(fd); }
    } const closer{fd};
    // The file may grow after its size was taken: never read past the cap.
    // One byte of room past the size taken lets the end of the file show without growing the array.
    QByteArray bytes(int(qMin<qint64>(cap, size + 1)), Qt::Uninitialized);
    qint64 done = 0;
    bool failed = false;
    for (;;) {
        if (done == bytes.size()) {
            if (done >= cap)
                break;
            bytes.resize(int(qMin<qint64>(cap, done + 4096)));
        }
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0) {
            reason = SystemReason(errno);
            failed = true;
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    // One more byte beyond the cap means the file grew past it while being read.
    if (!failed && done >= cap) {
        char extra = 0;
        if (::read(fd, &extra, 1) > 0) {
            reason = TooLarge(cap);
            failed = true;
        }
    }
    if (failed)
        return false;
    bytes.truncate(int(done));
    content = bytes;
    return true;
}

} // namespace BoundedFileRead
