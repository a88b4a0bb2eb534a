// Preloaded into the program by the tests that stop a run at a known point: the first write of at least
// ORV_TEST_STOP_AT_WRITE_OF bytes (through write or fwrite) writes half of its bytes and then raises SIGINT (or
// the signal numbered ORV_TEST_STOP_SIGNAL), as Ctrl+C pressed while that file is being written would.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

bool g_Stopped = false;

// True once, for the write that is to be cut.
bool StopsHere(size_t bytes)
{
    const char* value = std::getenv("ORV_TEST_STOP_AT_WRITE_OF");
    if (g_Stopped || !value)
        return false;
    const unsigned long threshold = std::strtoul(value, nullptr, 10);
    if (threshold == 0 || bytes < threshold)
        return false;
    g_Stopped = true;
    return true;
}

int StopSignal()
{
    const char* value = std::getenv("ORV_TEST_STOP_SIGNAL");
    const int signal = value ? std::atoi(value) : 0;
    return signal > 0 ? signal : SIGINT;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) ssize_t write(int fd, const void* buffer, size_t bytes)
{
    using Write = ssize_t (*)(int, const void*, size_t);
    static const Write real = reinterpret_cast<Write>(::dlsym(RTLD_NEXT, "write"));
    if (!StopsHere(bytes))
        return real(fd, buffer, bytes);
    const ssize_t written = real(fd, buffer, bytes / 2);
    std::raise(StopSignal());
    return written;
}

__attribute__((visibility("default"))) size_t fwrite(const void* buffer, size_t size, size_t count, FILE* stream)
{
    using FWrite = size_t (*)(const void*, size_t, size_t, FILE*);
    static const FWrite real = reinterpret_cast<FWrite>(::dlsym(RTLD_NEXT, "fwrite"));
    if (size != 1 || !StopsHere(count))
        return real(buffer, size, count, stream);
    const size_t written = real(buffer, 1, count / 2, stream);
    std::fflush(stream);
    std::raise(StopSignal());
    return written;
}
}
