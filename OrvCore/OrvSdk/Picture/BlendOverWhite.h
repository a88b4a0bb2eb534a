#pragma once
// A picture as the phone's screen shows it: the screen is white, so a
// transparent pixel is white and a partly transparent one lies over white by
// its alpha. Every picture and animation exporter judges its pictures so,
// before any depth or grey decision.
#include <QImage>

// A picture without an alpha channel comes back as it is. A picture with a
// colour table keeps its format and has its colours blended; any other
// becomes RGB32. A null picture stays null.
QImage BlendOverWhite(const QImage& picture);
