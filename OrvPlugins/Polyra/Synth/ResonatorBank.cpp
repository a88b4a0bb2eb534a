// Algorithm 2: modal synthesis. The note's key zone gives a set of damped
// sinusoidal resonators, each turned by a fixed rotation a little shorter
// than 1 every sample; the damper shortens them all once the note is released.
#include "FixedPoint.h"
#include "VoiceAlgorithms.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace FixedPoint;

namespace VoiceAlgorithms {
namespace {
// The rotation of one resonator, shrunk by its decay and kept strictly
// inside the unit circle so that no rounding can make it grow. Invariant:
// neither term is ever -32768 (|c|, |s| < 32700). The partials are turned
// in plain integer lanes on that ground (see TurnInLanes); a bank that
// breaks it is turned with the operators instead.
void SetRotation(ResonatorState& state, int k, int16_t decay)
{
    int16_t c = mul16(SynthTables::Cosine(state.increment[k]), decay);
    int16_t s = mul16(SynthTables::Sine(state.increment[k]), decay);
    while (int64_t(c) * c + int64_t(s) * s >= int64_t(32700) * 32700) {
        if (std::abs(int(c)) > std::abs(int(s)))
            c = int16_t(c > 0 ? c - 1 : c + 1);
        else
            s = int16_t(s > 0 ? s - 1 : s + 1);
    }
    state.c[k] = c;
    state.s[k] = s;
}

// One turn of a partial, as the saturating operators define it.
void TurnWithOperators(int16_t c, int16_t s, int16_t& x, int16_t& y)
{
    const int16_t nx = round16(sub32(mul32(c, x), mul32(s, y)));
    y = round16(add32(mul32(s, x), mul32(c, y)));
    x = nx;
}

// Every way of turning a bank adds each sample's partials into its sum (the
// callers start the sums at zero), so the ways can be mixed in a pair.
void TurnWithOperators(ResonatorState& state, int32_t sum[BlockSize])
{
    for (int k = 0; k < state.count; ++k) {
        for (int i = 0; i < BlockSize; ++i) {
            TurnWithOperators(state.c[k], state.s[k], state.x[k], state.y[k]);
            sum[i] = add32(sum[i], state.x[k]);
        }
    }
}

bool HoldsRotationInvariant(const ResonatorState& state)
{
    for (int k = 0; k < state.count; ++k)
        if (state.c[k] == INT16_MIN || state.s[k] == INT16_MIN)
            return false;
    return true;
}

// With neither term -32768, mul32 is the exact 2ab, and for any 32-bit-exact
// v, round16 of the saturated 2v is (v + 0x4000) >> 15 saturated to 16 bits:
// a turn needs no saturation but that last one. The sums of at most
// MaxPartials 16-bit values never reach the 32-bit limits either.
#if defined(__SSE2__)
constexpr int Lanes = 4;
constexpr int MaxGroups = (SynthPresets::MaxPartials + Lanes - 1) / Lanes;
static_assert(MaxGroups == 2, "one or two groups of partials");
static_assert(BlockSize % 4 == 0, "lanes are added four samples at a time");

// Each sample's four lanes added into its sum, four samples at a time: the
// rows are turned into columns and the columns added.
void AddLanes(const int32_t lanes[BlockSize][Lanes], int32_t sum[BlockSize])
{
    for (int i = 0; i < BlockSize; i += 4) {
        const __m128i r0 = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[i]));
        const __m128i r1 = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[i + 1]));
        const __m128i r2 = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[i + 2]));
        const __m128i r3 = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[i + 3]));
        const __m128i first = _mm_add_epi32(_mm_unpacklo_epi32(r0, r1), _mm_unpackhi_epi32(r0, r1));
        const __m128i second = _mm_add_epi32(_mm_unpacklo_epi32(r2, r3), _mm_unpackhi_epi32(r2, r3));
        const __m128i lanesSum = _mm_add_epi32(_mm_unpacklo_epi64(first, second), _mm_unpackhi_epi64(first, second));
        __m128i* const out = reinterpret_cast<__m128i*>(sum + i);
        _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), lanesSum));
    }
}

