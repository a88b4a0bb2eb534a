// The program's own start-up in process: Init on the full application folder
// (language file, paths, every plug-in with its texts and default parameters,
// every profile), then Shutdown.
#include "Core/COrvApplication.h"
#include "Core/CUserPrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void InitOnTheApplicationFolder(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    qputenv("ORVANEDIR", QFile::encodeName(QStringLiteral(ORV_APP_DIR)));

    static int argc = 2;
    static char name[] = "Orvane";
    static char log[] = "/logfile=bench.log";
    static char* argv[] = {name, log, nullptr};
    COrvApplication application(argc, argv);
    for (auto _ : state) {
        if (!application.Init())
            state.SkipWithError("start-up failed");
        application.Shutdown();
    }
}

} // namespace

BENCHMARK(InitOnTheApplicationFolder)->Unit(benchmark::kMillisecond);
