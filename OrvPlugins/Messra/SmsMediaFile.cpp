#include "SmsMediaFile.h"
#include "Text/ShownName.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SmsMediaFile {
bool Read(const QString& path, qint64 maxSize, QByteArray& content, QString& messages)
{
    content.clear();
    maxSize = qMax<qint64>(maxSize, 0);
    QFile file(path);
    // A folder or a device is no media file, and opening it could block or succeed emptily.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        messages += QStringLiteral("Can't open file: ") + ShowName(path) + QLatin1Char('\n');
        return false;
    }
    const auto tooBig = [&]() {
        messages += QStringLiteral("File ") + ShowName(path) + QStringLiteral(" too big!\n");
        messages += QStringLiteral("Max Size = %1 Bytes\n").arg(maxSize);
    };
    const qint64 expected = file.size();
    if (expected > maxSize) {
        tooBig();
        return false;
    }
    // One octet more than expected tells a file that changed since its size was taken.
    content = file.read(expected + 1);
    if (file.error() != QFileDevice::NoError || content.size() != expected) {
        content.clear();
        messages += QStringLiteral("Error while reading: ") + ShowName(path) + QLatin1Char('\n');
        return false;
    }
    return true;
}
} // namespace SmsMediaFile
