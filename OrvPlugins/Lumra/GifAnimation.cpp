#include "GifAnimation.h"

#include "GifRaster.h"

#include "Util/AllocationFailure.h"

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

// What each image goes by: an image without its own control block keeps the
// previous one's transparency and disposal.
QVector<GifControl> ControlsInForce(const GifFileType& gif)
{
    QVector<GifControl> controls;
    GifControl inForce;
    for (int i = 0; i < gif.ImageCount; ++i) {
        GifControl control = ReadGifControl(gif.SavedImages[i]);
        if (control.present) {
            inForce.transparent = control.transparent;
            inForce.disposal = control.disposal;
        }
        control.transparent = inForce.transparent;
        control.disposal = inForce.disposal;
        controls.append(control);
    }
    return controls;
}

// Whether some image shows its transparent index, so that the screen can show through.
bool ShowsTransparency(const GifFileType& gif, const QVector<GifControl>& controls)
{
    for (int i = 0; i < gif.ImageCount; ++i)
        if (GifRaster::RasterHolds(gif.SavedImages[i], controls.at(i).transparent))
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

    const QVector<GifControl> controls = ControlsInForce(gif);
    // Where an image shows its transparent index, the screen shows through: it
    // is see-through, as viewers show it, rather than the background colour.
    const bool seeThrough = ShowsTransparency(gif, controls);
    const bool indexed = !seeThrough && !AnyLocalColourMap(gif);
    const qint64 lineBytes = indexed ? (qint64(gif.SWidth) + 3) / 4 * 4 : qint64(gif.SWidth) * 4;
    if (lineBytes * gif.SHeight * gif.ImageCount > MaxFrameBytes)
        return TooLarge;

    const int backgroundIndex = gif.SBackGroundColor & 0xFF;
    const QVector<QRgb> globalColours = FullColourTable(gif.SColorMap);
    uint background = uint(backgroundIndex);
    QImage::Format format = QImage::Format_Indexed8;
    if (seeThrough) {
        background = qRgba(0, 0, 0, 0);
        format = QImage::Format_ARGB32;
    } else if (!indexed) {
        background = globalColours[backgroundIndex];
        format = QImage::Format_RGB32;
    }

    // Its size is within the frames' bound: a null canvas is memory that is lacking.
    QImage canvas(gif.SWidth, gif.SHeight, format);
    if (gif.SWidth > 0 && gif.SHeight > 0)
        AllocationFailure::Checked(canvas);
    if (canvas.isNull())
        return TooLarge;
    if (indexed)
        canvas.setColorTable(GifRaster::ColourTable(gif.SColorMap));
    canvas.fill(background);

    int largest = -1;
    for (int i = 0; i < gif.ImageCount; ++i) {
        const SavedImage& image = gif.SavedImages[i];
        const GifControl& control = controls.at(i);
        QImage before;
        if (control.disposal == 3)
            before = canvas;
        int placed;
        if (indexed)
            placed = GifRaster::PlaceRaster(canvas, image, control.transparent);
        else
            placed = GifRaster::PlaceRaster(canvas, image, control.transparent,
                                            FullColourTable(GifRaster::ColourMapOf(gif, image)));
        largest = std::max(largest, placed);
        // The frame shares the canvas's pixels until the canvas next changes.
        frames.append(GifFrame{canvas, control.displayTime});

        if (control.disposal == 2)
            GifRaster::FillImageArea(canvas, image, background);
        else if (control.disposal == 3)
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
