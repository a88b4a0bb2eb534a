#include "ProgramFiles.h"
#include <QDirIterator>

namespace {
// Far above any installation, low enough that a loop of links ends soon.
const int MaxEntries = 100000;
} // namespace

namespace ProgramFiles {

QString Find(const FileIdentity& identity, const QStringList& folders, const QStringList& files)
{
    for (const QString& file : files) {
        if (FileIdentity::Of(file) == identity)
            return file;
    }
    int entries = 0;
    for (const QString& folder : folders) {
        QDirIterator walk(folder, QDir::Files | QDir::Hidden | QDir::System,
                          QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (walk.hasNext() && ++entries <= MaxEntries) {
            const QString path = walk.next();
            if (FileIdentity::Of(path) == identity)
                return path;
        }
    }
    return QString();
}

} // namespace ProgramFiles
