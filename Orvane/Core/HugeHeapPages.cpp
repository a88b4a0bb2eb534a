#include "Core/HugeHeapPages.h"

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
constexpr size_t kHugePage = size_t(2) << 20;
// The heap grows in one step of this much, all of it advised at once.
constexpr size_t kHeapStep = size_t(64) << 20;

bool Unlimited(int resource)
{
    rlimit limit{};
    return getrlimit(resource, &limit) == 0 && limit.rlim_cur == RLIM_INFINITY;
}
#endif
} // namespace

void PreferHugeHeapPages()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && defined(MADV_HUGEPAGE)
    if (!Unlimited(RLIMIT_AS) || !Unlimited(RLIMIT_DATA))
        return;
    // Blocks of up to half a step come from the heap rather than mappings of
    // their own, and the heap keeps a step of freed room rather than hand it
    // back and fault it in again.
    if (!mallopt(M_MMAP_THRESHOLD, int(kHeapStep / 2)) || !mallopt(M_TRIM_THRESHOLD, int(kHeapStep))
        || !mallopt(M_TOP_PAD, int(kHeapStep)))
        return;
    // Grow the heap by its step now, and advise the room the step gives.
    void* const probe = std::malloc(kHugePage);
    if (!probe)
        return;
    const uintptr_t first = (reinterpret_cast<uintptr_t>(probe) + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0)) & ~uintptr_t(kHugePage - 1);
    std::free(probe);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE); // advice only: a refusal costs nothing
#endif
}
