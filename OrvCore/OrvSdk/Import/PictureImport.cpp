#include "Import/PictureImport.h"
#include "Util/BoundedFileRead.h"

#include "Documents/CDocumentPicture.h"
#include "Documents/NormalisePicture.h"
#include "Import/CImporterBase.h"

#include <QFileInfo>

namespace PictureImport {
namespace {
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

Result LoadFromFile(const QString& path, QImage& picture, QString* reason)
{
    picture = QImage();
    // A picture named by an animation description or an e-card is read within the media sources' cap, so a
    // FIFO or a device cannot block the import and a huge file is refused unread.
    QByteArray bytes;
    QString why;
    if (!BoundedFileRead::Read(path, FileLimits::MaxMediaSourceBytes, bytes, why)) {
        if (reason)
            *reason = why;
        return NotAFile;
    }
    return Normalised(picture.loadFromData(bytes), picture);
}
} // namespace PictureImport

// Here rather than with the rest of the frame, so that importers of other documents do not link the picture
// code (and the toolkit's picture library) into their modules.
CDocument* CImporterBase::ImportPicture(const QByteArray& bytes, PictureImport::Result* result)
{
    QImage picture;
    const PictureImport::Result loaded = PictureImport::LoadFromData(bytes, picture);
    if (result)
        *result = loaded;
    return DocumentOrFailure(loaded == PictureImport::Loaded ? new CDocumentPicture(picture) : nullptr);
}
