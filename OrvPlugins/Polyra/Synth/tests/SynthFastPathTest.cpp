// The resonator bank, the noise filter and the mix against the recurrences
// written with the fixed-point operators, block after block, over random
// and edge states: the fast paths must give the same samples bit for bit.
#include "FixedPoint.h"
#include "VoiceAlgorithms.h"
#include "VoicePool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

using namespace FixedPoint;
using namespace VoiceAlgorithms;

namespace {
struct ModeGuard
{
    ~ModeGuard() { set_wrap(); }
};

// The widest lanes back in use after a test that asked for the narrow ones.
struct LaneGuard
{
    ~LaneGuard() { ResonatorUseWideLanes(true); }
};

const int16_t Edges[] = {0, 1, -1, 32767, -32767, -32768, 16384, -16384, 32699, -32699};

int16_t RandomOrEdge(std::mt19937& random)
{
    return random() % 4 == 0 ? Edges[random() % (sizeof Edges / sizeof Edges[0])] : int16_t(random());
}

// The bank's block as the operators define it: each partial turned by its
// rotation (saturating), the partials summed, the sum scaled by the exponent.
void OperatorResonatorBlock(ResonatorState& state, int16_t out[BlockSize])
{
    set_saturate();
    int32_t sum[BlockSize] = {};
    for (int k = 0; k < state.count; ++k) {
        const int16_t c = state.c[k], s = state.s[k];
        for (int i = 0; i < BlockSize; ++i) {
            const int16_t x = state.x[k], y = state.y[k];
            state.x[k] = round16(sub32(mul32(c, x), mul32(s, y)));
            state.y[k] = round16(add32(mul32(s, x), mul32(c, y)));
            sum[i] = add32(sum[i], state.x[k]);
        }
    }
    for (int i = 0; i < BlockSize; ++i)
        out[i] = high16(shl32(shr32(sum[i], state.exponent), 16));
    set_wrap();
}

enum class Rotation
{
    InsideTheCircle, // what the bank sets: a decaying turn
    AnyTerm,         // any term but -32768: turns that grow and saturate
    OneTermMinimum   // one term -32768: the operators' own loop
};

ResonatorState RandomBank(std::mt19937& random, int count, Rotation rotation)
{
    ResonatorState state{};
    state.count = count;
    state.released = true; // no damper: the rotations stay as set here
    const int16_t exponents[] = {0, 1, 2, -1, -3, 31, 40};
    state.exponent = exponents[random() % 7];
    for (int k = 0; k < count; ++k) {
        int16_t c = RandomOrEdge(random), s = RandomOrEdge(random);
        if (rotation != Rotation::OneTermMinimum) {
            c = c == -32768 ? -32767 : c;
            s = s == -32768 ? -32767 : s;
        }
        if (rotation == Rotation::InsideTheCircle)
            while (int64_t(c) * c + int64_t(s) * s >= int64_t(32700) * 32700) {
                c = int16_t(c / 2 + (c > 0 ? 16000 : -16000) / 8);
                s = int16_t(s / 2);
            }
        state.c[k] = c;
        state.s[k] = s;
        state.x[k] = RandomOrEdge(random);
        state.y[k] = RandomOrEdge(random);
    }
    if (rotation == Rotation::OneTermMinimum) {
        int16_t* const terms = random() % 2 ? state.c : state.s;
        terms[random() % unsigned(count)] = -32768;
    }
    return state;
}
} // namespace

// In the narrow lanes, and in the wide ones where the processor has them.
TEST(SynthFastPaths, ResonatorBlocksMatchTheOperatorRecurrence)
{
    ModeGuard guard;
    LaneGuard lanes;
    std::mt19937 random(47);
    for (bool wide : {false, true}) {
        const bool inUse = ResonatorUseWideLanes(wide);
        for (Rotation rotation : {Rotation::InsideTheCircle, Rotation::AnyTerm, Rotation::OneTermMinimum}) {
            for (int count = 1; count <= SynthPresets::MaxPartials; ++count) {
                for (int trial = 0; trial < 30; ++trial) {
                    ResonatorState fast = RandomBank(random, count, rotation);
                    ResonatorState reference = fast;
                    for (int block = 0; block < 40; ++block) {
                        int16_t expected[BlockSize], actual[BlockSize];
                        OperatorResonatorBlock(reference, expected);
                        ASSERT_EQ(ResonatorRender(fast, 1 << 20, actual), StateReleasing);
                        for (int i = 0; i < BlockSize; ++i)
                            ASSERT_EQ(actual[i], expected[i])
                                << "partials " << count << " trial " << trial << " block " << block << " sample " << i
                                << " rotation " << int(rotation) << " wide " << inUse;
                        for (int k = 0; k < count; ++k) {
                            ASSERT_EQ(fast.x[k], reference.x[k]);
                            ASSERT_EQ(fast.y[k], reference.y[k]);
                        }
                    }
                }
            }
        }
    }
}

