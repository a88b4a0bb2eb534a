// The heap policy is process-wide, so each case runs in a child process of
// its own: the heap's blocks lie in memory advised for huge pages, unless the
// address space is limited.
#include "Core/HugeHeapPages.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Whether the mapping holding address is advised for huge pages ("hg" among
// its flags in /proc/self/smaps).
bool AdvisedForHugePages(const void* address)
{
    FILE* smaps = std::fopen("/proc/self/smaps", "r");
    if (!smaps)
        return false;
    const uintptr_t where = reinterpret_cast<uintptr_t>(address);
    bool inside = false, advised = false;
    char line[512];
    while (std::fgets(line, sizeof line, smaps)) {
        unsigned long start = 0, end = 0;
        if (std::sscanf(line, "%lx-%lx ", &start, &end) == 2) // a mapping's first line
            inside = where >= start && where < end;
        else if (inside && std::strncmp(line, "VmFlags:", 8) == 0)
            advised = std::strstr(line, " hg") != nullptr;
    }
    std::fclose(smaps);
    return advised;
}

// Runs the policy in a child, with the address space limited or not, and
// answers whether a block of a few megabytes came out advised.
bool BlockAdvisedInChild(bool limitAddressSpace)
{
    const pid_t child = fork();
    if (child == 0) {
        if (limitAddressSpace) {
            const rlimit limit{rlim_t(64) << 30, rlim_t(64) << 30};
            setrlimit(RLIMIT_AS, &limit);
        }
        PreferHugeHeapPages();
        char* const block = static_cast<char*>(std::malloc(size_t(4) << 20));
        if (!block)
            _exit(2);
        std::memset(block, 1, size_t(4) << 20);
        _exit(AdvisedForHugePages(block + (size_t(2) << 20)) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2);
    return WEXITSTATUS(status) == 1;
}
} // namespace

TEST(HugeHeapPages, BlocksLieInAdvisedMemoryUnlessTheAddressSpaceIsLimited)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps its own heap";
#else
    EXPECT_TRUE(BlockAdvisedInChild(false));
    EXPECT_FALSE(BlockAdvisedInChild(true));
#endif
}
