#pragma once
#include <QImage>

// Brings a decoded picture to one of the few formats the converters handle:
// mono and Indexed8 stay as they are, grey becomes Indexed8 with a grey
// colour table, anything else becomes ARGB32 (with alpha) or RGB32.
// A null image stays null.
QImage NormalisePicture(const QImage& image);