// Voices turned side by side (in the wide lanes where the processor has
// them) give each voice's own blocks alone in the narrow lanes, with their
// dampers setting in at any block, for sets of every size up to past one
// batch, every bank size and any mix of lane and operator banks.
TEST(SynthFastPaths, ResonatorSetsRenderAsEachVoiceAlone)
{
    ModeGuard guard;
    LaneGuard lanes;
    std::mt19937 random(2047);
    const Rotation rotations[] = {Rotation::InsideTheCircle, Rotation::AnyTerm, Rotation::OneTermMinimum};
    for (int size = 1; size <= 18; ++size) {
        for (int trial = 0; trial < 24; ++trial) {
            std::vector<ResonatorState> banks;
            std::vector<int64_t> remaining;
            for (int v = 0; v < size; ++v) {
                // Every bank size and rotation kind, beside every other.
                const int count = 1 + (v + trial) % SynthPresets::MaxPartials;
                ResonatorState bank = RandomBank(random, count, rotations[(v * 7 + trial) % 3 == 0 ? trial % 3 : 0]);
                // A damper that sets in after a few blocks, or at once.
                bank.released = trial % 2 == 0;
                bank.releaseLength = int32_t(random() % 2000);
                bank.releaseDecay = int16_t(random() % 32768);
                for (int k = 0; k < bank.count; ++k) {
                    bank.increment[k] = uint16_t(random() % 0x8000);
                    bank.decay[k] = int16_t(random() % 32768);
                }
                remaining.push_back(bank.releaseLength + int64_t(random() % 8) * BlockSize - BlockSize);
                banks.push_back(bank);
            }
            std::vector<ResonatorState> alone = banks;
            for (int block = 0; block < 8; ++block) {
                std::vector<std::array<int16_t, BlockSize>> together(size), single(size);
                std::vector<ResonatorJob> jobs;
                for (int v = 0; v < size; ++v)
                    jobs.push_back({&banks[v], remaining[v], together[v].data(), -1});
                ResonatorUseWideLanes(true);
                ResonatorRenderSet(jobs.data(), size);
                ResonatorUseWideLanes(false);
                for (int v = 0; v < size; ++v) {
                    ASSERT_EQ(jobs[v].next, ResonatorRender(alone[v], remaining[v], single[v].data()));
                    ASSERT_EQ(together[v], single[v])
                        << "set of " << size << " trial " << trial << " block " << block << " voice " << v;
                    ASSERT_EQ(banks[v].released, alone[v].released);
                    for (int k = 0; k < banks[v].count; ++k) {
                        ASSERT_EQ(banks[v].x[k], alone[v].x[k]);
                        ASSERT_EQ(banks[v].y[k], alone[v].y[k]);
                        ASSERT_EQ(banks[v].c[k], alone[v].c[k]);
                        ASSERT_EQ(banks[v].s[k], alone[v].s[k]);
                    }
                    remaining[v] -= BlockSize;
                }
            }
        }
    }
}

