#pragma once
// The picture body of the maker's picture and animation files: a monochrome
// picture at 1 bit per pixel, or four greys at 2 bits per pixel with an
// optional 1-bit transparency mask. Pixels go in bands of eight rows; the
// 1-bit pixels column by column, the 2-bit pixels band by band.
#include <QByteArray>
#include <QImage>

namespace PictureBody {
enum Mode
{
    Monochrome,
    Grey
};

// Sides are 1..255: they are written in one byte each.
const int MaxSide = 255;

int Bands(int height);
// Bytes of one body; a mask counts only in grey mode.
int Size(Mode mode, bool withMask, int width, int height);
int Size(Mode mode, bool withMask, const QSize& size);

// `bits` is an 8-bit indexed picture whose index is the bit (odd counts as 1).
// Appends width, height and the pixels.
void AppendMonochrome(const QImage& bits, QByteArray& out);
// `greys` holds indices 0..3; `mask`, when not null, is a bits picture of the
// same size whose 1 marks an opaque pixel.
void AppendGrey(const QImage& greys, const QImage* mask, QByteArray& out);
// The 1-bit pixels alone, column by column, the top pixel of a band in bit 7.
void AppendBitColumns(const QImage& bits, QByteArray& out);
} // namespace PictureBody
