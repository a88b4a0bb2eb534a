#pragma once
// Fixed-point operators on eight 16-bit lanes at a time, each giving in every
// lane what its scalar operator gives.
#if defined(__SSE2__)
#include <emmintrin.h>

namespace FixedPoint {
// mul16 of each lane: (a x b) >> 15 from the two halves of each product,
// packed back with saturation (only -32768 x -32768 reaches 32768, and
// mul16 gives it as 32767).
inline __m128i Mul16Lanes(__m128i a, __m128i b)
{
    const __m128i low = _mm_mullo_epi16(a, b), high = _mm_mulhi_epi16(a, b);
    return _mm_packs_epi32(_mm_srai_epi32(_mm_unpacklo_epi16(low, high), 15),
                           _mm_srai_epi32(_mm_unpackhi_epi16(low, high), 15));
}
} // namespace FixedPoint
#endif
