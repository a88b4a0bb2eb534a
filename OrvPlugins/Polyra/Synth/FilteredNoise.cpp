// Algorithm 3: noise through an all-pole filter. The excitation of each
// block mixes five windows of the noise table with signs drawn from the
// voice's own random word; a five-phase envelope shapes it.
#include "FixedPoint.h"
#include "VoiceAlgorithms.h"

using namespace FixedPoint;

namespace VoiceAlgorithms {
namespace {
constexpr int WindowCount = 5;
constexpr int WindowSpacing = 47; // 235 / 5
constexpr int PhaseShift = 13;
constexpr uint16_t OrderMask = 0x7F;
constexpr uint8_t UntilReleased = 255;

int Phase(const NoiseState& state)
{
    return state.stateWord >> PhaseShift;
}

void EnterPhase(NoiseState& state, const SynthPresets::NoisePreset& preset, int phase)
{
    // Phases of no length are passed through at once.
    while (phase < NoiseEnd && preset.phaseLength[phase] == 0)
        ++phase;
    state.stateWord = uint16_t((phase << PhaseShift) | (state.stateWord & OrderMask));
    state.phaseLeft = phase < NoiseEnd ? int32_t(preset.phaseLength[phase]) * 16 : 0;
    if (phase == NoiseEnd)
        state.envelope = 0;
}

int Order(const NoiseState& state)
{
    const int order = state.stateWord & OrderMask;
    return order < SynthPresets::MaxNoiseOrder ? order : SynthPresets::MaxNoiseOrder;
}
} // namespace

void NoiseFilterBlock(const SynthPresets::NoisePreset& preset, int order, int16_t history[], const int16_t drive[BlockSize],
                      int16_t velocityGain, int16_t out[BlockSize])
{
    // The history, oldest first, with the block's outputs after it: each
    // output reads the ones before it where they lie, and nothing moves.
    int16_t line[SynthPresets::MaxNoiseOrder + BlockSize];
    for (int k = 0; k < order; ++k)
        line[order - 1 - k] = history[k];
    int16_t* const outputs = line + order;
    for (int i = 0; i < BlockSize; ++i) {
        int32_t acc = shl32<Wrapping>(mul32(drive[i], preset.gain), preset.shift1);
        for (int k = 0; k < order; ++k)
            acc = sub32<Wrapping>(acc, mul32(preset.coefficients[k], outputs[i - 1 - k]));
        outputs[i] = round16(shr32<Wrapping>(acc, preset.shift2));
        out[i] = mul16(outputs[i], velocityGain);
    }
    for (int k = 0; k < order; ++k)
        history[k] = outputs[BlockSize - 1 - k];
}

void NoiseStart(NoiseState& state, const SynthPresets::NoisePreset& preset, int velocity)
{
    state = NoiseState{};
    state.stateWord = uint16_t(preset.stateWord & OrderMask);
    state.random = 0x1234;
    state.envelope = preset.startLevel;
    state.velocityGain = VelocityGain(velocity);
    EnterPhase(state, preset, NoiseAttack);
}

int NoiseRender(NoiseState& state, const SynthPresets::NoisePreset& preset, const int16_t* noiseTable,
                int64_t remaining, int16_t out[BlockSize])
{
    set_wrap();
    const int32_t releaseLength = int32_t(preset.phaseLength[NoiseRelease]) * 16;
    if (Phase(state) < NoiseRelease && remaining < releaseLength)
        EnterPhase(state, preset, NoiseRelease);

    // The random word: x' = (2 x 10037 x + 25798) >> 2, on 16 bits. Its five
    // low bits sign the windows, the next four slide them.
    state.random = int16_t(uint16_t(uint32_t((2 * 10037 * int32_t(state.random) + 25798) >> 2)));
    const int signs = state.random & 0x1F;
    const int slide = (state.random >> 5) & 0x0F;
    int16_t excitation[BlockSize];
    for (int i = 0; i < BlockSize; ++i) {
        int32_t sum = 0;
        for (int w = 0; w < WindowCount; ++w) {
            const int16_t value = noiseTable[w * WindowSpacing + slide + i];
            sum += (signs >> w) & 1 ? value : -value;
        }
        excitation[i] = int16_t(sum >> 1);
    }

    // The envelope runs ahead of the filter: it does not hear the outputs.
    int16_t drive[BlockSize];
    for (int i = 0; i < BlockSize; ++i) {
        const int phase = Phase(state);
        drive[i] = mul16(state.envelope, excitation[i]);
        if (phase < NoiseEnd) {
            state.envelope = mul16(state.envelope, preset.phaseRate[phase]);
            if (preset.phaseLength[phase] != UntilReleased && --state.phaseLeft <= 0)
                EnterPhase(state, preset, phase + 1);
        }
    }
    NoiseFilterBlock(preset, Order(state), state.history, drive, state.velocityGain, out);
    set_wrap();
    if (Phase(state) == NoiseEnd)
        return StateEnded;
    return Phase(state) >= NoiseRelease ? StateReleasing : StateSounding;
}
} // namespace VoiceAlgorithms
