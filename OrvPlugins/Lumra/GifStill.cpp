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
    int largest = GifRaster::PlaceRaster(picture, image, -1);
    // The background shows only where the image leaves room: look for it only when
    // its index lies beyond the colours.
    if ((gif.SBackGroundColor & 0xFF) >= picture.colorCount())
        largest = GifRaster::LargestIndex(picture);
    GifRaster::PadColourTable(picture, largest);
    return picture;
}
