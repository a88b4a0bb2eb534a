// What the launcher adds to a run: the test program started directly against the same program
// started through Kickra, from a scratch folder where it plays Orvane. Compare the medians.
#include <benchmark/benchmark.h>

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
        std::filesystem::copy_file(KICKRA_TEST_PROGRAM, m_Path + "/Orvane", error);
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

void Measure(benchmark::State& state, const char* program)
{
    if (!Folder().IsValid()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    for (auto _ : state) {
        if (RunToEnd(program) != 0) {
            state.SkipWithError("the run failed");
            return;
        }
    }
}

void DirectStart(benchmark::State& state)
{
    Measure(state, "./Orvane");
}

void ThroughKickra(benchmark::State& state)
{
    Measure(state, KICKRA_PROGRAM);
}

// One run per repetition, 100 repetitions: the median is the figure to compare.
BENCHMARK(DirectStart)->Iterations(1)->Repetitions(100)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(ThroughKickra)->Iterations(1)->Repetitions(100)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
