#pragma once
#include "Import/ImportLimits.h"

#include <QImage>
#include <QList>
#include <gif_lib.h>

// What a graphic-control extension says about the image that follows it.
struct GifControl
{
    bool present = false;
    int displayTime = 106; // milliseconds; a delay of 0 also shows 106 ms
    int transparent = -1;  // colour index, -1 for none
    int disposal = 0;
};

// The image's first graphic-control extension; `present` is false when it has none
// (or only a block too short to read).
GifControl ReadGifControl(const SavedImage& image);

// One composed frame of an animated GIF.
struct GifFrame
{
    QImage image;
    int displayTime = 0;
};

// Renders every image of a GIF onto a canvas the size of the logical screen, as a
// GIF player shows them, and returns one picture per image. The canvas is 8-bit
// with the global colours unless some image carries its own colour map; then it is
// RGB32, so earlier pixels keep their colours. When some image shows its
// transparent index, the canvas is ARGB32 and starts, and is restored to,
// fully transparent instead of the background colour.
class CGifAnimator
{
public:
    // All frames together may take at most this many bytes.
    static constexpr qint64 MaxFrameBytes = ImportLimits::MaxAnimationBytes;

    enum Result
    {
        Composed,
        NoColourMap,
        TooLarge
    };

    static Result Compose(const GifFileType& gif, QList<GifFrame>& frames);
};
