// The resonator groups in 256-bit lanes, two groups to a register. Each half
// of a register is turned exactly as a narrow register is (the multiply-adds,
// shifts, interleaves and packs all work within 128-bit halves), so the
// samples are the narrow lanes' own. This file alone is built for processors
// with these lanes; nothing here is called on others. It uses intrinsics
// and its own internal functions only, so that no shared inline function is
// emitted from it in wide instructions.
#include "ResonatorLanes.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace VoiceAlgorithms {
namespace {
constexpr int WideLanes = 2 * GroupLanes;
// Registers turned side by side: enough to keep the vector units busy.
constexpr int MaxRegistersSideBySide = 4;

__m256i Join(__m128i low, __m128i high)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

// Each sample's lanes added into the sums of the register's two groups,
// four samples at a time: the rows are turned into columns within each half.
void AddWideLanes(const int32_t lanes[BlockSize][WideLanes], int32_t* sumLow, int32_t* sumHigh)
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

// count groups (2 x Registers, or one fewer: the last high half then idles
// at zero, which turns to zero).
template <int Registers>
void TurnRegisters(const LaneGroup groups[], int count)
{
    const __m256i half = _mm256_set1_epi32(0x4000);
    const __m256i firstOfPairs = _mm256_set1_epi32(1);
    __m256i v[Registers], tx[Registers], ty[Registers];
    for (int r = 0; r < Registers; ++r) {
        const GroupRegisters low = LoadGroup(groups[2 * r]);
        GroupRegisters high = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
        if (2 * r + 1 < count)
            high = LoadGroup(groups[2 * r + 1]);
        v[r] = Join(low.v, high.v);
        tx[r] = Join(low.tx, high.tx);
        ty[r] = Join(low.ty, high.ty);
    }
    alignas(32) int32_t lanes[Registers][BlockSize][WideLanes];
    for (int i = 0; i < BlockSize; ++i) {
#pragma GCC unroll 4
        for (int r = 0; r < Registers; ++r) {
            const __m256i nx = _mm256_srai_epi32(_mm256_add_epi32(_mm256_madd_epi16(v[r], tx[r]), half), 15);
            const __m256i ny = _mm256_srai_epi32(_mm256_add_epi32(_mm256_madd_epi16(v[r], ty[r]), half), 15);
            v[r] = _mm256_packs_epi32(_mm256_unpacklo_epi32(nx, ny), _mm256_unpackhi_epi32(nx, ny));
            _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[r][i]), _mm256_madd_epi16(v[r], firstOfPairs));
        }
    }
    for (int r = 0; r < Registers; ++r) {
        const bool paired = 2 * r + 1 < count;
        AddWideLanes(lanes[r], groups[2 * r].sum, paired ? groups[2 * r + 1].sum : nullptr);
        StoreGroup(groups[2 * r], _mm256_castsi256_si128(v[r]));
        if (paired)
            StoreGroup(groups[2 * r + 1], _mm256_extracti128_si256(v[r], 1));
    }
}
} // namespace

bool TurnInWideLanes(const LaneGroup groups[], int count)
{
    // In even shares of registers: nine groups (five registers) go as three
    // and two rather than four and one.
    static_assert(MaxRegistersSideBySide == 4, "one turning routine for each share size");
    for (int done = 0; done < count;) {
        const int registers = (count - done + 1) / 2;
        const int shares = (registers + MaxRegistersSideBySide - 1) / MaxRegistersSideBySide;
        const int size = (registers + shares - 1) / shares;
        const int groupsInShare = count - done < 2 * size ? count - done : 2 * size;
        if (size == 1)
            TurnRegisters<1>(groups + done, groupsInShare);
        else if (size == 2)
            TurnRegisters<2>(groups + done, groupsInShare);
        else if (size == 3)
            TurnRegisters<3>(groups + done, groupsInShare);
        else
            TurnRegisters<4>(groups + done, groupsInShare);
        done += groupsInShare;
    }
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
