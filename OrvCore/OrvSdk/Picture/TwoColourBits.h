#pragma once
// A two-colour picture as bits: 1 for the darker colour, 0 for the lighter,
// whichever palette index the toolkit gave each (a 1-bit PNG may keep black at
// index 0, the toolkit's own conversion puts it at index 1).
#include <QImage>

namespace TwoColourBits {
// An 8-bit indexed picture whose index is the bit, with the palette
// {light, dark}; null when the picture is null. A palette of other than two
// colours keeps the index's parity as the bit.
QImage FromPicture(const QImage& picture, QRgb light, QRgb dark);
} // namespace TwoColourBits
