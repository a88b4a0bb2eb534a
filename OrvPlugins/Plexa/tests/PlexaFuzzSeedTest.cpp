// Writes the fuzzer's seeds: its first byte picks the road (0 decode,
// 1 trace, 2 WAV import and conversion), the rest is a clip or a sound.
#include "PlexaTestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace PlexaTest;

TEST(PlexaFuzzSeeds, WrittenForEveryRoad)
{
    LogScope log;
    const Samples second = SpeechLike(1);
    const QByteArray speech = Encode(second, "gsm_amr_122", false).vox;
    const QByteArray small = Encode(Samples(second.begin(), second.begin() + 3200), "gsm_amr_475", true).vox;
    const QByteArray homing = Encode(Constant(320, 8), "gsm_amr_795", true).vox;
    const QByteArray foreign = homing + BytesOf({0x0591, 1, 2, 3, 4, 0x0190, 0x0290, 0xE2E0});
    const Samples sound(second.begin(), second.begin() + 4000);
    const QByteArray wav = PcmHeader(8000, 16, 1, 1, 8000) + SampleBytes(sound);
    const QByteArray wav22 =
        PcmHeader(22050, 16, 1, 1, 4410) + SampleBytes(Samples(sound.begin(), sound.begin() + 2205));
    const std::vector<std::pair<const char*, QByteArray>> seeds = {
        {"decode-speech", '\0' + speech},  {"decode-475", '\0' + small},   {"decode-homing", '\0' + homing},
        {"trace-foreign", '\1' + foreign}, {"trace-speech", '\1' + small}, {"wav-8000", '\2' + wav},
        {"wav-22050", '\2' + wav22},
    };
    const QString folder = QStringLiteral(ORV_CORPUS_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const auto& seed : seeds) {
        ASSERT_LE(seed.second.size(), 65536) << seed.first;
        QFile file(folder + QLatin1Char('/') + QString::fromLatin1(seed.first));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << seed.first;
        ASSERT_EQ(file.write(seed.second), seed.second.size()) << seed.first;
    }
}