// Four partials to a register, (x, y) pairs side by side: one multiply-add
// gives c x - s y for all four, another s x + c y. The first GroupsA groups
// are one bank's, the next GroupsB another's: each sample's turn waits on the
// last, so two banks turned side by side keep the processor twice as busy.
// The counts are fixed here so that every register stays a register.
template <int GroupsA, int GroupsB>
void TurnGroups(__m128i v[], const __m128i tx[], const __m128i ty[], int32_t sumA[BlockSize], int32_t sumB[BlockSize])
{
    constexpr int Groups = GroupsA + GroupsB;
    const __m128i half = _mm_set1_epi32(0x4000);
    const __m128i firstOfPairs = _mm_set_epi16(0, 1, 0, 1, 0, 1, 0, 1);
    __m128i turned[Groups];
    for (int g = 0; g < Groups; ++g)
        turned[g] = v[g];
    alignas(16) int32_t lanesA[BlockSize][Lanes];
    alignas(16) int32_t lanesB[BlockSize][Lanes];
    for (int i = 0; i < BlockSize; ++i) {
        __m128i xa = _mm_setzero_si128(), xb = _mm_setzero_si128();
        // Unrolled, so that no turn waits on a trip of its partials through memory.
#pragma GCC unroll 4
        for (int g = 0; g < Groups; ++g) {
            const __m128i nx = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(turned[g], tx[g]), half), 15);
            const __m128i ny = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(turned[g], ty[g]), half), 15);
            turned[g] = _mm_packs_epi32(_mm_unpacklo_epi32(nx, ny), _mm_unpackhi_epi32(nx, ny));
            if (g < GroupsA)
                xa = _mm_add_epi32(xa, _mm_madd_epi16(turned[g], firstOfPairs));
            else
                xb = _mm_add_epi32(xb, _mm_madd_epi16(turned[g], firstOfPairs));
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(lanesA[i]), xa);
        if constexpr (GroupsB > 0)
            _mm_store_si128(reinterpret_cast<__m128i*>(lanesB[i]), xb);
    }
    AddLanes(lanesA, sumA);
    if constexpr (GroupsB > 0)
        AddLanes(lanesB, sumB);
    for (int g = 0; g < Groups; ++g)
        v[g] = turned[g];
}

int GroupsOf(const ResonatorState& state)
{
    return state.count <= Lanes ? 1 : 2;
}

// Up to four of a partial's values from first on, into the low lanes, the
// lanes past count zeroed. The second group holds the last two partials.
static_assert(SynthPresets::MaxPartials == 6, "a first group of four partials and a second of two");
__m128i FourValues(const int16_t values[], int first, int count)
{
    __m128i loaded;
    if (first == 0)
        loaded = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(values));
    else {
        int32_t two;
        std::memcpy(&two, values + first, sizeof two);
        loaded = _mm_cvtsi32_si128(two);
    }
    const __m128i kept = _mm_cmplt_epi16(_mm_set_epi16(7, 6, 5, 4, 3, 2, 1, 0), _mm_set1_epi16(int16_t(count - first)));
    return _mm_and_si128(loaded, kept);
}

// A bank's partials into its groups' registers, from the first of them on:
// (x, y), (c, -s) and (s, c) pairs side by side, zero past the last partial.
void LoadGroups(const ResonatorState& state, __m128i v[], __m128i tx[], __m128i ty[])
{
    for (int g = 0; g < GroupsOf(state); ++g) {
        const int first = g * Lanes;
        const __m128i x = FourValues(state.x, first, state.count), y = FourValues(state.y, first, state.count);
        const __m128i c = FourValues(state.c, first, state.count), s = FourValues(state.s, first, state.count);
        v[g] = _mm_unpacklo_epi16(x, y);
        tx[g] = _mm_unpacklo_epi16(c, _mm_sub_epi16(_mm_setzero_si128(), s));
        ty[g] = _mm_unpacklo_epi16(s, c);
    }
}

