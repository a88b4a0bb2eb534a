#include "Wave/VectorUnitState.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

namespace {
// Compiled for AVX on its own: the rest of the library stays plain x86-64.
__attribute__((target("avx"))) void ZeroUpperHalves()
{
    _mm256_zeroupper();
}

// True only when the processor has AVX and the system saves its registers.
bool HasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}
} // namespace

void ClearUpperVectorState()
{
    static const bool hasAvx = HasAvx();
    if (hasAvx)
        ZeroUpperHalves();
}
#else
void ClearUpperVectorState() {}
#endif