// The rotation is brought inside the circle as a unit step at a time would
// bring it, on every term near the circle and on the diagonal, where the
// terms take turns, and on random ones.
TEST(SynthFastPaths, RotationsShrinkAsOneUnitAtATime)
{
    const auto stepwise = [](int16_t c, int16_t s) {
        while (int64_t(c) * c + int64_t(s) * s >= int64_t(32700) * 32700) {
            if (std::abs(int(c)) > std::abs(int(s)))
                c = int16_t(c > 0 ? c - 1 : c + 1);
            else
                s = int16_t(s > 0 ? s - 1 : s + 1);
        }
        return std::make_pair(c, s);
    };
    std::mt19937 random(32700);
    std::vector<std::pair<int16_t, int16_t>> terms;
    for (int a = -32768; a <= 32767; a += 7)
        for (int sign : {1, -1}) {
            const double other = std::sqrt(std::max(0.0, 32700.0 * 32700.0 - double(a) * a));
            for (int near = -3; near <= 3; ++near) {
                const int b = std::clamp(int(sign * other) + near, -32768, 32767);
                terms.emplace_back(int16_t(a), int16_t(b));
                terms.emplace_back(int16_t(b), int16_t(a));
            }
            terms.emplace_back(int16_t(a), int16_t(sign * a));
            terms.emplace_back(int16_t(a), int16_t(sign * a + 1 > 32767 ? a : sign * a + 1));
        }
    for (int trial = 0; trial < 200000; ++trial)
        terms.emplace_back(RandomOrEdge(random), RandomOrEdge(random));
    for (const auto& [c0, s0] : terms) {
        int16_t c = c0, s = s0;
        ShrinkIntoCircle(c, s);
        ASSERT_EQ(std::make_pair(c, s), stepwise(c0, s0)) << c0 << ", " << s0;
    }
}

TEST(SynthFastPaths, NoiseFilterBlocksMatchTheOperatorRecurrence)
{
    ModeGuard guard;
    std::mt19937 random(1947);
    for (int order = 0; order <= SynthPresets::MaxNoiseOrder; ++order) {
        for (int trial = 0; trial < 40; ++trial) {
            SynthPresets::NoisePreset preset{};
            for (int k = 0; k < SynthPresets::MaxNoiseOrder; ++k)
                preset.coefficients[k] = RandomOrEdge(random);
            preset.gain = RandomOrEdge(random);
            preset.shift1 = int16_t(int(random() % 9) - 4);
            preset.shift2 = int16_t(int(random() % 9) - 4);
            const int16_t velocityGain = RandomOrEdge(random);
            int16_t history[SynthPresets::MaxNoiseOrder], reference[SynthPresets::MaxNoiseOrder];
            for (int k = 0; k < SynthPresets::MaxNoiseOrder; ++k)
                history[k] = reference[k] = RandomOrEdge(random);
            for (int block = 0; block < 20; ++block) {
                int16_t drive[BlockSize], actual[BlockSize];
                for (int16_t& d : drive)
                    d = RandomOrEdge(random);
                NoiseFilterBlock(preset, order, history, drive, velocityGain, actual);
                // Per sample with the operators in wrapping mode, the history
                // shifted along by one.
                set_wrap();
                for (int i = 0; i < BlockSize; ++i) {
                    int32_t acc = shl32(mul32(drive[i], preset.gain), preset.shift1);
                    for (int k = 0; k < order; ++k)
                        acc = sub32(acc, mul32(preset.coefficients[k], reference[k]));
                    const int16_t y = round16(shr32(acc, preset.shift2));
                    for (int k = order - 1; k > 0; --k)
                        reference[k] = reference[k - 1];
                    if (order > 0)
                        reference[0] = y;
                    ASSERT_EQ(actual[i], mul16(y, velocityGain))
                        << "order " << order << " trial " << trial << " block " << block << " sample " << i;
                }
                for (int k = 0; k < SynthPresets::MaxNoiseOrder; ++k)
                    ASSERT_EQ(history[k], reference[k]) << "order " << order << " entry " << k;
            }
        }
    }
}

TEST(SynthFastPaths, MixMatchesTheSaturatingOperatorsAndTheirOverflowFlag)
{
    ModeGuard guard;
    std::mt19937 random(8107);
    for (int trial = 0; trial < 5000; ++trial) {
        int16_t mix[BlockSize], reference[BlockSize], samples[BlockSize];
        for (int i = 0; i < BlockSize; ++i) {
            mix[i] = reference[i] = RandomOrEdge(random);
            samples[i] = RandomOrEdge(random);
        }
        const int16_t gain = RandomOrEdge(random);
        set_saturate();
        for (int i = 0; i < BlockSize; ++i)
            reference[i] = add16(reference[i], mul16(samples[i], gain));
        const int16_t overflow = g_Overflow;
        g_Overflow = int16_t(1 - overflow);
        MixVoice(mix, samples, gain);
        for (int i = 0; i < BlockSize; ++i)
            ASSERT_EQ(mix[i], reference[i]) << "trial " << trial << " sample " << i;
        ASSERT_EQ(g_Overflow, overflow) << "trial " << trial;
    }
}
