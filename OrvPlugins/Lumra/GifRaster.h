#pragma once
#include <QImage>
#include <QVector>
#include <gif_lib.h>

// Pixel-level helpers shared by the still and the animated GIF importers.
namespace GifRaster {
// The colours of a giflib colour map as opaque toolkit colours; empty for none.
QVector<QRgb> ColourTable(const ColorMapObject* map);

// The image's local colour map, else the file's global one; null when neither exists.
const ColorMapObject* ColourMapOf(const GifFileType& gif, const SavedImage& image);

// Whether the colour index occurs in an 8-bit picture.
bool ContainsIndex(const QImage& picture, int index);
// Whether the colour index occurs in the image's raster.
bool RasterHolds(const SavedImage& image, int index);

// Grows the colour table of an 8-bit picture with opaque black until `largestIndex`
// has an entry, so indexes beyond the file's colour map still show as a colour.
void PadColourTable(QImage& picture, int largestIndex);

// Copies the image's raster onto the canvas at the image's position, clipped to the
// canvas; pixels equal to `transparent` (-1: none) leave the canvas as it is. An
// 8-bit canvas takes the indexes; an RGB32 canvas takes colours[index], where
// colours must have 256 entries. Returns the largest index written (-1: none).
int PlaceRaster(QImage& canvas, const SavedImage& image, int transparent,
                const QVector<QRgb>& colours = QVector<QRgb>());

// Fills the part of the canvas that the image covers (clipped) with `fill`
// (an index on an 8-bit canvas, a colour on an RGB32 one).
void FillImageArea(QImage& canvas, const SavedImage& image, uint fill);
} // namespace GifRaster
