// Preloaded into the program by the tests that stop a run at a known point: the first write of at least
// ORV_TEST_STOP_AT_WRITE_OF bytes (through write or fwrite) writes half of its bytes and then raises SIGINT (or
// the signal numbered ORV_TEST_STOP_SIGNAL), as Ctrl+C pressed while that file is being written would.
// With ORV_TEST_SIGNAL_AT_TEMPORARY set to a signal number instead, the first temporary file created (mkstemps)
// while the process runs other threads besides the main one is followed at once by that signal, sent to the
// process as a kill from outside would be.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
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

int ThreadCount()
{
    DIR* tasks = ::opendir("/proc/self/task");
    if (!tasks)
        return 0;
    int count = 0;
    while (const dirent* entry = ::readdir(tasks))
        if (entry->d_name[0] != '.')
            ++count;
    ::closedir(tasks);
    return count;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int mkstemps(char* name, int suffixLength)
{
    using Make = int (*)(char*, int);
    static const Make real = reinterpret_cast<Make>(::dlsym(RTLD_NEXT, "mkstemps"));
    const int file = real(name, suffixLength);
    const char* value = std::getenv("ORV_TEST_SIGNAL_AT_TEMPORARY");
    if (file >= 0 && value && !g_Stopped && ThreadCount() > 1) {
        g_Stopped = true;
        ::kill(::getpid(), std::atoi(value));
    }
    return file;
}

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
