// What the launcher adds to a run: the test program started directly against the same program
// started through Kickra, from a scratch folder where it plays Orvane.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Made once: a scratch folder holding the test program as "Orvane"; the process works there.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        char pattern[] = "/tmp/KickraBench.XXXXXX";
        if (!::mkdtemp(pattern))
            return;
        m_Path = pattern;
        std::error_code error;
        std::filesystem::copy_file(ORV_FAKE_PROGRAM_FILE, m_Path + "/Orvane", error);
        if (error || ::chdir(m_Path.c_str()) != 0)
            m_Path.clear();
    }
    ~ScratchFolder()
    {
        if (!m_Path.empty()) {
            std::error_code error;
            std::filesystem::remove_all(m_Path, error);
        }
    }
    bool IsValid() const { return !m_Path.empty(); }

private:
    std::string m_Path;
};

ScratchFolder& Folder()
{
    static ScratchFolder folder;
    return folder;
}

int RunToEnd(const char* program)
{
    char* const argv[] = {const_cast<char*>(program), const_cast<char*>("exit=0"), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

double Seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// 100 pairs of runs, a direct start and a start through Kickra taking turns so that the load of a
// shared machine weighs on both alike; the counters are the two medians and their difference.
void LauncherOverhead(benchmark::State& state)
{
    if (!Folder().IsValid()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const int pairs = 100;
    std::vector<double> direct;
    std::vector<double> launched;
    for (auto _ : state) {
        for (int i = 0; i < pairs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const int directCode = RunToEnd("./Orvane");
            const auto middle = std::chrono::steady_clock::now();
            const int launchedCode = RunToEnd(ORV_LAUNCHER_FILE);
            const auto end = std::chrono::steady_clock::now();
            if (directCode != 0 || launchedCode != 0) {
                state.SkipWithError("a run failed");
                return;
            }
            direct.push_back(Seconds(start, middle));
            launched.push_back(Seconds(middle, end));
        }
    }
    const double directMedian = Median(direct) * 1e3;
    const double launchedMedian = Median(launched) * 1e3;
    state.counters["direct_ms"] = directMedian;
    state.counters["kickra_ms"] = launchedMedian;
    state.counters["added_ms"] = launchedMedian - directMedian;
}

BENCHMARK(LauncherOverhead)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
