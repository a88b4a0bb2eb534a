#pragma once
#include "Import/CImageImporterBase.h"

// Imports a GIF that holds more than one image as an animation, one frame per image.
class CLumraAnimated : public CAnimationImporterBase
{
public:
    CLumraAnimated() : CAnimationImporterBase("CLumraAnimated", "GIF", CDocument::ANIMATION, CDocument::ANIMATION) {}

    CDocument* Import(const QByteArray& rawData) override;

    // Draws one 8-bit image of a GIF onto the animation's canvas at (left, top), clipped to the canvas, leaving
    // pixels of the transparent index (-1: none) as they were; an 8-bit canvas takes the image's colour table.
    // The import composes whole animations itself (CGifAnimator); the host never calls this. The canvas before
    // the frame, the disposal and the background index are the frame's state, which this step does not need.
    virtual void ComposeFrame(QImage& canvas, const QImage& image, const QImage& previous, int left, int top, int width,
                              int height, int disposal, int transparent, int background);
};
