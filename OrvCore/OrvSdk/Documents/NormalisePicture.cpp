#include "Documents/NormalisePicture.h"

#include "Util/AllocationFailure.h"

#include <cstring>

namespace {
QImage GreyToIndexed8(const QImage& image)
{
    const QImage grey = image.format() == QImage::Format_Grayscale8
                            ? image
                            : AllocationFailure::Checked(image.convertToFormat(QImage::Format_Grayscale8));
    QImage indexed(grey.size(), QImage::Format_Indexed8);
    AllocationFailure::Checked(indexed);
    QList<QRgb> table;
    table.reserve(256);
    for (int level = 0; level < 256; ++level)
        table.append(qRgb(level, level, level));
    indexed.setColorTable(table);
    for (int y = 0; y < grey.height(); ++y)
        std::memcpy(indexed.scanLine(y), grey.constScanLine(y), size_t(grey.width()));
    indexed.setDotsPerMeterX(image.dotsPerMeterX());
    indexed.setDotsPerMeterY(image.dotsPerMeterY());
    return indexed;
}
} // namespace

QImage NormalisePicture(const QImage& image)
{
    if (image.isNull())
        return QImage();
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB32:
        return image;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return GreyToIndexed8(image);
    default:
        // A picture that was not null comes out null only for want of memory.
        return AllocationFailure::Checked(
            image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32));
    }
}
