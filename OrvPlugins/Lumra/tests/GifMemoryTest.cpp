// A canvas whose pixels a frame still shares is copied before it is drawn on; a copy that cannot be made fails
// the import for want of memory, where a null scan line would have been written through. Memory that giflib cannot
// allocate fails it the same way, never as a file that cannot be read.
#include "FailingAllocations.h"
#include "GifBuilder.h"
#include "GifRaster.h"
#include "GifSource.h"
#include <QByteArray>
#include <functional>
#include <gtest/gtest.h>
#include <new>

namespace {

#ifdef ORV_FAILING_ALLOCATIONS
TEST(GifMemory, DrawingOnASharedCanvasWithoutMemoryForItsCopyFailsTheImport)
{
    QByteArray raster(320 * 240, '\x05');
    SavedImage image = {};
    image.ImageDesc.Width = 320;
    image.ImageDesc.Height = 240;
    image.RasterBits = reinterpret_cast<GifByteType*>(raster.data());
    const struct
    {
        const char* what;
        std::function<void(QImage&)> draw;
    } steps[] = {
        {"placing an image", [&image](QImage& canvas) { GifRaster::PlaceRaster(canvas, image, -1); }},
        {"clearing an image's area", [&image](QImage& canvas) { GifRaster::FillImageArea(canvas, image, 0); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        QImage canvas(320, 240, QImage::Format_Indexed8);
        canvas.fill(1);
        const QImage frame = canvas;
        {
            const CFailingAllocations failing(320 * 200);
            EXPECT_THROW(step.draw(canvas), std::bad_alloc);
        }
        // The frame kept its pixels; with memory the canvas is drawn on.
        EXPECT_EQ(frame.pixelIndex(10, 10), 1);
        step.draw(canvas);
        EXPECT_EQ(frame.pixelIndex(10, 10), 1);
        EXPECT_NE(canvas.pixelIndex(10, 10), 1);
    }
}

// giflib gives no reason when it cannot allocate a raster, and its own when it cannot allocate the rest: both are
// memory that is lacking, not a file that cannot be read.
TEST(GifMemory, ARasterGiflibCannotAllocateFailsTheImportForWantOfMemory)
{
    GifToBuild gif;
    gif.width = 320;
    gif.height = 240;
    gif.globalColours = TestPalette(16);
    for (int frame = 0; frame < 3; ++frame)
        gif.images.append(PatternImage(0, 0, 320, 240, 2 + frame));
    const QByteArray bytes = BuildGif(gif);
    {
        CGifSource source(bytes);
        const CFailingAllocations failing(320 * 240);
        EXPECT_THROW(source.Read(), std::bad_alloc);
    }
    CGifSource source(bytes);
    EXPECT_TRUE(source.Read());
    EXPECT_EQ(source.ImageCount(), 3);
    // A file cut short is one giflib cannot read, with or without memory.
    CGifSource cut(bytes.left(bytes.size() / 2));
    EXPECT_FALSE(cut.Read());
}
#endif

} // namespace
