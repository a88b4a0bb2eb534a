#pragma once
#include <QImage>
#include <gif_lib.h>

// The picture of a GIF's first image: an 8-bit picture the size of the logical
// screen, filled with the background index, with the image placed at its position
// (clipped). Its colours are the image's local colour map, else the global one.
// When the image shows its transparent index, the screen is filled with that
// index instead and its colour is fully transparent.
// A null image when there is no image or no colour map.
QImage RenderGifStill(const GifFileType& gif);
