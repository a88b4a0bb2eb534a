#include "Picture/BlendOverWhite.h"

namespace {
// One channel over white, rounded to the nearest level: an opaque channel
// keeps its value, a transparent one is 255.
inline int ChannelOverWhite(int channel, int alpha)
{
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

inline QRgb ColourOverWhite(QRgb colour)
{
    const int alpha = qAlpha(colour);
    if (alpha == 255)
        return colour;
    return qRgb(ChannelOverWhite(qRed(colour), alpha), ChannelOverWhite(qGreen(colour), alpha),
                ChannelOverWhite(qBlue(colour), alpha));
}
} // namespace

QImage BlendOverWhite(const QImage& picture)
{
    if (picture.isNull() || !picture.hasAlphaChannel())
        return picture;
    if (picture.colorCount() > 0) {
        QImage opaque = picture;
        QList<QRgb> table = opaque.colorTable();
        for (QRgb& colour : table)
            colour = ColourOverWhite(colour);
        opaque.setColorTable(table);
        return opaque;
    }
    // Not premultiplied, so each channel keeps its full precision.
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage opaque(source.size(), QImage::Format_RGB32);
    if (source.isNull() || opaque.isNull())
        return QImage();
    opaque.setDotsPerMeterX(picture.dotsPerMeterX());
    opaque.setDotsPerMeterY(picture.dotsPerMeterY());
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = ColourOverWhite(from[x]);
    }
    return opaque;
}
