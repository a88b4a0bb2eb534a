// Algorithm 3: noise through an all-pole filter. The excitation of each
// block mixes five windows of the noise table with signs drawn from the
// voice's own random word; a five-phase envelope shapes it.
#include "FixedPoint.h"
#include "FixedPointLanes.h"
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

// A run of envelope levels from level on, each mul16 of the last by the
// rate; answers the level after the run. With a rate other than -32768,
// mul16 is the exact (a x b) >> 15, and the chain from level to level is a
// multiply and a shift.
int16_t EnvelopeRun(int16_t level, int16_t rate, int16_t levels[], int run)
{
    if (rate == INT16_MIN) {
        for (int i = 0; i < run; ++i) {
            levels[i] = level;
            level = mul16(level, rate);
        }
        return level;
    }
    int32_t current = level;
    for (int i = 0; i < run; ++i) {
        levels[i] = int16_t(current);
        current = (current * rate) >> 15;
    }
    return int16_t(current);
}

// mul16 of a block by a block, and of a block by one gain.
void MultiplyBlocks(const int16_t a[BlockSize], const int16_t b[BlockSize], int16_t out[BlockSize])
{
#if defined(__SSE2__)
    static_assert(BlockSize % 8 == 0, "blocks are multiplied eight samples at a time");
    for (int i = 0; i < BlockSize; i += 8)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         Mul16Lanes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i))));
#else
    for (int i = 0; i < BlockSize; ++i)
        out[i] = mul16(a[i], b[i]);
#endif
}

void MultiplyBlock(const int16_t a[BlockSize], int16_t gain, int16_t out[BlockSize])
{
    int16_t gains[BlockSize];
    std::fill(gains, gains + BlockSize, gain);
    MultiplyBlocks(a, gains, out);
}
} // namespace

namespace {
// The left shift by which shr32 (wrapping) moves the filter's sum for a
// negative shift2, when it is a plain one: 0-31.
bool PlainLeftShift(int shift2, int& count)
{
    if (shift2 > 0)
        return false;
    count = shift2 == 0 ? 0 : Detail::ShiftCount(-shift2);
    return count >= 0 && count < 32;
}

// The all-pole recursion of order two with a left shift (every noise
// preset's), the last two outputs in registers. With neither coefficient
// -32768, mul32 is the exact 2ab; a left shift distributes over wrapping
// sums, so it is folded into the term and the coefficients, and each output
// waits only on one multiply, one subtraction and the rounding. Stops short
// of an output that the rounding must clamp, for the general loop to take it
// from there; answers the outputs given.
int TwoPoleRecursion(const SynthPresets::NoisePreset& preset, const int32_t term[BlockSize], int16_t outputs[])
{
    const int16_t c0 = preset.coefficients[0], c1 = preset.coefficients[1];
    int shift = 0;
    if (c0 == INT16_MIN || c1 == INT16_MIN || !PlainLeftShift(preset.shift2, shift))
        return 0;
    const uint32_t k0 = uint32_t(2 * c0) << shift, k1 = uint32_t(2 * c1) << shift;
    int32_t last = outputs[-1], before = outputs[-2];
    for (int i = 0; i < BlockSize; ++i) {
        const int32_t shifted = int32_t((uint32_t(term[i]) << shift) - k1 * uint32_t(before) - k0 * uint32_t(last));
        const int32_t rounded = (shifted >> 16) + ((shifted >> 15) & 1); // round16 short of its clamp
        if (rounded > INT16_MAX)
            return i;
        before = last;
        last = rounded;
        outputs[i] = int16_t(rounded);
    }
    return BlockSize;
}
} // namespace

void NoiseFilterBlock(const SynthPresets::NoisePreset& preset, int order, int16_t history[],
                      const int16_t drive[BlockSize], int16_t velocityGain, int16_t out[BlockSize])
{
    // The excitation's term of each output, which no output feeds back into.
    int32_t term[BlockSize];
    for (int i = 0; i < BlockSize; ++i)
        term[i] = shl32<Wrapping>(mul32(drive[i], preset.gain), preset.shift1);
    // The history, oldest first, with the block's outputs after it: each
    // output reads the ones before it where they lie, and nothing moves.
    int16_t line[SynthPresets::MaxNoiseOrder + BlockSize];
    int16_t* const outputs = line + order;
    for (int k = 0; k < order; ++k)
        line[order - 1 - k] = history[k];
    const int done = order == 2 ? TwoPoleRecursion(preset, term, outputs) : 0;
    for (int i = done; i < BlockSize; ++i) {
        int32_t acc = term[i];
        for (int k = 0; k < order; ++k)
            acc = sub32<Wrapping>(acc, mul32(preset.coefficients[k], outputs[i - 1 - k]));
        outputs[i] = round16(shr32<Wrapping>(acc, preset.shift2));
    }
    for (int k = 0; k < order; ++k)
        history[k] = outputs[BlockSize - 1 - k];
    MultiplyBlock(outputs, velocityGain, out);
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
    // is taken a phase at a time, its level in a register through each; the
    // excitation is scaled by the levels once they are all known.
    int16_t levels[BlockSize];
    for (int i = 0; i < BlockSize;) {
        const int phase = Phase(state);
        if (phase >= NoiseEnd) {
            std::fill(levels + i, levels + BlockSize, state.envelope);
            break;
        }
        const bool held = preset.phaseLength[phase] == UntilReleased;
        const int run = held ? BlockSize - i : std::min(BlockSize - i, std::max(int(state.phaseLeft), 1));
        state.envelope = EnvelopeRun(state.envelope, preset.phaseRate[phase], levels + i, run);
        i += run;
        if (!held && (state.phaseLeft -= run) <= 0)
            EnterPhase(state, preset, phase + 1);
    }
    int16_t drive[BlockSize];
    MultiplyBlocks(levels, excitation, drive);
    NoiseFilterBlock(preset, Order(state), state.history, drive, state.velocityGain, out);
    set_wrap();
    if (Phase(state) == NoiseEnd)
        return StateEnded;
    return Phase(state) >= NoiseRelease ? StateReleasing : StateSounding;
}
} // namespace VoiceAlgorithms
