#pragma once
// Four-grey pictures: the transparency mask and the quantisation of an 8-bit
// indexed picture to the phone's four greys.
#include <QImage>

namespace FourGreys {
// The number of different grey values the pixels use (palette entries no
// pixel uses do not count). Only meaningful for an all-grey picture.
int CountUsedGreys(const QImage& indexed8);

// Reduces the palette of an all-grey picture to the greys its pixels use, in
// palette order, and moves the pixels to them (dropping entries by position
// alone would cut used greys off a sparse palette). Returns the new count.
int CompactToUsedGreys(QImage& indexed8);

// Makes the transparency mask of an 8-bit indexed picture: a bits picture of
// the same size (8-bit indexed, 1 opaque, 0 transparent), or null on failure.
// An all-grey picture first has its palette reduced to the greys its pixels
// use. A picture of exactly the four phone greys and white takes white as the
// transparent colour, which becomes the lightest phone grey in the picture;
// any other picture takes the colour around its border as transparent.
QImage MakeMask(QImage& indexed8);

// The picture as phone grey indices 0..3 (8-bit indexed with the phone grey
// palette): pictures drawn in the phone greys keep them, others are matched
// against evenly spaced greys, ties going to the lighter one.
QImage Quantise(const QImage& indexed8);

// The preview of a quantised picture: the phone greys, and with a mask a
// fifth entry, white, for every transparent pixel.
QImage Preview(const QImage& greys, const QImage* mask);
} // namespace FourGreys
