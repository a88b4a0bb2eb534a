#pragma once
#include "Import/ImportLimits.h"

#include <QByteArray>
#include <gif_lib.h>

// One GIF held in memory, decoded whole by giflib. Reads only the bytes it was
// given, less any extension that holds no data; the decoder is closed when the
// object goes away.
class CGifSource
{
public:
    // Largest logical screen we agree to render, per side.
    static constexpr int MaxScreenSide = ImportLimits::MaxPictureSide;
    // Most pixels all images of one file may hold together (one byte each).
    static constexpr qint64 MaxRasterPixels = ImportLimits::MaxAnimationBytes;

    explicit CGifSource(const QByteArray& bytes);
    ~CGifSource();
    CGifSource(const CGifSource&) = delete;
    CGifSource& operator=(const CGifSource&) = delete;

    // Opens the decoder and reads every image. False when giflib cannot read the
    // bytes, when the logical screen is empty or beyond MaxScreenSide, or when an
    // image is beyond MaxScreenSide or all images beyond MaxRasterPixels. Memory
    // that giflib could not allocate is no fault of the file: std::bad_alloc.
    bool Read();

    // The decoded file; null until Read has opened it.
    const GifFileType* File() const { return m_pGif; }
    int ImageCount() const { return m_pGif ? m_pGif->ImageCount : 0; }

private:
    // Throws std::bad_alloc for giflib's error of memory that could not be allocated.
    static void RaiseWhenMemoryLacked(int error);
    static int ReadInput(GifFileType* gif, GifByteType* buffer, int length);

    const QByteArray m_Bytes;
    qsizetype m_Position = 0;
    GifFileType* m_pGif = nullptr;
};
