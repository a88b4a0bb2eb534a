// Whole command-line runs of the real program on the built application folder, from process start to exit:
// 2,000 small RTTTL sources in one run, and one small conversion. The checks a run makes on its log, its
// sources and its result names must cost nothing measurable beside them. ORV_BENCH_PROGRAM names another
// build of the program to compare with and ORV_BENCH_APP that build's application folder (its plug-ins must
// match its program). A run that fails is an error, not a measurement.
#include "PeakMemoryRun.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QByteArray Program()
{
    const QByteArray other = qgetenv("ORV_BENCH_PROGRAM");
    return other.isEmpty() ? QByteArray(ORV_PROGRAM_FILE) : other;
}

// Runs the program in folder with the arguments; false when it cannot start or does not succeed.
bool RunProgram(const QByteArray& folder, const QList<QByteArray>& arguments)
{
    return RunMeasured(Program(), arguments, folder, QProcessEnvironment()).ExitedWith(0);
}

void Prepare()
{
    const QByteArray other = qgetenv("ORV_BENCH_APP");
    setenv("ORVANEDIR", other.isEmpty() ? ORV_APP_DIR : other.constData(), 1);
    unsetenv("QT_QPA_PLATFORM");
}

void Run(benchmark::State& state, int sources)
{
    Prepare();
    QTemporaryDir work;
    const QByteArray folder = QFile::encodeName(work.path());
    QDir(work.path()).mkdir(QStringLiteral("out"));
    for (int i = 0; i < sources; ++i) {
        QFile file(work.filePath(QStringLiteral("t%1.rtx").arg(i)));
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the sources");
            return;
        }
        file.write("Tune" + QByteArray::number(i) + ":d=4,o=5,b=120:8c,8e,8g,c6,8g,2e\n");
    }
    const QList<QByteArray> arguments{"/profile=Model A", "/converter=imy", "/destination=out", "/logfile=bench.log",
                                      sources == 1 ? QByteArray("t0.rtx") : QByteArray("*.rtx")};
    for (auto _ : state) {
        if (!RunProgram(folder, arguments)) {
            state.SkipWithError("the run did not succeed");
            break;
        }
    }
}

void TwoThousandRtttlSourcesInOneRun(benchmark::State& state)
{
    Run(state, 2000);
}

void OneSmallConversion(benchmark::State& state)
{
    Run(state, 1);
}

BENCHMARK(TwoThousandRtttlSourcesInOneRun)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);
BENCHMARK(OneSmallConversion)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