void StoreGroups(ResonatorState& state, const __m128i v[])
{
    alignas(16) int16_t xy[MaxGroups][2 * Lanes] = {};
    for (int g = 0; g < GroupsOf(state); ++g)
        _mm_store_si128(reinterpret_cast<__m128i*>(xy[g]), v[g]);
    for (int k = 0; k < state.count; ++k) {
        state.x[k] = xy[k / Lanes][2 * (k % Lanes)];
        state.y[k] = xy[k / Lanes][2 * (k % Lanes) + 1];
    }
}

// One bank, or two side by side when b is given.
void TurnInLanes(ResonatorState& a, int32_t sumA[BlockSize], ResonatorState* b = nullptr, int32_t* sumB = nullptr)
{
    __m128i v[2 * MaxGroups], tx[2 * MaxGroups], ty[2 * MaxGroups];
    const int groupsA = GroupsOf(a);
    LoadGroups(a, v, tx, ty);
    if (!b) {
        if (groupsA == 1)
            TurnGroups<1, 0>(v, tx, ty, sumA, nullptr);
        else
            TurnGroups<2, 0>(v, tx, ty, sumA, nullptr);
        StoreGroups(a, v);
        return;
    }
    const int groupsB = GroupsOf(*b);
    LoadGroups(*b, v + groupsA, tx + groupsA, ty + groupsA);
    if (groupsA == 1 && groupsB == 1)
        TurnGroups<1, 1>(v, tx, ty, sumA, sumB);
    else if (groupsA == 1)
        TurnGroups<1, 2>(v, tx, ty, sumA, sumB);
    else if (groupsB == 1)
        TurnGroups<2, 1>(v, tx, ty, sumA, sumB);
    else
        TurnGroups<2, 2>(v, tx, ty, sumA, sumB);
    StoreGroups(a, v);
    StoreGroups(*b, v + groupsA);
}
#else
void TurnOneInLanes(ResonatorState& state, int32_t sum[BlockSize])
{
    for (int k = 0; k < state.count; ++k) {
        const int32_t c = state.c[k], s = state.s[k];
        int32_t x = state.x[k], y = state.y[k];
        for (int i = 0; i < BlockSize; ++i) {
            const int32_t nx = Detail::Clamp16((c * x - s * y + 0x4000) >> 15);
            y = Detail::Clamp16((s * x + c * y + 0x4000) >> 15);
            x = nx;
            sum[i] += x;
        }
        state.x[k] = int16_t(x);
        state.y[k] = int16_t(y);
    }
}

void TurnInLanes(ResonatorState& a, int32_t sumA[BlockSize], ResonatorState* b = nullptr, int32_t* sumB = nullptr)
{
    TurnOneInLanes(a, sumA);
    if (b)
        TurnOneInLanes(*b, sumB);
}
#endif

// The damper takes over once the remaining time falls within the release.
void StartReleaseWhenDue(ResonatorState& state, int64_t remaining)
{
    if (state.released || remaining >= state.releaseLength)
        return;
    state.released = true;
    for (int k = 0; k < state.count; ++k)
        if (state.releaseDecay < state.decay[k])
            SetRotation(state, k, state.releaseDecay);
}

// The partials' sum scaled by the bank's exponent (saturating mode). Shifted
// left by 16 with saturation and cut to its high half, a value is only
// clamped to 16 bits; a right shift needs no saturation, so an exponent of 0
// or more is an arithmetic shift and a clamp (what a saturating pack does).
int ScaleBlock(const ResonatorState& state, const int32_t sum[BlockSize], int16_t out[BlockSize])
{
    if (state.exponent < 0) {
        for (int i = 0; i < BlockSize; ++i)
            out[i] = high16(shl32<Saturating>(shr32<Saturating>(sum[i], state.exponent), 16));
    } else {
#if defined(__SSE2__)
        // Counts past 31 fill with the sign, as the operator's do.
        const __m128i count = _mm_cvtsi32_si128(state.exponent);
        static_assert(BlockSize % 8 == 0, "the sums are scaled and packed eight samples at a time");
        for (int i = 0; i < BlockSize; i += 8) {
            const __m128i low = _mm_sra_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + i)), count);
            const __m128i high = _mm_sra_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + i + 4)), count);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(low, high));
        }
