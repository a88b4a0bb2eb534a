#pragma once
// The synthesiser's fixed tables: which preset each instrument class and drum
// plays, what a preset costs the phone, the pitch tables and the waveform and
// noise sources the voice algorithms read.
#include <cstdint>

namespace SynthTables {
constexpr int PresetCount = 22;
constexpr int ClassCount = 16;
constexpr int DrumPresetCount = 10;
constexpr int DrumChannel = 9;

enum Algorithm
{
    AlgorithmOscillator = 1,
    AlgorithmResonator = 2,
    AlgorithmNoise = 3
};

// A preset word: preset number (bits 0-6), algorithm (bits 7-8), pitch field (bits 9-15).
constexpr uint16_t PresetWord(int preset, int algorithm, int pitch)
{
    return uint16_t(preset | (algorithm << 7) | (pitch << 9));
}
inline int PresetNumber(uint16_t word)
{
    return word & 0x7F;
}
inline int PresetAlgorithm(uint16_t word)
{
    return (word >> 7) & 0x03;
}
inline int PresetPitch(uint16_t word)
{
    return (word >> 9) & 0x7F;
}

extern const uint16_t ClassPresets[ClassCount];
extern const uint16_t DrumPresets[DrumPresetCount];
// The preset word of a note on the drum channel, by its pitch (0..127).
uint16_t DrumPresetWord(int pitch);

// What one voice of a preset costs the phone, in its two budgets.
extern const int16_t CostA[PresetCount];
extern const int16_t CostB[PresetCount];

// 16384 x 2^(k/12) for k = -11..11.
constexpr int SemitoneTableSize = 23;
extern const int16_t SemitoneRatio[SemitoneTableSize];
// 16-bit phase increments of the twelve notes 96..107 at 8000 Hz.
extern const uint16_t TopOctaveIncrement[12];
// The 16-bit phase increment of a note: the top octave shifted down, and
// held below half the sampling rate above it.
uint16_t NotePhaseIncrement(int note);

// cos over a quarter wave, 33 points from 32767 down to 0.
extern const int16_t QuarterCosine[33];

// Q15 cosine of a 16-bit phase (65536 = one turn), linearly interpolated.
inline int16_t Cosine(uint16_t phase)
{
    const int quadrant = phase >> 14;
    int position = phase & 0x3FFF; // 14 bits within the quadrant
    if (quadrant & 1)
        position = 0x4000 - position;
    const int index = position >> 9;
    const int fraction = position & 0x1FF;
    int value = QuarterCosine[index];
    if (index < 32)
        value += ((QuarterCosine[index + 1] - value) * fraction) >> 9;
    return int16_t((quadrant == 1 || quadrant == 2) ? -value : value);
}

inline int16_t Sine(uint16_t phase)
{
    return Cosine(uint16_t(phase - 0x4000));
}

// The noise source of the filtered-noise voices: 235 signed 14-bit values.
constexpr int NoiseTableSize = 235;
void FillNoiseTable(int16_t table[NoiseTableSize]);
} // namespace SynthTables
