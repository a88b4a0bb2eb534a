// The resonator groups in 256-bit lanes, two groups to a register. Each half
// of a register is turned exactly as a narrow register is (the multiply-adds,
// shifts, interleaves and packs all work within 128-bit halves), so the
// samples are the narrow lanes' own. This file alone is built for processors
// with these lanes; nothing here is called on others. It uses intrinsics
// and its own internal functions only, so that no shared inline function is
// emitted from it in wide instructions.
#include "ResonatorLanes.h"
#include "ResonatorTurn.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace VoiceAlgorithms {
namespace {
__m256i Join(__m128i low, __m128i high)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

// Each sample's lanes added into the sums of the register's two groups,
// four samples at a time: the rows are turned into columns within each half.
void AddWideLanes(const int32_t lanes[BlockSize][2 * GroupLanes], int32_t* sumLow, int32_t* sumHigh)
{
    static_assert(BlockSize % 4 == 0, "lanes are added four samples at a time");
    for (int i = 0; i < BlockSize; i += 4) {
        const __m256i r0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes[i]));
        const __m256i r1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes[i + 1]));
        const __m256i r2 = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes[i + 2]));
        const __m256i r3 = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes[i + 3]));
        const __m256i first = _mm256_add_epi32(_mm256_unpacklo_epi32(r0, r1), _mm256_unpackhi_epi32(r0, r1));
        const __m256i second = _mm256_add_epi32(_mm256_unpacklo_epi32(r2, r3), _mm256_unpackhi_epi32(r2, r3));
        const __m256i sums =
            _mm256_add_epi32(_mm256_unpacklo_epi64(first, second), _mm256_unpackhi_epi64(first, second));
        __m128i* const low = reinterpret_cast<__m128i*>(sumLow + i);
        _mm_storeu_si128(low, _mm_add_epi32(_mm_loadu_si128(low), _mm256_castsi256_si128(sums)));
        if (sumHigh) {
            __m128i* const high = reinterpret_cast<__m128i*>(sumHigh + i);
            _mm_storeu_si128(high, _mm_add_epi32(_mm_loadu_si128(high), _mm256_extracti128_si256(sums, 1)));
        }
    }
}

// Two groups to a register; the last register of a share may hold one, its
// high half idling at zero, which turns to zero.
struct WideLanes
{
    using Vector = __m256i;
    static constexpr int Groups = 2;
    static constexpr int Width = 2 * GroupLanes;
    static Vector Set32(int32_t value) { return _mm256_set1_epi32(value); }
    static Vector Madd(Vector a, Vector b) { return _mm256_madd_epi16(a, b); }
    static Vector Add(Vector a, Vector b) { return _mm256_add_epi32(a, b); }
    static Vector Shift15(Vector a) { return _mm256_srai_epi32(a, 15); }
    static Vector Interleave(Vector x, Vector y)
    {
        return _mm256_packs_epi32(_mm256_unpacklo_epi32(x, y), _mm256_unpackhi_epi32(x, y));
    }
    static void Store(int32_t lanes[Width], Vector a) { _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), a); }
    static void Load(const LaneGroup groups[], int left, Vector& v, Vector& tx, Vector& ty)
    {
        const GroupRegisters low = LoadGroup(groups[0]);
        GroupRegisters high = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
        if (left > 1)
            high = LoadGroup(groups[1]);
        v = Join(low.v, high.v);
        tx = Join(low.tx, high.tx);
        ty = Join(low.ty, high.ty);
    }
    static void Finish(const LaneGroup groups[], int left, const int32_t lanes[BlockSize][Width], Vector v)
    {
        AddWideLanes(lanes, groups[0].sum, left > 1 ? groups[1].sum : nullptr);
        StoreGroup(groups[0], _mm256_castsi256_si128(v));
        if (left > 1)
            StoreGroup(groups[1], _mm256_extracti128_si256(v, 1));
    }
};
} // namespace

bool TurnInWideLanes(const LaneGroup groups[], int count)
{
    TurnInShares<WideLanes>(groups, count);
    return true;
}
} // namespace VoiceAlgorithms
#elif defined(__SSE2__)
namespace VoiceAlgorithms {
bool TurnInWideLanes(const LaneGroup[], int)
{
    return false;
}
} // namespace VoiceAlgorithms
#endif
