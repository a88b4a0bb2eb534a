// A canvas whose pixels a frame still shares is copied before it is drawn on; a copy that cannot be made fails
// the import for want of memory, where a null scan line would have been written through.
#include "GifRaster.h"
#include "FailingAllocations.h"
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
#endif

} // namespace
