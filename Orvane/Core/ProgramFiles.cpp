#include "ProgramFiles.h"
#include "Host/LibrariesNeeded.h"
#include <QDirIterator>
#include <QFile>
#include <sys/sysmacros.h>

namespace {
// Far above any installation, low enough that a loop of links ends soon.
const int MaxEntries = 100000;

// The first file of the kinds in the trees of folders that is identity; empty when none is.
QString Walk(const FileIdentity& identity, const QStringList& folders, QDir::Filters kinds)
{
    int entries = 0;
    for (const QString& folder : folders) {
        QDirIterator walk(folder, kinds | QDir::Hidden | QDir::System,
                          QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (walk.hasNext() && ++entries <= MaxEntries) {
            const QString path = walk.next();
            if (FileIdentity::Of(path) == identity)
                return path;
        }
    }
    return QString();
}
} // namespace

namespace ProgramFiles {

QString Find(const FileIdentity& identity, const QStringList& folders, const QStringList& files)
{
    for (const QString& file : files) {
        if (FileIdentity::Of(file) == identity)
            return file;
    }
    return Walk(identity, folders, QDir::Files);
}

QString FolderHolding(const FileIdentity& identity, const QStringList& folders)
{
    for (const QString& folder : folders) {
        if (!Walk(identity, {folder}, QDir::Files).isEmpty())
            return folder;
    }
    return QString();
}

QString FindExecutable(const FileIdentity& identity, const QString& folder)
{
    // Only executable files are listed: an executable the walk meets under another name is the same file.
    return Walk(identity, {folder}, QDir::Files | QDir::Executable);
}

QString FindMapped(const FileIdentity& identity)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return QString();
    QString previous;
    // The system's listing has no size of its own: it is read to its end. Each line: address, permissions,
    // offset, device "major:minor" in hex, inode, then the path of a file.
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        QList<QByteArray> parts;
        for (const QByteArray& field : fields) {
            if (!field.isEmpty())
                parts.append(field);
        }
        if (parts.size() < 6 || !parts.at(5).startsWith('/'))
            continue;
        const QList<QByteArray> device = parts.at(3).split(':');
        bool majorRead = false;
        bool minorRead = false;
        bool inodeRead = false;
        const unsigned major = device.size() == 2 ? device.at(0).toUInt(&majorRead, 16) : 0;
        const unsigned minor = device.size() == 2 ? device.at(1).toUInt(&minorRead, 16) : 0;
        const quint64 inode = parts.at(4).toULongLong(&inodeRead, 10);
        // A path with blanks comes in several fields; " (deleted)" ends a file removed since.
        const QString path = QString::fromLocal8Bit(parts.mid(5).join(' '));
        const bool listed = majorRead && minorRead && inodeRead && inode != 0
                            && FileIdentity{uint64_t(makedev(major, minor)), uint64_t(inode)} == identity;
        // A file's mappings follow one another: it is looked up once.
        if (listed || (path != previous && FileIdentity::Of(path) == identity))
            return path;
        previous = path;
    }
    return QString();
}

QString FindNeeded(const FileIdentity& identity, const QStringList& modules)
{
    for (const QString& module : modules) {
        if (LibrariesNeeded::IsLoaded(module))
            continue;
        for (const QString& library : LibrariesNeeded::Of(module)) {
            if (FileIdentity::Of(library) == identity)
                return library;
        }
    }
    return QString();
}

} // namespace ProgramFiles
