#pragma once
// Allocation failure where no memory limit can be set (in the test's own process): while a CFailingAllocations
// lives, every malloc, calloc and realloc of at least its size returns null, as the C library does when memory
// runs out, after the first `spare` of them. The toolkit, the C++ runtime (operator new throws std::bad_alloc)
// and the plug-ins a test loads all allocate through these. The test executable itself takes the allocator's
// place, so this is not built under AddressSanitizer, whose allocator it would bypass: tests that use it are
// compiled out there (ORV_FAILING_ALLOCATIONS is defined where it is available).
#include <cstddef>

class CFailingAllocations
{
public:
    explicit CFailingAllocations(std::size_t from, int spare = 0);
    ~CFailingAllocations();
    CFailingAllocations(const CFailingAllocations&) = delete;
    CFailingAllocations& operator=(const CFailingAllocations&) = delete;

    // How many allocations failed so far.
    static int Failed();
};
