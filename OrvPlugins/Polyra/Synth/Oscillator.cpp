// Algorithm 1: a sine carrier whose phase is bent by up to two sinusoidal
// modulators, under a segmented amplitude envelope that is stretched to the
// note's length.
#include "FixedPoint.h"
#include "VoiceAlgorithms.h"

#include <algorithm>

using namespace FixedPoint;

namespace VoiceAlgorithms {
namespace {
// Modulator frequency over the carrier's, in units of 1/16777 (so 16777 is
// the carrier itself), per waveform variant.
struct VariantRatios
{
    int count;
    int32_t ratio[SynthPresets::MaxModulators];
};

const VariantRatios Variants[8] = {{0, {0, 0}},     {2, {16861, 16798}}, {1, {12583, 0}}, {1, {16777, 0}},
                                   {1, {16798, 0}}, {1, {12583, 0}},     {0, {0, 0}},     {0, {0, 0}}};
constexpr int32_t RatioUnit = 16777;

// The carrier's increment over 4, outside which its modulators stay silent.
constexpr int MinModulatedFrequency = 10;
constexpr int MaxModulatedFrequency = 4000;

constexpr int64_t Forever = INT64_MAX / 4;
constexpr int32_t MaxLevel = 0x7FFF0000;

void LoadSegment(OscillatorState& state, int segment)
{
    state.segment = segment;
    if (segment < state.segmentCount && (state.released || segment < state.releaseStart)) {
        state.segmentLeft = state.duration[segment] > 0 ? state.duration[segment] : 1;
        return;
    }
    // Past the sustained part the level holds until the release; past the
    // release the voice is silent.
    state.segmentLeft = Forever;
}
} // namespace

uint16_t OscillatorIncrement(int note)
{
    const int distance = note - 69;
    const int octave = distance / 12;   // truncated towards zero
    const int semitone = distance % 12; // -11..11
    int64_t value = int64_t(SynthTables::SemitoneRatio[semitone + 11]) * 14418;
    const int shift = octave - 2;
    value = shift >= 0 ? value << shift : value >> -shift;
    value >>= 14;
    if (value > 32764)
        value = 32764; // held below half the sampling rate
    return uint16_t(value & ~int64_t(3));
}

void OscillatorStart(OscillatorState& state, const SynthPresets::OscillatorPreset& preset, int note, int velocity,
                     int64_t remaining)
{
    state = OscillatorState{};
    state.increment = OscillatorIncrement(note);
    state.velocityGain = VelocityGain(velocity);
    state.depth = preset.modulationDepth;

    const VariantRatios& variant = Variants[SynthPresets::ShapeVariant(preset.shape)];
    const int scaled = state.increment >> 2;
    if (scaled > MinModulatedFrequency && scaled < MaxModulatedFrequency) {
        for (int m = 0; m < variant.count; ++m) {
            const int64_t increment = int64_t(state.increment) * variant.ratio[m] / RatioUnit;
            if (increment <= 0 || increment >= 0x8000)
                continue;
            const int index = state.modulatorCount++;
            state.modulatorIncrement[index] = uint16_t(increment);
            state.modulatorCoefficient[index] = SynthTables::Cosine(uint16_t(increment));
        }
    }

    // The envelope: the segments between attack and release stretch by one
    // factor (1/256 units) so that the envelope lasts the note, their rates
    // shrinking alike so that they reach the same levels.
    const uint16_t shape = preset.shape;
    state.segmentCount = SynthPresets::ShapeSegmentCount(shape);
    const int attack = std::min(SynthPresets::ShapeAttackCount(shape), state.segmentCount);
    const int release = std::min(SynthPresets::ShapeReleaseCount(shape), state.segmentCount - attack);
    state.releaseStart = state.segmentCount - release;
    int64_t edges = 0, middle = 0;
    for (int i = 0; i < state.segmentCount; ++i) {
        state.rate[i] = preset.segments[i].rate;
        state.duration[i] = preset.segments[i].duration;
        (i >= attack && i < state.releaseStart ? middle : edges) += preset.segments[i].duration;
        if (i >= state.releaseStart)
            state.releaseLength += preset.segments[i].duration;
    }
    if (middle > 0 && remaining > edges) {
        int64_t factor = (remaining - edges) * 256 / middle;
        factor = std::clamp<int64_t>(factor, 1, 0xFFFFFF);
        for (int i = attack; i < state.releaseStart; ++i) {
            state.duration[i] = state.duration[i] * factor / 256;
            state.rate[i] = int32_t(int64_t(state.rate[i]) * 256 / factor);
        }
    }
    LoadSegment(state, 0);
}

int OscillatorRender(OscillatorState& state, int64_t remaining, int16_t out[BlockSize])
{
    if (!state.released && state.releaseStart < state.segmentCount && remaining < state.releaseLength) {
        state.released = true;
        LoadSegment(state, state.releaseStart);
    }

    // The partials, in wrapping arithmetic: each modulator runs the two-term
    // recursion from a state taken afresh from its phase every block, so
    // that rounding never accumulates.
    set_wrap();
    int16_t modulation[BlockSize] = {};
    for (int m = 0; m < state.modulatorCount; ++m) {
        const uint16_t phase = state.modulatorPhase[m];
        const uint16_t step = state.modulatorIncrement[m];
        const int32_t coefficient = state.modulatorCoefficient[m];
        int16_t y2 = mul16(state.depth, SynthTables::Cosine(uint16_t(phase - 2 * step)));
        int16_t y1 = mul16(state.depth, SynthTables::Cosine(uint16_t(phase - step)));
        // Plain two's complement sums (what wrapping mode gives) keep the
        // mode flags out of the innermost loop.
        for (int i = 0; i < BlockSize; i += 2) {
            const int16_t y0 = Detail::Wrap16(((coefficient * y1) >> 14) - y2);
            const int16_t yNext = Detail::Wrap16(((coefficient * y0) >> 14) - y1);
            modulation[i] = Detail::Wrap16(modulation[i] + y0);
            modulation[i + 1] = Detail::Wrap16(modulation[i + 1] + yNext);
            y2 = y0;
            y1 = yNext;
        }
        state.modulatorPhase[m] = uint16_t(phase + BlockSize * step);
    }

    // Waveform and envelope, saturating.
    // The state's fields live in locals through the loop: written through
    // out, samples could otherwise be the state's own, read again each time.
    set_saturate();
    int32_t level = state.level;
    uint16_t phase = state.phase;
    const uint16_t increment = state.increment;
    const int16_t velocityGain = state.velocityGain;
    int64_t segmentLeft = state.segmentLeft;
    int32_t rate = segmentLeft != Forever ? state.rate[state.segment] : 0;
    for (int i = 0; i < BlockSize; ++i) {
        const int16_t wave = SynthTables::Cosine(uint16_t(phase + uint16_t(modulation[i])));
        out[i] = mul16(mul16(wave, high16(level)), velocityGain);
        phase = uint16_t(phase + increment);

        if (segmentLeft != Forever) {
            // A saturating step, held within the envelope's range.
            level = int32_t(std::clamp<int64_t>(int64_t(level) + rate, 0, MaxLevel));
            if (--segmentLeft <= 0) {
                LoadSegment(state, state.segment + 1);
                segmentLeft = state.segmentLeft;
                rate = segmentLeft != Forever ? state.rate[state.segment] : 0;
                if (state.released && state.segment >= state.segmentCount)
                    level = 0;
            }
        }
    }
    state.level = level;
    state.phase = phase;
    state.segmentLeft = segmentLeft;
    set_wrap();

    if (state.released && state.segment >= state.segmentCount)
        return StateEnded;
    return state.released ? StateReleasing : StateSounding;
}
} // namespace VoiceAlgorithms
