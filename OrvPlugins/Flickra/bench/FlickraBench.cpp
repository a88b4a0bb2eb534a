// Animations to ANI in process: 20 monochrome 128 x 160 frames, and 10 grey
// 128 x 128 frames without a mask; each target is under 10 ms.
#include "CFlickra.h"

#include "Documents/CDocumentAnimation.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {
QImage Pattern(int width, int height, bool grey, int phase)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int step = ((x + phase) / 8 + y / 8) % 4;
            const int level = grey ? step * 85 : (step % 2) * 255;
            image.setPixel(x, y, qRgb(level, level, level));
        }
    return image;
}

void Run(benchmark::State& state, int frames, int width, int height, bool grey)
{
    CParameters parameters;
    parameters.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/AniParameters.xml"));
    CProfile profile;
    profile.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Profiles/Model_B.xml"));
    profile.GetIntParameter(QStringLiteral("MaxPictHeight"))->mValue = 255;
    profile.GetIntParameter(QStringLiteral("NbMaxPictAnim"))->mValue = frames;
    if (!grey)
        parameters.GetEnumParameter(QStringLiteral("GrayScale"))->SetValue(QStringLiteral("Monochrom"));
    CDocumentAnimation animation;
    for (int i = 0; i < frames; ++i)
        animation.AppendFrame(Pattern(width, height, grey, i), 100);
    CFlickra flickra;
    flickra.SetParameters(&parameters);
    flickra.SetProfile(&profile);
    for (auto _ : state) {
        flickra.ClearRawData();
        if (!flickra.Convert(&animation))
            state.SkipWithError("conversion failed");
    }
}
} // namespace

static void TwentyMonochromeFrames(benchmark::State& state)
{
    Run(state, 20, 128, 160, false);
}
BENCHMARK(TwentyMonochromeFrames)->Unit(benchmark::kMillisecond);

static void TenGreyFrames(benchmark::State& state)
{
    Run(state, 10, 128, 128, true);
}
BENCHMARK(TenGreyFrames)->Unit(benchmark::kMillisecond);
