#include "Import/PictureImport.h"
#include "Util/BoundedFileRead.h"

#include "Documents/CDocumentPicture.h"
#include "Documents/NormalisePicture.h"
#include "Import/CImporterBase.h"
#include "Util/AllocationFailure.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

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

// The toolkit's reader refuses, as unreadable, a picture whose pixels would take more than its allocation limit
// at four bytes each. Its header says so before anything is decoded, so such a picture is refused for its size.
bool HeaderTooLargeToDecode(const QSize& size)
{
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    return limit > 0 && size.isValid() && qint64(size.width()) * size.height() * 4 > limit;
}

// The reader may leave pixels unwritten and call the picture read: an OS/2 bitmap whose colour table runs past the
// start of its pixels ends before its last rows. It decodes into a picture it is handed when that already has the
// file's size and format, so it is handed one filled with index (or colour) 0: pixels the file does not give are
// the same in every run.
void PrepareFilled(QImage& picture, const QSize& size, QImage::Format format)
{
    if (!size.isValid() || size.isEmpty() || format == QImage::Format_Invalid)
        return;
    // Within the reader's allocation limit: a null picture is memory that is lacking.
    picture = AllocationFailure::Checked(QImage(size, format));
    picture.fill(0);
}

Result Decode(const QByteArray& bytes, QImage& picture, QSize* size)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize header = reader.size();
    if (HeaderTooLargeToDecode(header)) {
        if (size)
            *size = header;
        return TooLargeToDecode;
    }
    PrepareFilled(picture, header, reader.imageFormat());
    const bool loaded = reader.read(&picture);
    if (!loaded)
        picture = QImage();
    // The reader says "unreadable" also when it lacked the memory for the pixels: a picture whose header was read
    // is called unreadable only while room for it twice over (its pixels and the decoder's) can still be had.
    if (!loaded && header.isValid())
        AllocationFailure::RequireRoomFor(qint64(header.width()) * header.height() * 4 * 2);
    return Normalised(loaded, picture);
}
} // namespace

Result LoadFromData(const QByteArray& bytes, QImage& picture, QSize* size)
{
    picture = QImage();
    if (bytes.isEmpty())
        return LoadFailed;
    return Decode(bytes, picture, size);
}

Result LoadFromFile(const QString& path, QImage& picture, QString* reason, QSize* size)
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
    return Decode(bytes, picture, size);
}
} // namespace PictureImport

// Here rather than with the rest of the frame, so that importers of other documents do not link the picture
// code (and the toolkit's picture library) into their modules.
CDocument* CImporterBase::ImportPicture(const QByteArray& bytes, PictureImport::Result* result)
{
    QImage picture;
    QSize size;
    const PictureImport::Result loaded = PictureImport::LoadFromData(bytes, picture, &size);
    if (result)
        *result = loaded;
    if (loaded == PictureImport::TooLargeToDecode) {
        ReportMessage(PictureTooLargeId, QString::number(size.width()), QString::number(size.height()));
        return nullptr;
    }
    return DocumentOrFailure(loaded == PictureImport::Loaded ? new CDocumentPicture(picture) : nullptr);
}
