#pragma once
// One picture to one picture body, as the picture and animation exporters
// write it, with the preview the phone would show.
#include "Picture/PictureBody.h"

#include <QByteArray>
#include <QImage>

namespace PicturePacking {
enum Result
{
    Packed,
    EmptyPicture, // the picture, or its conversion, is null
    NoMask        // the transparency mask could not be made
};

struct Output
{
    QByteArray body;
    QImage preview;
};

// The picture as the exporters judge it: over the white of the screen, and
// an all-grey picture as 8-bit indexed without dithering, its palette the
// greys it uses (null on failure).
QImage Prepare(const QImage& picture);
// An all-grey picture of exactly two colours: written monochrome whatever
// grey output is asked for.
bool IsTwoColourGrey(const QImage& prepared);

// Monochrome: 1 bit per pixel, dithered; the preview shows the dark pixels
// black and the light ones in `previewLight`.
Result PackMonochrome(const QImage& picture, QRgb previewLight, Output& out);
// Four greys, with the transparency mask when asked for.
Result PackGrey(const QImage& picture, bool withMask, Output& out);
} // namespace PicturePacking
