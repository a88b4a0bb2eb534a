// Tones and silences appended to 16-bit mono input samples.
#include "WaveTestSupport.h"

#include <gtest/gtest.h>

using namespace WaveTest;

namespace {
std::vector<int> Head(const std::vector<int>& values, size_t n)
{
    return std::vector<int>(values.begin(), values.begin() + std::min(n, values.size()));
}
} // namespace

TEST(WaveTone, SampleCountsFollowRateTimesMilliseconds)
{
    struct Case
    {
        unsigned rate;
        unsigned ms;
        unsigned samples;
    };
    const Case cases[] = {
        {22050, 100, 2205}, {22050, 1, 22},          {8000, 1, 8}, {11025, 3, 33}, {44100, 1000, 44100},
        {8000, 0, 0},       {96000, 45000, 4320000}, // 96000 x 45000 needs 33 bits
    };
    for (const Case& c : cases) {
        CDocumentWave tone;
        ASSERT_TRUE(tone.CreateHeader(c.rate, 16, 1));
        EXPECT_EQ(tone.AppendTone(440.0, 0.5, c.ms), c.samples) << c.rate << " Hz, " << c.ms << " ms";
        EXPECT_EQ(tone.m_WAVEheader.data_ckSize, c.samples * 2);
        EXPECT_EQ(tone.m_WAVEheader.RIFF_ckSize, 36 + c.samples * 2);

        CDocumentWave silence;
        silence.CreateHeader(c.rate, 16, 1);
        EXPECT_EQ(silence.AppendSilence(c.ms), c.samples);
        EXPECT_EQ(silence.m_WAVEheader.data_ckSize, c.samples * 2);
    }
}

TEST(WaveTone, QuarterRateToneIsZeroPeakZeroTrough)
{
    // 5512.5 Hz at 22050 Hz: a quarter turn per sample, starting at phase 0.
    CDocumentWave wave;
    wave.CreateHeader(22050, 16, 1);
    ASSERT_EQ(wave.AppendTone(5512.5, 0.5, 100), 2205u);
    EXPECT_EQ(Head(InputSamples16(wave), 8), (std::vector<int>{0, 16383, 0, -16383, 0, 16383, 0, -16383}));

    // A 440 Hz tone also starts at 0 and stays within its amplitude.
    CDocumentWave a440;
    a440.CreateHeader(22050, 16, 1);
    a440.AppendTone(440.0, 0.5, 100);
    const std::vector<int> samples = InputSamples16(a440);
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 16382); // sin never quite reaches 1 here
    EXPECT_EQ(CountZeroCrossings(samples, 0), 87);                       // 44 cycles in 0.1 s, the start not counted
}

