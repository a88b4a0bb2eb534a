#include "FailingAllocations.h"
#include <atomic>
#include <cerrno>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
}

namespace {

std::atomic<std::size_t> g_From{0};
std::atomic<int> g_Spare{0};
std::atomic<int> g_Failed{0};

// Whether an allocation of size bytes fails now.
bool Fails(std::size_t size)
{
    const std::size_t from = g_From.load(std::memory_order_relaxed);
    if (from == 0 || size < from)
        return false;
    if (g_Spare.fetch_sub(1, std::memory_order_relaxed) > 0)
        return false;
    g_Failed.fetch_add(1, std::memory_order_relaxed);
    errno = ENOMEM;
    return true;
}

} // namespace

extern "C" void* malloc(std::size_t size)
{
    return Fails(size) ? nullptr : __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size)
{
    return count != 0 && Fails(count * size) ? nullptr : __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, std::size_t size)
{
    return Fails(size) ? nullptr : __libc_realloc(block, size);
}

CFailingAllocations::CFailingAllocations(std::size_t from, int spare)
{
    g_Failed = 0;
    g_Spare = spare;
    g_From = from;
}

CFailingAllocations::~CFailingAllocations()
{
    g_From = 0;
}

int CFailingAllocations::Failed()
{
    return g_Failed;
}
