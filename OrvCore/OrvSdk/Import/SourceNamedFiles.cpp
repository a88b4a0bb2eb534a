#include "Import/SourceNamedFiles.h"
#include "Util/BoundedFileRead.h"
#include <QDir>
#include <QFileInfo>

namespace SourceNamedFiles {

QByteArray ReadSource(const QString& sourcePath, qint64 byteLimit)
{
    QByteArray bytes;
    QString reason;
    BoundedFileRead::Read(sourcePath, byteLimit, bytes, reason);
    return bytes;
}

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