#else
        const int shift = std::min(int(state.exponent), 31);
        for (int i = 0; i < BlockSize; ++i)
            out[i] = Detail::Clamp16(sum[i] >> shift);
#endif
    }
    return state.released ? StateReleasing : StateSounding;
}
} // namespace

int ResonatorZoneIndex(const SynthPresets::ResonatorPreset& preset, int note)
{
    int below = -1, above = -1;
    for (int z = 0; z < preset.zoneCount && z < SynthPresets::MaxZones; ++z) {
        const int key = preset.zones[z].zoneWord >> 8;
        if (key == note)
            return z;
        if (key < note && (below < 0 || key > (preset.zones[below].zoneWord >> 8)))
            below = z;
        if (key > note && (above < 0 || key < (preset.zones[above].zoneWord >> 8)))
            above = z;
    }
    if (below < 0)
        return above < 0 ? 0 : above;
    if (above < 0)
        return below;
    const int distanceBelow = note - (preset.zones[below].zoneWord >> 8);
    const int distanceAbove = (preset.zones[above].zoneWord >> 8) - note;
    return distanceAbove < distanceBelow ? above : below;
}

void ResonatorStart(ResonatorState& state, const SynthPresets::ResonatorPreset& preset, int note, int velocity)
{
    state = ResonatorState{};
    const SynthPresets::ResonatorZone& zone = preset.zones[ResonatorZoneIndex(preset, note)];
    state.exponent = zone.exponent;
    state.releaseDecay = preset.releaseDecay;
    state.releaseLength = preset.releaseLength;
    const int64_t base = SynthTables::NotePhaseIncrement(note);
    const int16_t velocityGain = VelocityGain(velocity);
    const int partials = std::min(int(zone.zoneWord & 0xFF), SynthPresets::MaxPartials);
    for (int p = 0; p < partials; ++p) {
        const SynthPresets::ResonatorPartial& partial = zone.partials[p];
        const int64_t increment = base * partial.ratio / 1024;
        if (increment <= 0 || increment >= 0x8000)
            continue; // at or above half the sampling rate: not heard
        const int k = state.count++;
        state.increment[k] = uint16_t(increment);
        state.decay[k] = partial.decay;
        SetRotation(state, k, partial.decay);
        // Starting on the sine axis, the partial sets off from silence.
        state.x[k] = 0;
        state.y[k] = mul16(partial.amplitude, velocityGain);
    }
}

int ResonatorRender(ResonatorState& state, int64_t remaining, int16_t out[BlockSize])
{
    set_saturate();
    StartReleaseWhenDue(state, remaining);
    int32_t sum[BlockSize] = {};
    if (HoldsRotationInvariant(state))
        TurnInLanes(state, sum);
    else
        TurnWithOperators(state, sum);
    const int next = ScaleBlock(state, sum, out);
    set_wrap();
    return next;
}

void ResonatorRenderPair(ResonatorState& a, int64_t remainingA, int16_t outA[BlockSize], int& nextA,
                         ResonatorState& b, int64_t remainingB, int16_t outB[BlockSize], int& nextB)
{
    set_saturate();
    StartReleaseWhenDue(a, remainingA);
    StartReleaseWhenDue(b, remainingB);
    const bool laneA = HoldsRotationInvariant(a), laneB = HoldsRotationInvariant(b);
    int32_t sumA[BlockSize] = {}, sumB[BlockSize] = {};
    if (laneA && laneB)
        TurnInLanes(a, sumA, &b, sumB);
    else {
        laneA ? TurnInLanes(a, sumA) : TurnWithOperators(a, sumA);
        laneB ? TurnInLanes(b, sumB) : TurnWithOperators(b, sumB);
    }
    nextA = ScaleBlock(a, sumA, outA);
    nextB = ScaleBlock(b, sumB, outB);
    set_wrap();
}
} // namespace VoiceAlgorithms
