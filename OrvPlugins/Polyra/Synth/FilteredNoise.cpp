// Algorithm 3: noise through an all-pole filter. The excitation of each
// block mixes five windows of the noise table with signs drawn from the
// voice's own random word; a five-phase envelope shapes it.
#include "FixedPoint.h"
#include "VoiceAlgorithms.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// One block's excitation from the windows of the noise table starting at
// window[0], window[47] ...: each added or taken away by its bit of signs,
// the sum halved.
void Excitation(const int16_t* window, int signs, int16_t excitation[BlockSize])
{
#if defined(__SSE2__)
    // Eight samples at a time, in 32-bit lanes: five 14-bit values can pass 16 bits.
    static_assert(BlockSize % 8 == 0, "the excitation is built eight samples at a time");
    for (int i = 0; i < BlockSize; i += 8) {
        __m128i low = _mm_setzero_si128(), high = _mm_setzero_si128();
        for (int w = 0; w < WindowCount; ++w) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + w * WindowSpacing + i));
            const __m128i vLow = _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
            const __m128i vHigh = _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
            if ((signs >> w) & 1) {
                low = _mm_add_epi32(low, vLow);
                high = _mm_add_epi32(high, vHigh);
            } else {
                low = _mm_sub_epi32(low, vLow);
                high = _mm_sub_epi32(high, vHigh);
            }
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(excitation + i),
                         _mm_packs_epi32(_mm_srai_epi32(low, 1), _mm_srai_epi32(high, 1)));
    }
#else
    for (int i = 0; i < BlockSize; ++i) {
        int32_t sum = 0;
        for (int w = 0; w < WindowCount; ++w) {
            const int16_t value = window[w * WindowSpacing + i];
            sum += (signs >> w) & 1 ? value : -value;
        }
        excitation[i] = int16_t(sum >> 1);
    }
#endif
}

int Order(const NoiseState& state)
{
    const int order = state.stateWord & OrderMask;
    return order < SynthPresets::MaxNoiseOrder ? order : SynthPresets::MaxNoiseOrder;
}
} // namespace

namespace {
// The all-pole recursion of order two (every noise preset's) with the last
// two outputs held in registers rather than read back from memory.
void TwoPoleRecursion(const SynthPresets::NoisePreset& preset, int16_t history[], const int32_t term[BlockSize],
                      int16_t outputs[BlockSize])
{
    const int16_t c0 = preset.coefficients[0], c1 = preset.coefficients[1];
    int16_t last = history[0], before = history[1];
    for (int i = 0; i < BlockSize; ++i) {
        const int32_t acc = sub32<Wrapping>(sub32<Wrapping>(term[i], mul32(c0, last)), mul32(c1, before));
        before = last;
        last = round16(shr32<Wrapping>(acc, preset.shift2));
        outputs[i] = last;
    }
    history[0] = last;
    history[1] = before;
}
} // namespace

void NoiseFilterBlock(const SynthPresets::NoisePreset& preset, int order, int16_t history[], const int16_t drive[BlockSize],
                      int16_t velocityGain, int16_t out[BlockSize])
{
    // The excitation's term of each output, which no output feeds back into.
    int32_t term[BlockSize];
    for (int i = 0; i < BlockSize; ++i)
        term[i] = shl32<Wrapping>(mul32(drive[i], preset.gain), preset.shift1);
    // The history, oldest first, with the block's outputs after it: each
    // output reads the ones before it where they lie, and nothing moves.
    int16_t line[SynthPresets::MaxNoiseOrder + BlockSize];
    int16_t* const outputs = line + order;
    if (order == 2)
        TwoPoleRecursion(preset, history, term, outputs);
    else {
        for (int k = 0; k < order; ++k)
            line[order - 1 - k] = history[k];
        for (int i = 0; i < BlockSize; ++i) {
            int32_t acc = term[i];
            for (int k = 0; k < order; ++k)
                acc = sub32<Wrapping>(acc, mul32(preset.coefficients[k], outputs[i - 1 - k]));
            outputs[i] = round16(shr32<Wrapping>(acc, preset.shift2));
        }
        for (int k = 0; k < order; ++k)
            history[k] = outputs[BlockSize - 1 - k];
    }
    for (int i = 0; i < BlockSize; ++i)
        out[i] = mul16(outputs[i], velocityGain);
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
    Excitation(noiseTable + slide, signs, excitation);

    // The envelope runs ahead of the filter: it does not hear the outputs. It
    // is taken a phase at a time, its level in a register through each.
    int16_t drive[BlockSize];
    for (int i = 0; i < BlockSize;) {
        const int phase = Phase(state);
        if (phase >= NoiseEnd) {
            for (; i < BlockSize; ++i)
                drive[i] = mul16(state.envelope, excitation[i]);
            break;
        }
        const bool held = preset.phaseLength[phase] == UntilReleased;
        const int run = held ? BlockSize - i : std::min(BlockSize - i, std::max(int(state.phaseLeft), 1));
        const int16_t rate = preset.phaseRate[phase];
        int16_t envelope = state.envelope;
        for (const int end = i + run; i < end; ++i) {
            drive[i] = mul16(envelope, excitation[i]);
            envelope = mul16(envelope, rate);
        }
        state.envelope = envelope;
        if (!held && (state.phaseLeft -= run) <= 0)
            EnterPhase(state, preset, phase + 1);
    }
    NoiseFilterBlock(preset, Order(state), state.history, drive, state.velocityGain, out);
    set_wrap();
    if (Phase(state) == NoiseEnd)
        return StateEnded;
    return Phase(state) >= NoiseRelease ? StateReleasing : StateSounding;
}
} // namespace VoiceAlgorithms
