#include "GifRaster.h"

#include "Util/AllocationFailure.h"

#include <algorithm>
#include <cstring>

namespace GifRaster {
namespace {
// The part of the image's rectangle that lies on the canvas, in image coordinates.
struct ClipRect
{
    int firstColumn = 0, lastColumn = 0; // [first, last)
    int firstRow = 0, lastRow = 0;
    bool IsEmpty() const { return firstColumn >= lastColumn || firstRow >= lastRow; }
};

ClipRect Clip(const QImage& canvas, const GifImageDesc& desc)
{
    ClipRect clip;
    clip.firstColumn = std::max(0, -desc.Left);
    clip.firstRow = std::max(0, -desc.Top);
    clip.lastColumn = int(std::clamp<qint64>(qint64(canvas.width()) - desc.Left, 0, desc.Width));
    clip.lastRow = int(std::clamp<qint64>(qint64(canvas.height()) - desc.Top, 0, desc.Height));
    return clip;
}
} // namespace

QVector<QRgb> ColourTable(const ColorMapObject* map)
{
    QVector<QRgb> table;
    if (!map || !map->Colors || map->ColorCount <= 0)
        return table;
    const int count = std::min(map->ColorCount, 256);
    table.reserve(count);
    for (int i = 0; i < count; ++i)
        table.append(qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue));
    return table;
}

const ColorMapObject* ColourMapOf(const GifFileType& gif, const SavedImage& image)
{
    if (image.ImageDesc.ColorMap && image.ImageDesc.ColorMap->Colors)
        return image.ImageDesc.ColorMap;
    if (gif.SColorMap && gif.SColorMap->Colors)
        return gif.SColorMap;
    return nullptr;
}

bool ContainsIndex(const QImage& picture, int index)
{
    if (index < 0 || index > 255 || picture.width() <= 0)
        return false;
    for (int y = 0; y < picture.height(); ++y)
        if (std::memchr(picture.constScanLine(y), index, size_t(picture.width())))
            return true;
    return false;
}

bool RasterHolds(const SavedImage& image, int index)
{
    const GifImageDesc& desc = image.ImageDesc;
    if (index < 0 || index > 255 || !image.RasterBits || desc.Width <= 0 || desc.Height <= 0)
        return false;
    return std::memchr(image.RasterBits, index, size_t(desc.Width) * size_t(desc.Height)) != nullptr;
}

void PadColourTable(QImage& picture, int largestIndex)
{
    QVector<QRgb> table = picture.colorTable();
    if (largestIndex < table.size())
        return;
    while (table.size() <= largestIndex)
        table.append(qRgb(0, 0, 0));
    picture.setColorTable(table);
}

int PlaceRaster(QImage& canvas, const SavedImage& image, int transparent, const QVector<QRgb>& colours)
{
    int largest = -1;
    const GifImageDesc& desc = image.ImageDesc;
    if (!image.RasterBits || desc.Width <= 0 || desc.Height <= 0)
        return largest;
    const ClipRect clip = Clip(canvas, desc);
    if (clip.IsEmpty())
        return largest;
    const bool indexed = canvas.format() == QImage::Format_Indexed8;
    if (!indexed && colours.size() < 256)
        return largest;
    // A canvas whose pixels a frame shares is copied here: a copy that cannot be made fails the import.
    uchar* const bits = AllocationFailure::WritableBits(canvas);
    for (int y = clip.firstRow; y < clip.lastRow; ++y) {
        const GifByteType* source = image.RasterBits + qsizetype(y) * desc.Width;
        uchar* line = bits + qsizetype(desc.Top + y) * canvas.bytesPerLine();
        for (int x = clip.firstColumn; x < clip.lastColumn; ++x) {
            const int index = source[x];
            if (index == transparent)
                continue;
            largest = std::max(largest, index);
            if (indexed)
                line[desc.Left + x] = uchar(index);
            else
                reinterpret_cast<QRgb*>(line)[desc.Left + x] = colours[index];
        }
    }
    return largest;
}

void FillImageArea(QImage& canvas, const SavedImage& image, uint fill)
{
    const ClipRect clip = Clip(canvas, image.ImageDesc);
    if (clip.IsEmpty())
        return;
    const bool indexed = canvas.format() == QImage::Format_Indexed8;
    uchar* const bits = AllocationFailure::WritableBits(canvas);
    for (int y = clip.firstRow; y < clip.lastRow; ++y) {
        uchar* line = bits + qsizetype(image.ImageDesc.Top + y) * canvas.bytesPerLine();
        const int from = image.ImageDesc.Left + clip.firstColumn;
        const int to = image.ImageDesc.Left + clip.lastColumn;
        if (indexed)
            std::fill(line + from, line + to, uchar(fill));
        else
            std::fill(reinterpret_cast<QRgb*>(line) + from, reinterpret_cast<QRgb*>(line) + to, QRgb(fill));
    }
}
} // namespace GifRaster