TEST(WaveTone, AmplitudesBeyondFullScaleSaturate)
{
    struct Case
    {
        double amplitude;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {1.0, {0, 32767, 0, -32767}},  {2.0, {0, 32767, 0, -32767}},  // 65534 would wrap to -2
        {-1.0, {0, -32767, 0, 32767}}, {-3.0, {0, -32768, 0, 32767}}, // -(-32768) saturates too
        {0.0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        CDocumentWave wave;
        wave.CreateHeader(8000, 16, 1);
        ASSERT_EQ(wave.AppendTone(2000.0, c.amplitude, 1), 8u);
        EXPECT_EQ(Head(InputSamples16(wave), 4), c.expected) << c.amplitude;
    }
}

TEST(WaveTone, ZeroFrequencyAppendsSilence)
{
    CDocumentWave wave;
    wave.CreateHeader(22050, 16, 1);
    ASSERT_EQ(wave.AppendTone(0.0, 0.9, 100), 2205u);
    const std::vector<int> samples = InputSamples16(wave);
    EXPECT_EQ(samples, std::vector<int>(2205, 0));
}

TEST(WaveTone, AppendsFollowEachOtherAndRestartAtPhaseZero)
{
    CDocumentWave wave;
    wave.CreateHeader(8000, 16, 1);
    EXPECT_EQ(wave.AppendTone(2000.0, 1.0, 1), 8u);
    EXPECT_EQ(wave.AppendSilence(1), 8u);
    EXPECT_EQ(wave.AppendTone(2000.0, 0.5, 1), 8u);
    const std::vector<int> samples = InputSamples16(wave);
    ASSERT_EQ(samples.size(), 24u);
    EXPECT_EQ(samples[1], 32767);
    EXPECT_EQ(std::vector<int>(samples.begin() + 8, samples.begin() + 16), std::vector<int>(8, 0));
    EXPECT_EQ(std::vector<int>(samples.begin() + 16, samples.begin() + 20), (std::vector<int>{0, 16383, 0, -16383}));
    EXPECT_EQ(wave.m_WAVEheader.data_ckSize, 48u);
    EXPECT_GE(wave.m_ulRealAllocatedSize, 48u);
}

TEST(WaveTone, OddDataSizeLosesItsOddByte)
{
    CDocumentWave wave;
    wave.CreateHeader(8000, 16, 1);
    wave.m_WAVEheader.data_ckSize = 3;
    const unsigned char odd[3] = {0x34, 0x12, 0x99};
    ASSERT_EQ(wave.SetInputData(odd, 3), 3u);
    ASSERT_EQ(wave.AppendTone(2000.0, 1.0, 1), 8u);
    EXPECT_EQ(wave.m_WAVEheader.data_ckSize, 18u); // (8 + 3 / 2) x 2
    const std::vector<int> samples = InputSamples16(wave);
    EXPECT_EQ(Head(samples, 3), (std::vector<int>{0x1234, 0, 32767}));
}

TEST(WaveTone, OtherLayoutsAreLeftAlone)
{
    MessageCapture capture;
    CDocumentWave stereo;
    stereo.CreateHeader(8000, 16, 2);
    EXPECT_EQ(stereo.AppendTone(440.0, 1.0, 100), 0u);
    CDocumentWave bytes;
    bytes.CreateHeader(8000, 8, 1);
    EXPECT_EQ(bytes.AppendSilence(100), 0u);
    EXPECT_EQ(stereo.m_WAVEheader.data_ckSize, 0u);
    EXPECT_EQ(bytes.m_WAVEheader.data_ckSize, 0u);
    EXPECT_EQ(stereo.m_pInputData, nullptr);
    EXPECT_EQ(capture.Warnings().size(), 2);
}

TEST(WaveTone, SizesTheHeaderCannotStateAreRefused)
{
    CDocumentWave wave;
    wave.CreateHeader(96000, 16, 1);
    ASSERT_EQ(wave.AppendSilence(10), 960u);
    EXPECT_EQ(wave.AppendSilence(0xFFFFFFFFu), 0u);      // 4.1e11 samples
    EXPECT_EQ(wave.AppendTone(1.0, 1.0, 23000000u), 0u); // 4.4e9 bytes
    EXPECT_EQ(wave.m_WAVEheader.data_ckSize, 1920u);
}

TEST(WaveTone, ReserveKeepsTheSamplesAndGrowsByHalf)
{
    CDocumentWave wave;
    wave.CreateHeader(8000, 16, 1);
    wave.AppendTone(2000.0, 1.0, 1);
    const std::vector<int> before = InputSamples16(wave);
    const uint32_t capacity = wave.m_ulRealAllocatedSize;
    EXPECT_EQ(capacity, 24u); // 16 + 16 / 2

    ASSERT_TRUE(wave.ReserveInputData(capacity));
    EXPECT_EQ(wave.m_ulRealAllocatedSize, capacity);
    ASSERT_TRUE(wave.ReserveInputData(1000));
    EXPECT_EQ(wave.m_ulRealAllocatedSize, 1500u);
    EXPECT_EQ(InputSamples16(wave), before);

    // A header that claims more than is held copies only what is held.
    CDocumentWave claims;
    claims.CreateHeader(8000, 16, 1);
    claims.m_WAVEheader.data_ckSize = 100;
    ASSERT_TRUE(claims.ReserveInputData(200));
    EXPECT_EQ(InputSamples16(claims), std::vector<int>(50, 0));
}

// A repeated note copies the samples made for an earlier one: every note must
// still be exactly what it would be in a sound of its own, whether it is
// shorter or longer than the notes of its tone before it, beside tones of the
// same pitch at another loudness.
TEST(WaveTone, RepeatedNotesGiveTheSamplesOfANoteOnItsOwn)
{
    struct Note
    {
        double frequency;
        double amplitude;
        unsigned ms;
    };
    const Note melody[] = {{440.0, 0.5, 100}, {440.0, 0.5, 40}, {659.3, 0.8, 60},  {440.0, 0.5, 250}, {440.0, 0.9, 100},
                           {0.0, 0.5, 30},    {659.3, 0.8, 60}, {440.0, 0.5, 250}, {659.3, 0.8, 300}, {440.0, 0.5, 1}};
    for (const unsigned rate : {8000u, 22050u}) {
        CDocumentWave song;
        song.CreateHeader(rate, 16, 1);
        std::vector<int> expected;
        for (const Note& note : melody) {
            song.AppendTone(note.frequency, note.amplitude, note.ms);
            CDocumentWave alone;
            alone.CreateHeader(rate, 16, 1);
            alone.AppendTone(note.frequency, note.amplitude, note.ms);
            const std::vector<int> samples = InputSamples16(alone);
            expected.insert(expected.end(), samples.begin(), samples.end());
        }
        EXPECT_EQ(InputSamples16(song), expected) << rate << " Hz";
    }
}
