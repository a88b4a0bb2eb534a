#pragma once
#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QVector>

// Writes small GIF files with giflib's encoder, for the tests and the fuzz corpus.

// One image of a GIF to build.
struct GifImageToBuild
{
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    QVector<QRgb> localColours; // empty: no local colour map
    QByteArray pixels;          // width x height indexes, top row first
    bool control = false;       // write a graphic-control extension
    int delay = 0;              // hundredths of a second
    int disposal = 0;
    int transparent = -1;
};

// A GIF to build: its logical screen, colour map and images.
struct GifToBuild
{
    int width = 0, height = 0;
    int background = 0;
    QVector<QRgb> globalColours; // empty: no global colour map
    QList<GifImageToBuild> images;
};

QByteArray BuildGif(const GifToBuild& toBuild);

// An image to build filled with one index, or with a pattern index = (x + 2y) % modulo.
GifImageToBuild SolidImage(int left, int top, int width, int height, char index);
GifImageToBuild PatternImage(int left, int top, int width, int height, int modulo);

// A palette of `count` distinct colours (count a power of two).
QVector<QRgb> TestPalette(int count, int seed = 0);
