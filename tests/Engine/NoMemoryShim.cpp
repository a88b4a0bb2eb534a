// Preloaded into the program by the tests of a source that runs out of memory at a known point: with
// ORV_TEST_NO_MEMORY_AFTER_RENAME set to n, the allocation that follows the n-th file renamed into place (a result,
// preview or debug file put in place whole) fails, malloc, calloc or realloc returning null as when memory has just
// run out. Not for a sanitizer's build, whose allocator it would bypass.
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>

namespace {

// Renames still to come before the allocation fails; -1 until the setting is read, 0 when nothing is to fail.
long g_RenamesLeft = -1;
bool g_FailNextAllocation = false;

bool AllocationFails()
{
    if (!g_FailNextAllocation)
        return false;
    g_FailNextAllocation = false;
    errno = ENOMEM;
    return true;
}

} // namespace

extern "C" {

void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);

__attribute__((visibility("default"))) void* malloc(size_t bytes)
{
    return AllocationFails() ? nullptr : __libc_malloc(bytes);
}

__attribute__((visibility("default"))) void* calloc(size_t count, size_t bytes)
{
    return AllocationFails() ? nullptr : __libc_calloc(count, bytes);
}

__attribute__((visibility("default"))) void* realloc(void* block, size_t bytes)
{
    return AllocationFails() ? nullptr : __libc_realloc(block, bytes);
}

__attribute__((visibility("default"))) int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static const Rename real = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    const int result = real(from, to);
    if (g_RenamesLeft < 0) {
        const char* value = std::getenv("ORV_TEST_NO_MEMORY_AFTER_RENAME");
        g_RenamesLeft = value ? std::strtol(value, nullptr, 10) : 0;
    }
    if (result == 0 && g_RenamesLeft > 0 && --g_RenamesLeft == 0)
        g_FailNextAllocation = true;
    return result;
}
}
