#pragma once
// The sound of the 22 presets: each is the parameter set of one of the three
// voice algorithms. The numbers are sound design, tuned by ear; the structure
// is what the algorithms read.
#include <cstdint>

namespace SynthPresets {
// One envelope segment: a level change per sample (level 0..0x7FFF0000) held
// for a number of samples.
struct EnvelopeSegment
{
    int32_t rate;
    int32_t duration;
};

constexpr int MaxEnvelopeSegments = 15;
constexpr int MaxModulators = 2;

// Phase-modulation oscillator. The shape word holds the release segment
// count (bits 0-1), the attack segment count (bits 2-5), the segment count
// (bits 6-9) and the waveform variant (bits 10-12).
struct OscillatorPreset
{
    uint16_t shape;
    int16_t modulationDepth; // peak phase deviation of each modulator (65536 = one turn)
    EnvelopeSegment segments[MaxEnvelopeSegments];
};

constexpr uint16_t OscillatorShape(int variant, int segmentCount, int attackCount, int releaseCount)
{
    return uint16_t((variant << 10) | (segmentCount << 6) | (attackCount << 2) | releaseCount);
}
inline int ShapeReleaseCount(uint16_t shape)
{
    return shape & 0x03;
}
inline int ShapeAttackCount(uint16_t shape)
{
    return (shape >> 2) & 0x0F;
}
inline int ShapeSegmentCount(uint16_t shape)
{
    const int count = (shape >> 6) & 0x0F;
    return count > MaxEnvelopeSegments ? MaxEnvelopeSegments : count;
}
inline int ShapeVariant(uint16_t shape)
{
    return (shape >> 10) & 0x07;
}

// Resonator bank: each key zone is a set of damped partials; the zone word
// holds the zone's key (high byte) and its partial count (low byte).
constexpr int MaxPartials = 6;
constexpr int MaxZones = 3;

struct ResonatorPartial
{
    int16_t amplitude; // Q15 at full velocity
    int32_t ratio;     // frequency over the note's, 1024 = 1
    int16_t decay;     // Q15 amplitude kept per sample
};

struct ResonatorZone
{
    uint16_t zoneWord;
    int16_t exponent; // right shift of the partials' sum
    ResonatorPartial partials[MaxPartials];
};

struct ResonatorPreset
{
    int zoneCount;
    int32_t releaseLength; // samples before the end at which the damper falls
    int16_t releaseDecay;  // Q15 amplitude kept per sample once damped
    ResonatorZone zones[MaxZones];
};

// Filtered noise: an all-pole filter over the excitation, shaped by a
// five-phase envelope (attack, decay, sustain, release, end).
constexpr int MaxNoiseOrder = 4;
constexpr int NoisePhaseCount = 4;

struct NoisePreset
{
    uint16_t stateWord;                   // bits 0-6: filter order
    int16_t coefficients[MaxNoiseOrder];  // Q14, on the last outputs, newest first
    int16_t gain;                         // Q15
    int16_t shift1;                       // applied to the excitation term (shl32)
    int16_t shift2;                       // applied to the sum (shr32)
    uint8_t phaseLength[NoisePhaseCount]; // units of 16 samples; 255 = until released
    int16_t startLevel;                   // Q15 envelope at the onset
    int16_t phaseRate[NoisePhaseCount];   // Q15 envelope kept per sample in each phase
};

enum Kind
{
    KindNone = 0,
    KindOscillator = 1,
    KindResonator = 2,
    KindNoise = 3
};

struct Preset
{
    int kind;
    const OscillatorPreset* oscillator;
    const ResonatorPreset* resonator;
    const NoisePreset* noise;
};

const Preset& PresetData(int number);
} // namespace SynthPresets
