// Algorithm 2: modal synthesis. The note's key zone gives a set of damped
// sinusoidal resonators, each turned by a fixed rotation a little shorter
// than 1 every sample; the damper shortens them all once the note is released.
#include "FixedPoint.h"
#include "ResonatorLanes.h"
#include "ResonatorTurn.h"
#include "VoiceAlgorithms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace FixedPoint;

namespace VoiceAlgorithms {
namespace {
constexpr int64_t RotationLimit = int64_t(32700) * 32700;

int64_t FloorSqrt(int64_t v)
{
    int64_t r = int64_t(std::sqrt(double(v)));
    while (r * r > v)
        --r;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}
} // namespace

// The first run of steps, all on one term, is taken at once: a decay close
// to 1 leaves a rotation some 60 units outside, for every partial of every
// note. The steps after it, the terms taking turns, are few.
void ShrinkIntoCircle(int16_t& c, int16_t& s)
{
    const int64_t a = std::abs(int(c)), b = std::abs(int(s));
    if (a * a + b * b >= RotationLimit) {
        // The larger term comes down to the largest value inside the circle,
        // or to where the other takes over: c stops level with s (a tie
        // brings s in), s one below c.
        const int64_t other = a > b ? b : a;
        const int64_t room = RotationLimit - other * other;
        const int64_t inside = room > 0 ? FloorSqrt(room - 1) : -1;
        if (a > b)
            c = int16_t((c > 0 ? 1 : -1) * std::max(inside, b));
        else
            s = int16_t((s > 0 ? 1 : -1) * std::max(inside, a - 1));
    }
    while (int64_t(c) * c + int64_t(s) * s >= RotationLimit) {
        if (std::abs(int(c)) > std::abs(int(s)))
            c = int16_t(c > 0 ? c - 1 : c + 1);
        else
            s = int16_t(s > 0 ? s - 1 : s + 1);
    }
}

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
    ShrinkIntoCircle(c, s);
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
// callers start the sums at zero), so the ways can be mixed in a set.
void TurnWithOperators(ResonatorState& state, int32_t sum[BlockSize])
{
    for (int k = 0; k < state.count; ++k) {
        for (int i = 0; i < BlockSize; ++i) {
            TurnWithOperators(state.c[k], state.s[k], state.x[k], state.y[k]);
            sum[i] = add32(sum[i], state.x[k]);
        }
    }
}

// Every place is read, without a branch, and the places past the count are
// left out of the answer: the banks differ in size from block to block, and
// a loop to each one's count is a guess the processor often gets wrong.
bool HoldsRotationInvariant(const ResonatorState& state)
{
    bool holds = true;
    for (int k = 0; k < SynthPresets::MaxPartials; ++k)
        holds &= k >= state.count || (state.c[k] != INT16_MIN && state.s[k] != INT16_MIN);
    return holds;
}

// With neither term -32768, mul32 is the exact 2ab, and for any 32-bit-exact
// v, round16 of the saturated 2v is (v + 0x4000) >> 15 saturated to 16 bits:
// a turn needs no saturation but that last one. The sums of at most
// MaxPartials 16-bit values never reach the 32-bit limits either.
constexpr int Lanes = GroupLanes;
constexpr int MaxGroups = (SynthPresets::MaxPartials + Lanes - 1) / Lanes;
static_assert(MaxGroups == 2, "one or two groups of partials");

int GroupsOf(const ResonatorState& state)
{
    return state.count <= Lanes ? 1 : 2;
}

#if defined(__SSE2__)
static_assert(BlockSize % 4 == 0, "lanes are added four samples at a time");

// Whether the banks are turned in the wide lanes: where the processor has
// them, unless a test asks for the narrow ones.
bool WideLanesPresent()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}
bool g_WideLanes = WideLanesPresent();

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

} // namespace

GroupRegisters LoadGroup(const LaneGroup& group)
{
    const ResonatorState& state = *group.bank;
    const __m128i x = FourValues(state.x, group.first, state.count);
    const __m128i y = FourValues(state.y, group.first, state.count);
    const __m128i c = FourValues(state.c, group.first, state.count);
    const __m128i s = FourValues(state.s, group.first, state.count);
    return {_mm_unpacklo_epi16(x, y), _mm_unpacklo_epi16(c, _mm_sub_epi16(_mm_setzero_si128(), s)),
            _mm_unpacklo_epi16(s, c)};
}

