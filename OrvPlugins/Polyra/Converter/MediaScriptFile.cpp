#include "MediaScriptFile.h"
#include "Util/BoundedFileRead.h"
#include <QDir>
#include <QFileInfo>

namespace MediaScript {

QString PathIn(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral(".emi"));
}

Outcome ReadFile(const QString& path, QByteArray& bytes, QString& reason, qint64& size)
{
    bytes.clear();
    reason.clear();
    size = 0;
    const QFileInfo info(path);
    if (!info.exists() || (info.isFile() && !info.isReadable()))
        return Absent;
    if (info.isFile() && info.size() > MaxBytes) {
        size = info.size();
        return Refused;
    }
    // The check is made again on the file opened, which may have changed since.
    if (BoundedFileRead::Read(path, MaxBytes, bytes, reason))
        return Read;
    return Refused;
}

} // namespace MediaScript
