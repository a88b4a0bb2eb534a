// The synthesiser's tables and voice machinery, below the render.
#include "FixedPoint.h"
#include "SynthTables.h"
#include "VoiceAlgorithms.h"
#include "VoicePool.h"

#include "Plugin/CConversionLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace SynthTables;

TEST(SynthTables, ClassAndDrumPresets)
{
    // (preset, algorithm, pitch field) per instrument class and per drum.
    const std::tuple<int, int, int> classes[16] = {{0, 2, 0}, {1, 2, 0}, {2, 1, 0}, {3, 2, 0}, {4, 2, 7},  {5, 1, 0},
                                                   {0, 2, 0}, {6, 1, 0}, {7, 1, 0}, {8, 1, 0}, {20, 1, 0}, {0, 2, 0},
                                                   {0, 2, 0}, {0, 2, 0}, {1, 2, 0}, {9, 2, 0}};
    const std::tuple<int, int, int> drums[10] = {{10, 3, 12}, {11, 3, 0},  {12, 3, 0},   {13, 2, 57}, {14, 2, 61},
                                                 {15, 2, 83}, {16, 2, 90}, {17, 2, 101}, {18, 2, 61}, {19, 3, 0}};
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(std::make_tuple(PresetNumber(ClassPresets[c]), PresetAlgorithm(ClassPresets[c]),
                                  PresetPitch(ClassPresets[c])),
                  classes[c])
            << "class " << c;
    // The drum map, as ranges of pitches (first, last, drum preset).
    const int map[][3] = {{35, 36, 8}, {37, 37, 1}, {38, 41, 9}, {42, 42, 1}, {43, 43, 9}, {44, 44, 1}, {45, 45, 9},
                          {46, 46, 1}, {47, 47, 3}, {48, 48, 4}, {49, 49, 0}, {50, 50, 4}, {51, 51, 2}, {52, 52, 0},
                          {53, 53, 7}, {54, 55, 2}, {56, 56, 4}, {57, 57, 0}, {58, 58, 9}, {59, 59, 2}, {60, 60, 4},
                          {61, 61, 3}, {62, 63, 4}, {64, 64, 3}, {65, 65, 4}, {66, 66, 3}, {67, 67, 6}, {68, 68, 5},
                          {69, 69, 1}, {70, 72, 2}, {73, 73, 1}, {74, 74, 2}, {75, 75, 7}, {76, 76, 4}, {77, 77, 3},
                          {78, 78, 6}, {79, 79, 5}, {80, 81, 7}};
    for (int pitch = 0; pitch < 128; ++pitch) {
        int drum = 0;
        for (const auto& range : map)
            if (pitch >= range[0] && pitch <= range[1])
                drum = range[2];
        const uint16_t word = DrumPresetWord(pitch);
        EXPECT_EQ(std::make_tuple(PresetNumber(word), PresetAlgorithm(word), PresetPitch(word)), drums[drum])
            << "pitch " << pitch;
    }
}

TEST(SynthTables, PhaseIncrementsFollowTheEqualTemperedScale)
{
    EXPECT_EQ(VoiceAlgorithms::OscillatorIncrement(69), 3604);
    EXPECT_EQ(NotePhaseIncrement(69), 3604);
    for (int note = 24; note < 108; ++note) {
        const double exact = 440.0 * std::pow(2.0, (note - 69) / 12.0) * 65536 / 8000;
        const uint16_t oscillator = VoiceAlgorithms::OscillatorIncrement(note);
        EXPECT_EQ(oscillator % 4, 0);
        EXPECT_NEAR(oscillator, exact, exact * 0.003 + 4) << note;
        EXPECT_NEAR(NotePhaseIncrement(note), exact, exact * 0.003 + 1) << note;
    }
    // Above the scale they stay below half the sampling rate.
    EXPECT_LT(VoiceAlgorithms::OscillatorIncrement(134), 32768);
    EXPECT_LT(NotePhaseIncrement(127), 32768);
}

TEST(SynthTables, CosineAndNoise)
{
    for (int phase = 0; phase < 65536; phase += 97)
        EXPECT_NEAR(Cosine(uint16_t(phase)), 32767 * std::cos(phase * 2 * M_PI / 65536), 20) << phase;
    int16_t noise[NoiseTableSize];
    FillNoiseTable(noise);
    long sum = 0;
    int distinct = 0;
    for (int i = 0; i < NoiseTableSize; ++i) {
        EXPECT_GE(noise[i], -8192);
        EXPECT_LE(noise[i], 8191);
        sum += noise[i];
        distinct += i > 0 && noise[i] != noise[i - 1];
    }
    EXPECT_GT(distinct, 200);
    EXPECT_LT(std::abs(sum / NoiseTableSize), 1500);
}

