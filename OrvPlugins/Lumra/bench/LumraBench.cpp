// Importing a 20-frame 128 x 160 animated GIF (target: under 10 ms).
#include "CLumraAnimated.h"
#include "CLumraStatic.h"
#include "GifBuilder.h"

#include <benchmark/benchmark.h>

namespace {
// A sprite moving over a full first frame, each later image a 64 x 64 patch.
QByteArray AnimatedGif(bool localColours)
{
    GifToBuild toBuild;
    toBuild.width = 128;
    toBuild.height = 160;
    toBuild.globalColours = TestPalette(256);
    for (int i = 0; i < 20; ++i) {
        GifImageToBuild image = i == 0 ? PatternImage(0, 0, 128, 160, 251) : PatternImage(i * 3, i * 4, 64, 64, 199);
        image.control = true;
        image.delay = 10;
        image.disposal = 1;
        image.transparent = 5;
        if (localColours && i % 2)
            image.localColours = TestPalette(256, i);
        toBuild.images << image;
    }
    return BuildGif(toBuild);
}

void ImportAnimatedGif(benchmark::State& state)
{
    const QByteArray bytes = AnimatedGif(state.range(0) != 0);
    CLumraAnimated importer;
    for (auto _ : state) {
        CDocument* document = importer.Import(bytes);
        benchmark::DoNotOptimize(document);
        delete document;
    }
}
BENCHMARK(ImportAnimatedGif)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void ImportStillGif(benchmark::State& state)
{
    GifToBuild toBuild;
    toBuild.width = 128;
    toBuild.height = 160;
    toBuild.globalColours = TestPalette(256);
    toBuild.images << PatternImage(0, 0, 128, 160, 251);
    const QByteArray bytes = BuildGif(toBuild);
    CLumraStatic importer;
    for (auto _ : state) {
        CDocument* document = importer.Import(bytes);
        benchmark::DoNotOptimize(document);
        delete document;
    }
}
BENCHMARK(ImportStillGif)->Unit(benchmark::kMillisecond);
} // namespace
