#pragma once
// The three voice algorithms. Each starts from its preset when the voice is
// first rendered, then renders blocks of 32 samples; it is told the voice's
// remaining time (samples) so it can start its release, and answers the
// voice's new state: 1 sounding, 2 releasing, 3 ended.
#include "SynthPresets.h"
#include "SynthTables.h"

#include <cstdint>

namespace VoiceAlgorithms {
constexpr int BlockSize = 32;

enum VoiceState
{
    StateNew = 0,
    StateSounding = 1,
    StateReleasing = 2,
    StateEnded = 3
};

// Q15 amplitude of a 6-bit velocity.
inline int16_t VelocityGain(int velocity)
{
    return int16_t(velocity * 520);
}

struct OscillatorState
{
    uint16_t phase;
    uint16_t increment;
    int modulatorCount;
    uint16_t modulatorPhase[SynthPresets::MaxModulators];
    uint16_t modulatorIncrement[SynthPresets::MaxModulators];
    int16_t modulatorCoefficient[SynthPresets::MaxModulators]; // 2cos(w), Q14
    int16_t depth;
    int16_t velocityGain;
    int32_t level;
    int segment;
    int segmentCount;
    int releaseStart;
    int64_t releaseLength; // samples before the end at which the release begins
    int64_t segmentLeft;
    bool released;
    int32_t rate[SynthPresets::MaxEnvelopeSegments];
    int64_t duration[SynthPresets::MaxEnvelopeSegments];
};

// The carrier's 16-bit phase increment for a note (69 = 440 Hz).
uint16_t OscillatorIncrement(int note);
void OscillatorStart(OscillatorState& state, const SynthPresets::OscillatorPreset& preset, int note, int velocity,
                     int64_t remaining);
int OscillatorRender(OscillatorState& state, int64_t remaining, int16_t out[BlockSize]);

struct ResonatorState
{
    int count;
    int16_t exponent;
    int16_t releaseDecay;
    int32_t releaseLength;
    bool released;
    uint16_t increment[SynthPresets::MaxPartials];
    int16_t decay[SynthPresets::MaxPartials];
    int16_t c[SynthPresets::MaxPartials];
    int16_t s[SynthPresets::MaxPartials];
    int16_t x[SynthPresets::MaxPartials];
    int16_t y[SynthPresets::MaxPartials];
};

// The zone a note plays: the one keyed on it, else the nearer neighbour
// (the lower one on a tie).
int ResonatorZoneIndex(const SynthPresets::ResonatorPreset& preset, int note);
void ResonatorStart(ResonatorState& state, const SynthPresets::ResonatorPreset& preset, int note, int velocity);
int ResonatorRender(ResonatorState& state, int64_t remaining, int16_t out[BlockSize]);
// Several voices' blocks in one pass, each exactly as ResonatorRender renders
// it, its new state in next: one bank's turns wait on each other, other
// banks' do not, so turned side by side they cost little more than one.
struct ResonatorJob
{
    ResonatorState* state;
    int64_t remaining;
    int16_t* out; // BlockSize samples
    int next;
};
void ResonatorRenderSet(ResonatorJob jobs[], int count);
// The banks are turned in the processor's widest lanes; a test may ask for
// the narrow ones to compare. Answers whether the wide ones are now in use.
bool ResonatorUseWideLanes(bool wide);
// Brings a rotation's terms in, one unit at a time and the larger first (s
// on a tie), until c^2 + s^2 < 32700^2.
void ShrinkIntoCircle(int16_t& c, int16_t& s);

struct NoiseState
{
    uint16_t stateWord; // bits 0-6 filter order, 13-15 envelope phase
    int16_t random;
    int16_t envelope;
    int16_t velocityGain;
    int32_t phaseLeft;
    int16_t history[SynthPresets::MaxNoiseOrder]; // the last outputs, newest first
};

enum NoisePhase
{
    NoiseAttack = 0,
    NoiseDecay = 1,
    NoiseSustain = 2,
    NoiseRelease = 3,
    NoiseEnd = 4
};

// The noise voice's all-pole filter over one block (wrapping arithmetic):
// y = round16(((drive x gain) << shift1) - sum of the last order outputs x
// coefficients) >> shift2), out = y at the velocity's gain. history holds the
// last outputs, newest first, from one block to the next.
void NoiseFilterBlock(const SynthPresets::NoisePreset& preset, int order, int16_t history[],
                      const int16_t drive[BlockSize], int16_t velocityGain, int16_t out[BlockSize]);
void NoiseStart(NoiseState& state, const SynthPresets::NoisePreset& preset, int velocity);
int NoiseRender(NoiseState& state, const SynthPresets::NoisePreset& preset, const int16_t* noiseTable,
                int64_t remaining, int16_t out[BlockSize]);
} // namespace VoiceAlgorithms