TEST(SynthTables, ResonatorZonesPickTheNearerKeyAndTheLowerOnATie)
{
    // The piano's zones are keyed on 36, 60 and 84.
    const SynthPresets::ResonatorPreset& piano = *SynthPresets::PresetData(0).resonator;
    const int cases[][2] = {{0, 0}, {36, 0}, {48, 0}, {49, 1}, {60, 1}, {72, 1}, {73, 2}, {127, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(VoiceAlgorithms::ResonatorZoneIndex(piano, c[0]), c[1]) << "note " << c[0];
}

TEST(SynthVoices, EveryAlgorithmLeavesTheOperatorsWrapping)
{
    int16_t noise[NoiseTableSize];
    FillNoiseTable(noise);
    int16_t out[VoiceAlgorithms::BlockSize];
    const int64_t remaining = 4000;

    VoiceAlgorithms::OscillatorState oscillator;
    VoiceAlgorithms::OscillatorStart(oscillator, *SynthPresets::PresetData(6).oscillator, 60, 40, remaining);
    FixedPoint::set_saturate();
    EXPECT_EQ(VoiceAlgorithms::OscillatorRender(oscillator, remaining, out), VoiceAlgorithms::StateSounding);
    EXPECT_EQ(FixedPoint::g_AddMode + FixedPoint::g_ShiftMode, 0);

    VoiceAlgorithms::ResonatorState resonator;
    VoiceAlgorithms::ResonatorStart(resonator, *SynthPresets::PresetData(0).resonator, 60, 40);
    FixedPoint::set_saturate();
    EXPECT_EQ(VoiceAlgorithms::ResonatorRender(resonator, remaining, out), VoiceAlgorithms::StateSounding);
    EXPECT_EQ(FixedPoint::g_AddMode + FixedPoint::g_ShiftMode, 0);

    const SynthPresets::NoisePreset& snare = *SynthPresets::PresetData(19).noise;
    VoiceAlgorithms::NoiseState noiseVoice;
    VoiceAlgorithms::NoiseStart(noiseVoice, snare, 40);
    FixedPoint::set_saturate();
    EXPECT_EQ(VoiceAlgorithms::NoiseRender(noiseVoice, snare, noise, remaining, out), VoiceAlgorithms::StateSounding);
    EXPECT_EQ(FixedPoint::g_AddMode + FixedPoint::g_ShiftMode, 0);

    CVoicePool pool;
    pool.Reset();
    pool.Start(0, 60, 40, ClassPresets[0], 1000, nullptr);
    const int16_t volumes[16] = {127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127};
    int16_t mix[VoiceAlgorithms::BlockSize] = {};
    FixedPoint::set_saturate();
    pool.RenderBlock(mix, volumes, noise);
    pool.RenderBlock(mix, volumes, noise);
    EXPECT_EQ(FixedPoint::g_AddMode + FixedPoint::g_ShiftMode, 0);
}

TEST(SynthVoices, EveryAlgorithmReleasesAndEndsItsVoice)
{
    // Each preset sounds, then is silent once its voice ends: the pool empties.
    int16_t noise[NoiseTableSize];
    FillNoiseTable(noise);
    const int16_t volumes[16] = {127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127};
    const uint16_t words[] = {ClassPresets[0],  ClassPresets[2], ClassPresets[4], ClassPresets[5], ClassPresets[10],
                              ClassPresets[15], DrumPresets[0],  DrumPresets[8],  DrumPresets[9]};
    for (uint16_t word : words) {
        CVoicePool pool;
        pool.Reset();
        pool.Start(0, 60, 63, word, 2000, nullptr);
        int peak = 0, blocks = 0;
        while (pool.Count() > 0 && blocks < 1000) {
            int16_t mix[VoiceAlgorithms::BlockSize] = {};
            pool.RenderBlock(mix, volumes, noise);
            for (int16_t s : mix)
                peak = std::max(peak, std::abs(int(s)));
            ++blocks;
        }
        EXPECT_GT(peak, 1000) << "preset " << PresetNumber(word);
        EXPECT_LT(peak, 32767) << "preset " << PresetNumber(word);
        EXPECT_EQ(blocks, (2000 + 500) / 32 + 1) << "preset " << PresetNumber(word);
        EXPECT_EQ(pool.CostATotal() + pool.CostBTotal(), 0);
    }
}

TEST(SynthVoices, SixteenVoicesOfTheSustainedClassesFitTheBudgets)
{
    for (int instrumentClass : {2, 5, 7, 8, 9, 10}) {
        CVoicePool pool;
        pool.Reset();
        CConversionLog log;
        for (int v = 0; v < 16; ++v)
            pool.Start(v % 16, 50 + v, 40, ClassPresets[instrumentClass], 8000, &log);
        EXPECT_EQ(pool.Count(), 16) << "class " << instrumentClass;
        EXPECT_TRUE(log.GetSummaryText().isEmpty());
    }
}
