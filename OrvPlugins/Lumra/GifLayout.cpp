#include "GifLayout.h"

namespace GifLayout {
namespace {
constexpr qsizetype ScreenDescriptorEnd = 13; // signature (6) and screen descriptor (7)
constexpr qsizetype ImageDescriptorBytes = 9; // after the separator
constexpr uchar ExtensionIntroducer = 0x21;
constexpr uchar ImageSeparator = 0x2C;

int Byte(const QByteArray& bytes, qsizetype at)
{
    return uchar(bytes.at(at));
}

int Little16(const QByteArray& bytes, qsizetype at)
{
    return Byte(bytes, at) | (Byte(bytes, at + 1) << 8);
}

// Bytes of the colour table announced by a packed field, 0 without one.
qsizetype ColourTableBytes(int packed)
{
    return (packed & 0x80) ? 3 * (qsizetype(2) << (packed & 0x07)) : 0;
}

// Steps over a chain of data sub-blocks and its zero-length terminator; false
// when the chain runs past the bytes.
bool SkipSubBlocks(const QByteArray& bytes, qsizetype& at)
{
    while (at < bytes.size()) {
        const int length = Byte(bytes, at++);
        if (length == 0)
            return true;
        at += length;
    }
    return false;
}
} // namespace

namespace {
// Walks the records in file order: extension(start, end) for each extension, the introducer to its terminator
// included, and image(width, height) for each image descriptor within the bytes, until image returns false;
// false then. A broken structure ends the walk with true: the decoder refuses it.
template <class Extension, class Image>
bool WalkRecords(const QByteArray& bytes, Extension extension, Image image)
{
    if (bytes.size() < ScreenDescriptorEnd)
        return true;
    qsizetype at = ScreenDescriptorEnd + ColourTableBytes(Byte(bytes, 10));
    while (at < bytes.size()) {
        const qsizetype start = at;
        const int record = Byte(bytes, at++);
        if (record == ExtensionIntroducer) {
            ++at; // the extension's label
            if (!SkipSubBlocks(bytes, at))
                return true;
            extension(start, at);
        } else if (record == ImageSeparator) {
            if (at + ImageDescriptorBytes > bytes.size())
                return true;
            if (!image(Little16(bytes, at + 4), Little16(bytes, at + 6)))
                return false;
            at += ImageDescriptorBytes + ColourTableBytes(Byte(bytes, at + 8));
            ++at; // the LZW minimum code size
            if (!SkipSubBlocks(bytes, at))
                return true;
        } else {
            // The trailer (0x3B) ends the file; any other record the decoder refuses.
            return true;
        }
    }
    return true;
}

template <class Visit>
bool WalkImages(const QByteArray& bytes, Visit visit)
{
    return WalkRecords(
        bytes, [](qsizetype, qsizetype) {}, visit);
}
} // namespace

bool RastersFit(const QByteArray& bytes, int maxSide, qint64 maxPixels)
{
    qint64 pixels = 0;
    return WalkImages(bytes, [&](int width, int height) {
        if (width > maxSide || height > maxSide)
            return false;
        pixels += qint64(width) * height;
        return pixels <= maxPixels;
    });
}

FrameNeed FramesNeed(const QByteArray& bytes, int bytesPerPixel)
{
    FrameNeed need;
    if (bytes.size() < ScreenDescriptorEnd)
        return need;
    need.width = Little16(bytes, 6);
    need.height = Little16(bytes, 8);
    const qint64 frameBytes = qint64(need.width) * need.height * bytesPerPixel;
    WalkImages(bytes, [&](int, int) {
        ++need.frames;
        need.bytes += frameBytes;
        return true;
    });
    return need;
}

bool FramesFit(const QByteArray& bytes, int bytesPerPixel, qint64 maxBytes)
{
    return FramesNeed(bytes, bytesPerPixel).bytes <= maxBytes;
}

QByteArray WithoutEmptyExtensions(const QByteArray& bytes)
{
    // Introducer, label and terminator: an extension that holds no data sub-block.
    const qsizetype emptyExtension = 3;
    QByteArray kept;
    qsizetype copied = 0;
    WalkRecords(
        bytes,
        [&](qsizetype start, qsizetype end) {
            if (end - start != emptyExtension)
                return;
            kept.append(bytes.constData() + copied, start - copied);
            copied = end;
        },
        [](int, int) { return true; });
    if (copied == 0)
        return bytes;
    kept.append(bytes.constData() + copied, bytes.size() - copied);
    return kept;
}
} // namespace GifLayout
