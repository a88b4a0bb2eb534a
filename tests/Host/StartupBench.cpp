// Start-up cost of the program: a command-line run whose source pattern matches no file, on the full
// application folder (every plug-in, parameter file and profile loaded, the shipped phone and converter
// selected, then shut down), from process start to exit. Target: under 100 ms. A run that does not succeed
// (a start-up that stops early would look fast) is an error, not a measurement.
#include <QByteArray>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

void CommandLineRunOnFullApplicationFolder(benchmark::State& state)
{
    QTemporaryDir work;
    const QByteArray log = "/logfile=" + work.path().toLocal8Bit() + "/bench.log";
    setenv("ORVANEDIR", ORV_APP_DIR, 1);
    unsetenv("QT_QPA_PLATFORM");
    QByteArray program = ORV_PROGRAM_FILE;
    QByteArray pattern = "*.nomatch";
    QByteArray logOption = log;
    QByteArray profile = "/profile=Model A";
    QByteArray converter = "/converter=imy";
    std::vector<char*> argv{program.data(), pattern.data(),   logOption.data(),
                            profile.data(), converter.data(), nullptr};
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawn(&child, program.constData(), nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the run did not succeed");
            break;
        }
    }
}

BENCHMARK(CommandLineRunOnFullApplicationFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
