#pragma once
#include <QByteArray>
#include <QtGlobal>

// The block structure of a GIF, walked without decoding: it tells what the
// decoder would allocate before it does. giflib sizes each image's raster from
// the image's own descriptor, not from the logical screen, and a few kilobytes
// of compressed data can fill gigabytes of it.
namespace GifLayout {
// False when an image of the file is wider or higher than maxSide pixels, or
// all images together hold more than maxPixels pixels. Only descriptors that
// lie within the bytes count; a broken structure is left to the decoder, which
// refuses it.
bool RastersFit(const QByteArray& bytes, int maxSide, qint64 maxPixels);
// False when the animation's frames, each a whole logical screen of bytesPerPixel bytes a pixel, would take more
// than maxBytes together: a large screen with many tiny images is refused before anything is decoded.
bool FramesFit(const QByteArray& bytes, int bytesPerPixel, qint64 maxBytes);

// What the animation's frames would take once decoded: the logical screen and the images counted so far.
struct FrameNeed
{
    int width = 0;
    int height = 0;
    int frames = 0;   // the images within the bytes
    qint64 bytes = 0; // frames x width x height x bytesPerPixel
};
FrameNeed FramesNeed(const QByteArray& bytes, int bytesPerPixel);

// The bytes without the extensions that hold no data sub-block (the terminator right after the label), which
// carry nothing. giflib's whole-file read takes the record after such an extension for one of its sub-blocks
// and fails, where common viewers skip the extension. Bytes without one come back as they are.
QByteArray WithoutEmptyExtensions(const QByteArray& bytes);
} // namespace GifLayout
