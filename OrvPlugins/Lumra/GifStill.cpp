#include "GifStill.h"

#include "GifAnimation.h"
#include "GifRaster.h"

#include "Util/AllocationFailure.h"

#include <climits>

QImage RenderGifStill(const GifFileType& gif)
{
    if (gif.ImageCount < 1 || !gif.SavedImages)
        return QImage();
    const SavedImage& image = gif.SavedImages[0];
    const ColorMapObject* map = GifRaster::ColourMapOf(gif, image);
    if (!map)
        return QImage();

    QImage picture(gif.SWidth, gif.SHeight, QImage::Format_Indexed8);
    // A screen of a valid size that cannot be made is memory that is lacking, not a bad file.
    if (gif.SWidth > 0 && gif.SHeight > 0 && qint64(gif.SWidth) * gif.SHeight <= qint64(INT_MAX) / 4)
        AllocationFailure::Checked(picture);
    if (picture.isNull())
        return QImage();
    picture.setColorTable(GifRaster::ColourTable(map));
    // An image that shows its transparent index is see-through, and so is the
    // screen around it, as viewers show it; otherwise the screen is the
    // background colour.
    const int transparent = ReadGifControl(image).transparent;
    const bool seeThrough = GifRaster::RasterHolds(image, transparent);
    const int fill = seeThrough ? transparent : gif.SBackGroundColor & 0xFF;
    picture.fill(uint(fill));
    // Every pixel holds a placed index or the fill's, which counts only where
    // the image leaves it showing.
    int largest = GifRaster::PlaceRaster(picture, image, -1);
    if (fill > largest && GifRaster::ContainsIndex(picture, fill))
        largest = fill;
    GifRaster::PadColourTable(picture, largest);
    if (seeThrough)
        picture.setColor(transparent, picture.color(transparent) & RGB_MASK);
    return picture;
}
