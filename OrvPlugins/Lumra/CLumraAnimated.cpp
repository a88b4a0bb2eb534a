#include "CLumraAnimated.h"

#include "GifAnimation.h"
#include "GifImport.h"
#include "GifRaster.h"

#include "Documents/CDocumentAnimation.h"

CDocument* CLumraAnimated::Import(const QByteArray& rawData)
{
    GifLayout::FrameNeed oversized;
    CDocumentAnimation* animation = ImportGifAnimation(rawData, &oversized);
    // A readable file whose frames are only too many or too large says so, with the numbers.
    if (!animation && oversized.frames > 0) {
        ReportMessage("id_frames_too_large", QString::number(oversized.frames), QString::number(oversized.width),
                      QString::number(oversized.height),
                      QString::number(ImportLimits::MegabytesRoundedUp(oversized.bytes)),
                      QString::number(ImportLimits::MegabytesRoundedUp(CGifAnimator::MaxFrameBytes)));
        return nullptr;
    }
    return DocumentOrFailure(animation);
}

void CLumraAnimated::ComposeFrame(QImage& canvas, const QImage& image, const QImage&, int left, int top, int width,
                                  int height, int, int transparent, int)
{
    if (image.format() != QImage::Format_Indexed8 || width <= 0 || height <= 0 || width > image.width()
        || height > image.height())
        return;
    // The image's indexes in rows of `width` bytes, as giflib holds a raster.
    QByteArray raster;
    raster.reserve(qsizetype(width) * height);
    for (int y = 0; y < height; ++y)
        raster.append(reinterpret_cast<const char*>(image.constScanLine(y)), width);
    SavedImage saved = {};
    saved.ImageDesc.Left = left;
    saved.ImageDesc.Top = top;
    saved.ImageDesc.Width = width;
    saved.ImageDesc.Height = height;
    saved.RasterBits = reinterpret_cast<GifByteType*>(raster.data());
    QVector<QRgb> colours = image.colorTable();
    if (canvas.format() == QImage::Format_Indexed8) {
        canvas.setColorTable(colours);
        colours.clear();
    } else {
        while (colours.size() < 256)
            colours.append(qRgb(0, 0, 0));
    }
    GifRaster::PlaceRaster(canvas, saved, transparent, colours);
}
