#include "SynthPresets.h"

namespace SynthPresets {
namespace {
constexpr int32_t SamplesPerMs = 8;

// A segment moving the envelope between two Q15 levels in a number of milliseconds.
constexpr EnvelopeSegment Ramp(int from, int to, int ms)
{
    return {int32_t((int64_t(to - from) * 65536) / (ms * SamplesPerMs)), ms * SamplesPerMs};
}
constexpr EnvelopeSegment Hold(int ms)
{
    return {0, ms * SamplesPerMs};
}

// Oscillator presets. Variant 0: a plain sine; 1: two modulators just above
// the carrier (a slow shimmer); 2 and 5: a modulator at three quarters of it
// (a reedy edge when kept shallow); 3: one at the carrier (brass and organ
// brightness); 4: one a hair above it.
const OscillatorPreset Organ = {OscillatorShape(3, 3, 1, 1), 1500, {Ramp(0, 15000, 10), Hold(100), Ramp(15000, 0, 50)}};
const OscillatorPreset Strings = {
    OscillatorShape(1, 3, 1, 1), 1200, {Ramp(0, 14000, 120), Ramp(14000, 12500, 200), Ramp(12500, 0, 60)}};
const OscillatorPreset Brass = {
    OscillatorShape(3, 4, 1, 1), 4000, {Ramp(0, 16000, 40), Ramp(16000, 13000, 80), Hold(200), Ramp(13000, 0, 50)}};
const OscillatorPreset Reed = {
    OscillatorShape(4, 3, 1, 1), 3000, {Ramp(0, 14000, 30), Ramp(14000, 12000, 300), Ramp(12000, 0, 50)}};
const OscillatorPreset Pipe = {OscillatorShape(2, 3, 1, 1), 500, {Ramp(0, 14000, 60), Hold(200), Ramp(14000, 0, 60)}};
const OscillatorPreset SynthLead = {OscillatorShape(0, 3, 1, 1), 0, {Ramp(0, 16000, 5), Hold(100), Ramp(16000, 0, 40)}};
const OscillatorPreset SoftLead = {
    OscillatorShape(5, 3, 1, 1), 800, {Ramp(0, 12000, 20), Hold(100), Ramp(12000, 0, 40)}};

// Resonator presets: partial ratios over the note (1024 = 1), amplitudes and
// per-sample decays (32754 rings about 2 s, 32655 about 0.25 s).
const ResonatorPreset Piano = {
    3,
    400,
    32580,
    {{(36 << 8) | 6,
      1,
      {{9000, 1024, 32761},
       {7000, 2050, 32759},
       {5000, 3078, 32757},
       {3500, 4108, 32754},
       {2500, 5140, 32749},
       {1800, 6175, 32744}}},
     {(60 << 8) | 5,
      1,
      {{12000, 1024, 32759}, {6000, 2049, 32754}, {3500, 3076, 32749}, {2000, 4104, 32740}, {1200, 5134, 32733}}},
     {(84 << 8) | 3, 1, {{14000, 1024, 32749}, {4000, 2049, 32733}, {1500, 3076, 32711}}}}};
const ResonatorPreset Mallet = {
    1, 400, 32580, {{(72 << 8) | 3, 1, {{14000, 1024, 32744}, {5000, 4024, 32697}, {2000, 9421, 32580}}}}};
const ResonatorPreset Guitar = {
    2,
    400,
    32486,
    {{(40 << 8) | 6,
      1,
      {{10000, 1024, 32757},
       {8000, 2048, 32752},
       {5000, 3072, 32744},
       {3000, 4096, 32737},
       {2000, 5120, 32721},
       {1500, 6144, 32711}}},
     {(64 << 8) | 4, 1, {{12000, 1024, 32752}, {7000, 2048, 32744}, {3500, 3072, 32733}, {2000, 4096, 32721}}}}};
const ResonatorPreset Bass = {
    1,
    400,
    32486,
    {{(40 << 8) | 4, 1, {{14000, 1024, 32754}, {8000, 2048, 32744}, {3000, 3072, 32728}, {1500, 4096, 32697}}}}};
const ResonatorPreset Bells = {
    1,
    450,
    32627,
    {{(60 << 8) | 4, 1, {{9000, 1024, 32759}, {7000, 1448, 32757}, {5000, 2365, 32754}, {3000, 3246, 32749}}}}};
const ResonatorPreset LowTom = {1, 400, 32486, {{(57 << 8) | 2, 0, {{16000, 512, 32711}, {6000, 819, 32674}}}}};
const ResonatorPreset HighTom = {1, 400, 32486, {{(61 << 8) | 2, 0, {{16000, 512, 32705}, {6000, 819, 32655}}}}};
const ResonatorPreset LowBell = {1, 400, 32486, {{(83 << 8) | 2, 0, {{12000, 1024, 32697}, {6000, 1536, 32674}}}}};
const ResonatorPreset HighBell = {1, 400, 32486, {{(90 << 8) | 2, 0, {{12000, 1024, 32687}, {5000, 1516, 32627}}}}};
const ResonatorPreset Triangle = {1, 400, 32486, {{(101 << 8) | 2, 0, {{12000, 1024, 32711}, {4000, 1362, 32674}}}}};
const ResonatorPreset Kick = {1, 400, 32486, {{(61 << 8) | 2, 0, {{20000, 205, 32687}, {8000, 430, 32580}}}}};

// Noise presets: a two-pole filter (1 + a1/z + a2/z^2) over the excitation.
const NoisePreset Crash = {2, {2563, 4096}, 22000, -1, -1, {2, 60, 255, 25}, 30000, {32767, 32740, 32749, 32486}};
const NoisePreset ClosedHat = {2, {15906, 5898}, 15000, -1, -1, {1, 6, 255, 10}, 30000, {32767, 32416, 32416, 32207}};
const NoisePreset Ride = {2, {15408, 10486}, 11000, -1, -1, {2, 40, 255, 25}, 28000, {32767, 32733, 32740, 32486}};
const NoisePreset Snare = {2, {-11585, 4096}, 18000, -1, -1, {1, 20, 255, 20}, 32000, {32767, 32655, 32627, 32416}};

const Preset Presets[] = {{KindResonator, nullptr, &Piano, nullptr},      // 0 piano
                          {KindResonator, nullptr, &Mallet, nullptr},     // 1 mallets
                          {KindOscillator, &Organ, nullptr, nullptr},     // 2 organ
                          {KindResonator, nullptr, &Guitar, nullptr},     // 3 guitar
                          {KindResonator, nullptr, &Bass, nullptr},       // 4 bass
                          {KindOscillator, &Strings, nullptr, nullptr},   // 5 strings
                          {KindOscillator, &Brass, nullptr, nullptr},     // 6 brass
                          {KindOscillator, &Reed, nullptr, nullptr},      // 7 reed
                          {KindOscillator, &Pipe, nullptr, nullptr},      // 8 pipe
                          {KindResonator, nullptr, &Bells, nullptr},      // 9 effects
                          {KindNoise, nullptr, nullptr, &Crash},          // 10 crash cymbal
                          {KindNoise, nullptr, nullptr, &ClosedHat},      // 11 closed hi-hat, side stick
                          {KindNoise, nullptr, nullptr, &Ride},           // 12 ride cymbal
                          {KindResonator, nullptr, &LowTom, nullptr},     // 13 low tom
                          {KindResonator, nullptr, &HighTom, nullptr},    // 14 high tom
                          {KindResonator, nullptr, &LowBell, nullptr},    // 15 low agogo, cuica
                          {KindResonator, nullptr, &HighBell, nullptr},   // 16 high agogo, cuica
                          {KindResonator, nullptr, &Triangle, nullptr},   // 17 ride bell, claves, triangle
                          {KindResonator, nullptr, &Kick, nullptr},       // 18 bass drum
                          {KindNoise, nullptr, nullptr, &Snare},          // 19 snare
                          {KindOscillator, &SynthLead, nullptr, nullptr}, // 20 synth lead: the plain sine
                          {KindOscillator, &SoftLead, nullptr, nullptr}}; // 21 soft lead
static_assert(sizeof(Presets) / sizeof(Presets[0]) == 22, "one entry per preset");

const Preset NoPreset = {KindNone, nullptr, nullptr, nullptr};
} // namespace

const Preset& PresetData(int number)
{
    return (number >= 0 && number < 22) ? Presets[number] : NoPreset;
}
} // namespace SynthPresets
