#pragma once
#include "GifLayout.h"

#include <QByteArray>

class CDocumentAnimation;
class CDocumentPicture;

// The documents the two GIF importers make; null for bytes they refuse.

// A GIF that holds exactly one image, as a picture of its logical screen.
CDocumentPicture* ImportGifPicture(const QByteArray& bytes);

// A GIF that holds more than one image, as one frame per image. When its frames
// would take more memory than an animation may, `oversized` (when given) says
// what they would take; it is left as it was for any other refusal.
CDocumentAnimation* ImportGifAnimation(const QByteArray& bytes, GifLayout::FrameNeed* oversized = nullptr);
