#include "Import/PictureImport.h"
#include "Util/BoundedFileRead.h"

#include "Documents/NormalisePicture.h"

#include <QFileInfo>

namespace PictureImport
{
namespace
{
Result Normalised(bool loaded, QImage& picture)
{
    if (!loaded)
        return LoadFailed;
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return EmptyPicture;
    picture = NormalisePicture(picture);
    return picture.isNull() ? LoadFailed : Loaded;
}
} // namespace

Result LoadFromData(const QByteArray& bytes, QImage& picture)
{
    picture = QImage();
    if (bytes.isEmpty())
        return LoadFailed;
    return Normalised(picture.loadFromData(bytes), picture);
}

Result LoadFromFile(const QString& path, QImage& picture)
{
    picture = QImage();
    // A picture named by an animation description or an e-card is read within the media sources' cap, so a
    // FIFO or a device cannot block the import and a huge file is refused unread.
    QByteArray bytes;
    QString reason;
    if (!BoundedFileRead::Read(path, FileLimits::MaxMediaSourceBytes, bytes, reason))
        return NotAFile;
    return Normalised(picture.loadFromData(bytes), picture);
}
} // namespace PictureImport