void StoreGroup(const LaneGroup& group, __m128i v)
{
    alignas(16) int16_t xy[2 * Lanes];
    _mm_store_si128(reinterpret_cast<__m128i*>(xy), v);
    ResonatorState& state = *group.bank;
    const int end = std::min(group.first + Lanes, state.count);
    for (int k = group.first; k < end; ++k) {
        state.x[k] = xy[2 * (k - group.first)];
        state.y[k] = xy[2 * (k - group.first) + 1];
    }
}

namespace {
// One group to a register.
struct NarrowLanes
{
    using Vector = __m128i;
    static constexpr int Groups = 1;
    static constexpr int Width = Lanes;
    static Vector Set32(int32_t value) { return _mm_set1_epi32(value); }
    static Vector Madd(Vector a, Vector b) { return _mm_madd_epi16(a, b); }
    static Vector Add(Vector a, Vector b) { return _mm_add_epi32(a, b); }
    static Vector Shift15(Vector a) { return _mm_srai_epi32(a, 15); }
    static Vector Interleave(Vector x, Vector y)
    {
        return _mm_packs_epi32(_mm_unpacklo_epi32(x, y), _mm_unpackhi_epi32(x, y));
    }
    static void Store(int32_t lanes[Width], Vector a) { _mm_store_si128(reinterpret_cast<__m128i*>(lanes), a); }
    static void Load(const LaneGroup groups[], int, Vector& v, Vector& tx, Vector& ty)
    {
        const GroupRegisters loaded = LoadGroup(groups[0]);
        v = loaded.v;
        tx = loaded.tx;
        ty = loaded.ty;
    }
    static void Finish(const LaneGroup groups[], int, const int32_t lanes[BlockSize][Width], Vector v)
    {
        AddLanes(lanes, groups[0].sum);
        StoreGroup(groups[0], v);
    }
};

void TurnInLanes(const LaneGroup groups[], int count)
{
    if (!g_WideLanes || !TurnInWideLanes(groups, count))
        TurnInShares<NarrowLanes>(groups, count);
}
#else
void TurnInLanes(const LaneGroup groups[], int count)
{
    for (int g = 0; g < count; ++g) {
        ResonatorState& state = *groups[g].bank;
        const int end = std::min(groups[g].first + Lanes, state.count);
        for (int k = groups[g].first; k < end; ++k) {
            const int32_t c = state.c[k], s = state.s[k];
            int32_t x = state.x[k], y = state.y[k];
            for (int i = 0; i < BlockSize; ++i) {
                const int32_t nx = Detail::Clamp16((c * x - s * y + 0x4000) >> 15);
                y = Detail::Clamp16((s * x + c * y + 0x4000) >> 15);
                x = nx;
                groups[g].sum[i] += x;
            }
            state.x[k] = int16_t(x);
            state.y[k] = int16_t(y);
        }
    }
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

void ResonatorRenderSet(ResonatorJob jobs[], int count)
{
    // Sums and groups for this many banks at a time.
    constexpr int Banks = 16;
    for (int start = 0; start < count; start += Banks) {
        const int banks = std::min(Banks, count - start);
        ResonatorJob* const batch = jobs + start;
        set_saturate();
        int32_t sums[Banks][BlockSize];
        std::memset(sums, 0, sizeof sums[0] * size_t(banks)); // one call: a block's sum is too short to clear alone
        LaneGroup groups[Banks * MaxGroups];
        int groupCount = 0;
        for (int j = 0; j < banks; ++j) {
            ResonatorState& state = *batch[j].state;
            StartReleaseWhenDue(state, batch[j].remaining);
            if (!HoldsRotationInvariant(state)) {
                TurnWithOperators(state, sums[j]);
                continue;
            }
            for (int g = 0; g < GroupsOf(state); ++g)
                groups[groupCount++] = {&state, sums[j], g * Lanes};
        }
        TurnInLanes(groups, groupCount);
        for (int j = 0; j < banks; ++j)
            batch[j].next = ScaleBlock(*batch[j].state, sums[j], batch[j].out);
        set_wrap();
    }
}

bool ResonatorUseWideLanes(bool wide)
{
#if defined(__SSE2__)
    g_WideLanes = wide && WideLanesPresent();
    return g_WideLanes;
#else
    (void)wide;
    return false;
#endif
}

int ResonatorRender(ResonatorState& state, int64_t remaining, int16_t out[BlockSize])
{
    ResonatorJob job = {&state, remaining, out, StateSounding};
    ResonatorRenderSet(&job, 1);
    return job.next;
}
} // namespace VoiceAlgorithms
