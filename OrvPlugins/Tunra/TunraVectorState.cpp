#include "TunraVectorState.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
namespace {
__attribute__((target("avx"))) void ZeroUpper()
{
    __builtin_ia32_vzeroupper();
}

bool HasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}
} // namespace

void TunraClearUpperVectorState()
{
    static const bool bAvx = HasAvx();
    if (bAvx)
        ZeroUpper();
}
#else
void TunraClearUpperVectorState()
{
}
#endif
