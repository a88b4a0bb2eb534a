#include "Import/SourceNamedFiles.h"
#include <QDir>
#include <QFileInfo>

namespace SourceNamedFiles {

QString FolderOf(const QString& sourcePath)
{
    return QFileInfo(sourcePath).absolutePath();
}

QString PathIn(const QString& folder, const QString& name)
{
    if (QDir::isRelativePath(name))
        return folder + QLatin1Char('/') + name;
    return name;
}

} // namespace SourceNamedFiles
