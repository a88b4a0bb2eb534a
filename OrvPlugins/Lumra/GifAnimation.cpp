#include "GifAnimation.h"

#include "GifRaster.h"

#include <algorithm>

GifControl ReadGifControl(const SavedImage& image)
{
    GifControl control;
    for (int i = 0; i < image.ExtensionBlockCount && image.ExtensionBlocks; ++i) {
        const ExtensionBlock& block = image.ExtensionBlocks[i];
        if (block.Function != GRAPHICS_EXT_FUNC_CODE)
            continue;
        if (block.ByteCount < 4 || !block.Bytes)
            return control;
        const GifByteType* bytes = block.Bytes;
        const int delay = bytes[1] | (bytes[2] << 8);
        control.present = true;
        control.displayTime = delay == 0 ? 106 : delay * 10;
        control.transparent = (bytes[0] & 0x01) ? bytes[3] : -1;
        control.disposal = (bytes[0] >> 2) & 0x07;
        return control;
    }
    return control;
}

namespace {
bool AnyLocalColourMap(const GifFileType& gif)
{
    for (int i = 0; i < gif.ImageCount; ++i)
        if (gif.SavedImages[i].ImageDesc.ColorMap)
            return true;
    return false;
}

// A colour map's colours padded to all 256 indexes with opaque black.
QVector<QRgb> FullColourTable(const ColorMapObject* map)
{
    QVector<QRgb> table = GifRaster::ColourTable(map);
    while (table.size() < 256)
        table.append(qRgb(0, 0, 0));
    return table;
}
} // namespace

CGifAnimator::Result CGifAnimator::Compose(const GifFileType& gif, QList<GifFrame>& frames)
{
    frames.clear();
    if (gif.ImageCount < 1 || !gif.SavedImages)
        return NoColourMap;
    for (int i = 0; i < gif.ImageCount; ++i)
        if (!GifRaster::ColourMapOf(gif, gif.SavedImages[i]))
            return NoColourMap;

    const bool indexed = !AnyLocalColourMap(gif);
    const qint64 lineBytes = indexed ? (qint64(gif.SWidth) + 3) / 4 * 4 : qint64(gif.SWidth) * 4;
    if (lineBytes * gif.SHeight * gif.ImageCount > MaxFrameBytes)
        return TooLarge;

    const int backgroundIndex = gif.SBackGroundColor & 0xFF;
    const QVector<QRgb> globalColours = FullColourTable(gif.SColorMap);
    const uint background = indexed ? uint(backgroundIndex) : uint(globalColours[backgroundIndex]);

    QImage canvas(gif.SWidth, gif.SHeight, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (canvas.isNull())
        return TooLarge;
    if (indexed)
        canvas.setColorTable(GifRaster::ColourTable(gif.SColorMap));
    canvas.fill(background);

    int transparent = -1;
    int disposal = 0;
    int largest = -1;
    for (int i = 0; i < gif.ImageCount; ++i) {
        const SavedImage& image = gif.SavedImages[i];
        const GifControl control = ReadGifControl(image);
        // Without its own control block an image keeps the previous one's
        // transparency and disposal.
        if (control.present) {
            transparent = control.transparent;
            disposal = control.disposal;
        }
        QImage before;
        if (disposal == 3)
            before = canvas;
        int placed;
        if (indexed)
            placed = GifRaster::PlaceRaster(canvas, image, transparent);
        else
            placed =
                GifRaster::PlaceRaster(canvas, image, transparent, FullColourTable(GifRaster::ColourMapOf(gif, image)));
        largest = std::max(largest, placed);
        // The frame shares the canvas's pixels until the canvas next changes.
        frames.append(GifFrame{canvas, control.displayTime});

        if (disposal == 2)
            GifRaster::FillImageArea(canvas, image, background);
        else if (disposal == 3)
            canvas = before;
    }

    if (indexed) {
        // Every pixel holds a placed index, each shown in the frame made right after
        // it, or the background's, which counts only where some frame shows it.
        if (backgroundIndex > largest) {
            for (const GifFrame& frame : frames) {
                if (GifRaster::ContainsIndex(frame.image, backgroundIndex)) {
                    largest = backgroundIndex;
                    break;
                }
            }
        }
        for (GifFrame& frame : frames)
            GifRaster::PadColourTable(frame.image, largest);
    }
    return Composed;
}
