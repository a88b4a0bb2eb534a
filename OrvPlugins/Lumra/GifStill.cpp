#include "GifStill.h"

#include "GifRaster.h"

QImage RenderGifStill(const GifFileType& gif)
{
    if (gif.ImageCount < 1 || !gif.SavedImages)
        return QImage();
    const SavedImage& image = gif.SavedImages[0];
    const ColorMapObject* map = GifRaster::ColourMapOf(gif, image);
    if (!map)
        return QImage();

    QImage picture(gif.SWidth, gif.SHeight, QImage::Format_Indexed8);
    if (picture.isNull())
        return QImage();
    picture.setColorTable(GifRaster::ColourTable(map));
    picture.fill(uint(gif.SBackGroundColor & 0xFF));
    // Every pixel holds a placed index or the background's, which counts only
    // where the image leaves it showing.
    int largest = GifRaster::PlaceRaster(picture, image, -1);
    const int background = gif.SBackGroundColor & 0xFF;
    if (background > largest && GifRaster::ContainsIndex(picture, background))
        largest = background;
    GifRaster::PadColourTable(picture, largest);
    return picture;
}
