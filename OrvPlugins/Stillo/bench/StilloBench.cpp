// A 255 x 255 grey picture with a mask to PIC, in process: the target is under 5 ms.
#include "CStillo.h"

#include "Documents/CDocumentPicture.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"

#include <QImage>
#include <benchmark/benchmark.h>

static void GreyPictureWithMask(benchmark::State& state)
{
    CParameters parameters;
    parameters.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/PicParameters.xml"));
    parameters.GetEnumParameter(QStringLiteral("PictureHasMask"))->SetValue(QStringLiteral("On"));
    CProfile profile;
    profile.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Profiles/Model_B.xml"));
    profile.GetIntParameter(QStringLiteral("MaxPictWidth"))->mValue = 255;
    profile.GetIntParameter(QStringLiteral("MaxPictHeight"))->mValue = 255;

    QImage image(255, 255, QImage::Format_RGB32);
    for (int y = 0; y < 255; ++y)
        for (int x = 0; x < 255; ++x) {
            const int level = ((x / 16 + y / 16) % 4) * 85;
            image.setPixel(x, y, qRgb(level, level, level));
        }
    CDocumentPicture picture(image);
    CStillo stillo;
    stillo.SetParameters(&parameters);
    stillo.SetProfile(&profile);
    for (auto _ : state) {
        stillo.ClearRawData();
        if (!stillo.Convert(&picture))
            state.SkipWithError("conversion failed");
    }
}
BENCHMARK(GreyPictureWithMask)->Unit(benchmark::kMillisecond);
