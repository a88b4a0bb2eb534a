#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures decoded by the toolkit's reader for the importers, normalised once
// (NormalisePicture) so that every converter sees mono, Indexed8, RGB32 or ARGB32.
namespace PictureImport {
enum Result
{
    Loaded,
    LoadFailed,      // the reader did not recognise or could not decode the bytes
    EmptyPicture,    // decoded, but without pixels
    NotAFile,        // the path names no regular file
    TooLargeToDecode // the header gives a size whose pixels the reader would refuse to allocate
};

// Decodes the bytes, whatever picture format they hold. The size in the header is read first: a picture whose
// pixels would take more than the reader's allocation limit is TooLargeToDecode, undecoded, with that size in `size`
// (when given).
Result LoadFromData(const QByteArray& bytes, QImage& picture, QSize* size = nullptr);

// Decodes the regular file at `path` (relative paths start at the current folder).
// Devices, pipes and folders are refused without being opened; `reason` (when
// given) then says why in the words of BoundedFileRead. `size` as for LoadFromData.
Result LoadFromFile(const QString& path, QImage& picture, QString* reason = nullptr, QSize* size = nullptr);
} // namespace PictureImport
