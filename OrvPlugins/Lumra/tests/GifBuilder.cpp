#include "GifBuilder.h"

#include <gif_lib.h>

namespace {
int WriteOutput(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

ColorMapObject* MakeMap(const QVector<QRgb>& colours)
{
    if (colours.isEmpty())
        return nullptr;
    QVector<GifColorType> entries;
    for (QRgb c : colours)
        entries.append(GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
    return GifMakeMapObject(entries.size(), entries.constData());
}

// Row order of an interlaced raster: the four passes of the GIF format.
QList<int> StoredRowOrder(int height, bool interlaced)
{
    QList<int> rows;
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows << y;
        return rows;
    }
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass])
            rows << y;
    return rows;
}
} // namespace

QByteArray BuildGif(const GifToBuild& toBuild)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteOutput, &error);
    if (!gif)
        return QByteArray();
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = MakeMap(toBuild.globalColours);
    EGifPutScreenDesc(gif, toBuild.width, toBuild.height, 8, toBuild.background, global);
    GifFreeMapObject(global);
    for (const GifImageToBuild& image : toBuild.images) {
        if (image.control) {
            GraphicsControlBlock gcb;
            gcb.DisposalMode = image.disposal;
            gcb.UserInputFlag = false;
            gcb.DelayTime = image.delay;
            gcb.TransparentColor = image.transparent;
            GifByteType block[4];
            const size_t length = EGifGCBToExtension(&gcb, block);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), block);
        }
        ColorMapObject* local = MakeMap(image.localColours);
        // giflib 5.2 forgets the previous image's local map when the next image has
        // none, instead of freeing it.
        if (!local && gif->Image.ColorMap) {
            GifFreeMapObject(gif->Image.ColorMap);
            gif->Image.ColorMap = nullptr;
        }
        EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, image.interlaced, local);
        GifFreeMapObject(local);
        for (int y : StoredRowOrder(image.height, image.interlaced)) {
            QByteArray row = image.pixels.mid(qsizetype(y) * image.width, image.width);
            EGifPutLine(gif, reinterpret_cast<GifPixelType*>(row.data()), image.width);
        }
    }
    EGifCloseFile(gif, &error);
    return out;
}

GifImageToBuild SolidImage(int left, int top, int width, int height, char index)
{
    GifImageToBuild image;
    image.left = left;
    image.top = top;
    image.width = width;
    image.height = height;
    image.pixels = QByteArray(qsizetype(width) * height, index);
    return image;
}

GifImageToBuild PatternImage(int left, int top, int width, int height, int modulo)
{
    GifImageToBuild image = SolidImage(left, top, width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels[qsizetype(y) * width + x] = char((x + 2 * y) % modulo);
    return image;
}

QVector<QRgb> TestPalette(int count, int seed)
{
    QVector<QRgb> colours;
    for (int i = 0; i < count; ++i)
        colours << qRgb((i * 37 + seed * 11) & 0xFF, (i * 91 + seed * 53) & 0xFF, (255 - i * 13 + seed) & 0xFF);
    return colours;
}
