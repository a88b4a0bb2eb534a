#pragma once
#include <QByteArray>

class CDocumentAnimation;

// Reads an animation description: an XML document whose root lists its frames as
// "FRAME" children (or "frame" when it has none), each naming a picture file in
// "REF" (else "ref") and its display time in milliseconds in "DELAY" (else "delay").
// Frames without a picture or with a display time of 0 or less are left out.
// Null when the bytes are no XML, a picture cannot be loaded, the pictures exceed
// the memory bound, or no frame is left.
CDocumentAnimation* ReadAnimationDescription(const QByteArray& bytes);
