#include "Util/FileIdentity.h"
#include <QFile>
#include <sys/stat.h>

namespace {
FileIdentity IdentityOf(const struct stat& info)
{
    FileIdentity identity;
    identity.device = uint64_t(info.st_dev);
    identity.inode = uint64_t(info.st_ino);
    return identity;
}
} // namespace

std::optional<FileIdentity> FileIdentity::Of(const QString& path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}

std::optional<FileIdentity> FileIdentity::OfOpenFile(int fd)
{
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}
