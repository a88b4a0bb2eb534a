#include "Picture/PictureBody.h"

#include <algorithm>

namespace {
const int kBandRows = 8;

void AppendByte(QByteArray& out, int value)
{
    out.append(static_cast<char>(static_cast<uchar>(value)));
}
} // namespace

int PictureBody::Bands(int height)
{
    return (height + kBandRows - 1) / kBandRows;
}

int PictureBody::Size(Mode mode, bool withMask, int width, int height)
{
    const int plane = width * Bands(height);
    if (mode == Monochrome)
        return plane + 2;
    return (withMask ? 3 : 2) * plane + 4;
}

int PictureBody::Size(Mode mode, bool withMask, const QSize& size)
{
    return Size(mode, withMask, size.width(), size.height());
}

void PictureBody::AppendBitColumns(const QImage& bits, QByteArray& out)
{
    const int width = bits.width();
    const int height = bits.height();
    const int bands = Bands(height);
    const int start = out.size();
    out.resize(start + width * bands);
    uchar* bytes = reinterpret_cast<uchar*>(out.data()) + start;
    std::fill(bytes, bytes + width * bands, uchar(0));
    // Row by row, so that each scan line is read once.
    for (int y = 0; y < height; ++y) {
        const uchar* row = bits.constScanLine(y);
        const int band = y / kBandRows;
        const uchar bit = static_cast<uchar>(0x80u >> (y % kBandRows));
        for (int x = 0; x < width; ++x)
            if (row[x] & 1u)
                bytes[x * bands + band] |= bit;
    }
}

void PictureBody::AppendMonochrome(const QImage& bits, QByteArray& out)
{
    AppendByte(out, bits.width());
    AppendByte(out, bits.height());
    AppendBitColumns(bits, out);
}

void PictureBody::AppendGrey(const QImage& greys, const QImage* mask, QByteArray& out)
{
    const int width = greys.width();
    const int height = greys.height();
    AppendByte(out, 0);
    // The flag says whether the mask is absent.
    AppendByte(out, mask ? 0 : 1);
    AppendByte(out, width);
    AppendByte(out, height);
    if (mask)
        AppendBitColumns(*mask, out);

    const int bands = Bands(height);
    const int start = out.size();
    out.resize(start + 2 * width * bands);
    uchar* bytes = reinterpret_cast<uchar*>(out.data()) + start;
    std::fill(bytes, bytes + 2 * width * bands, uchar(0));
    for (int y = 0; y < height; ++y) {
        const uchar* row = greys.constScanLine(y);
        const int band = y / kBandRows;
        const unsigned shift = 14u - 2u * static_cast<unsigned>(y % kBandRows);
        uchar* word = bytes + 2 * width * band;
        for (int x = 0; x < width; ++x) {
            const unsigned value = (row[x] & 3u) << shift;
            word[2 * x] |= static_cast<uchar>(value & 0xFFu);
            word[2 * x + 1] |= static_cast<uchar>(value >> 8);
        }
    }
}
