// Memory target: a long speech clip through the VOX converter holds its sound
// no more often than the work needs (the source, the 8 kHz sound being coded,
// the decoded preview), so the program's peak stays under what it needs for a
// one-second clip plus the source plus twice the 8 kHz 16-bit sound. Checked on
// a nine-hour 8-bit 8 kHz clip (256 MB, the largest source the program reads)
// and on half an hour at 44.1 kHz; the peak is the program's own, as wait4
// reports it for the child. Each run takes minutes: run with
//   PlexaBench --benchmark_filter=Memory
#include "PlexaTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace PlexaTest;

namespace {
constexpr double kMegabyte = 1024.0 * 1024.0;

struct ProgramPeak
{
    int exitCode = -1;
    double peakBytes = 0.0;
};

// Runs the program in work with the arguments, its application folder the
// built one; the exit code and the child's peak resident memory.
ProgramPeak RunMeasured(const QString& work, const QStringList& arguments)
{
    std::vector<std::string> strings = {std::string(ORV_PROGRAM_FILE)};
    for (const QString& argument : arguments)
        strings.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string folder = work.toStdString();

    ProgramPeak result;
    const pid_t child = fork();
    if (child < 0)
        return result;
    if (child == 0) {
        setenv("ORVANEDIR", ORV_APP_DIR, 1);
        unsetenv("QT_QPA_PLATFORM");
        if (chdir(folder.c_str()) == 0)
            execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage = {};
    if (wait4(child, &status, 0, &usage) != child)
        return result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakBytes = double(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
    return result;
}

// A mono WAV of `seconds` (or as many whole samples as `dataBytes` holds), the
// speech-like pattern repeated, written in pieces so that the benchmark itself
// never holds the sound.
bool WriteClip(const QString& path, quint32 rate, int bits, qint64 dataBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const int sampleBytes = bits / 8;
    dataBytes -= dataBytes % sampleBytes;
    if (file.write(PcmHeader(rate, bits, 1, 1, quint32(dataBytes))) != 44)
        return false;
    // Seven seconds of syllables at 8 kHz, stretched to the clip's rate.
    const Samples pattern = SpeechLike(7);
    const qint64 patternSamples = qint64(pattern.size()) * rate / 8000;
    QByteArray piece;
    for (qint64 i = 0; i < patternSamples; ++i) {
        const int16_t value = pattern[size_t(i * 8000 / rate)];
        if (bits == 8)
            piece.append(char(uint8_t((value >> 8) + 128)));
        else
            piece.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
    }
    for (qint64 written = 0; written < dataBytes;) {
        const qint64 n = qMin<qint64>(piece.size(), dataBytes - written);
        if (file.write(piece.constData(), n) != n)
            return false;
        written += n;
    }
    return file.flush();
}

// The peak of one clip's conversion with its preview, next to its bound, as counters.
void MeasureClip(benchmark::State& state, const char* name, quint32 rate, int bits, qint64 dataBytes)
{
    QTemporaryDir dir;
    const QString work = dir.path();
    if (!dir.isValid() || !QDir(work).mkpath(QStringLiteral("out"))
        || !WriteClip(work + QStringLiteral("/clip.wav"), rate, bits, dataBytes)
        || !WriteClip(work + QStringLiteral("/second.wav"), rate, bits, qint64(rate) * bits / 8)) {
        state.SkipWithError("cannot write the WAV files");
        return;
    }
    auto arguments = [](const char* source) {
        return QStringList({QStringLiteral("/profile=Model C"), QStringLiteral("/converter=vox"),
                            QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                            QStringLiteral("/logfile=run.log"), QString::fromLatin1(source)});
    };
    // A clip this long is over every phone's size limit: the run says so and ends with 1, but writes the clip
    // and its preview all the same.
    auto converted = [&work](const char* name) {
        const QString out = work + QStringLiteral("/out/") + QString::fromLatin1(name);
        return QFileInfo(out + QStringLiteral(".VOX")).size() > 4
               && QFileInfo(out + QStringLiteral("_previewVOX.WAV")).size() > 44;
    };
    // What the program takes whatever the clip: its own code, libraries and a one-second clip.
    const ProgramPeak baseline = RunMeasured(work, arguments("second.wav"));
    if (baseline.exitCode != 0 || !converted("second")) {
        state.SkipWithError("the program did not convert the one-second clip");
        return;
    }
    const double samples = double(dataBytes / (bits / 8));
    const double sound8k = 2.0 * (rate == 8000 ? samples : samples * 8000.0 / rate);
    const double bound = baseline.peakBytes + double(dataBytes) + 2.0 * sound8k;
    ProgramPeak run;
    for (auto _ : state) {
        run = RunMeasured(work, arguments("clip.wav"));
        if (run.exitCode < 0 || !converted("clip")) {
            state.SkipWithError("the program did not convert the clip");
            return;
        }
    }
    state.counters["PeakMB"] = run.peakBytes / kMegabyte;
    state.counters["BoundMB"] = bound / kMegabyte;
    state.counters["BaselineMB"] = baseline.peakBytes / kMegabyte;
    state.counters["SourceMB"] = double(dataBytes) / kMegabyte;
    std::printf("%s: peak %.0f MB, bound %.0f MB (program %.0f MB + source %.0f MB + twice the 8 kHz sound %.0f MB)\n",
                name, run.peakBytes / kMegabyte, bound / kMegabyte, baseline.peakBytes / kMegabyte,
                double(dataBytes) / kMegabyte, 2.0 * sound8k / kMegabyte);
    if (run.peakBytes > bound)
        state.SkipWithError("the peak memory is over the bound");
}

// 256 MB of 8-bit samples at 8 kHz: nine hours and a quarter.
void BM_MemoryNineHourClip(benchmark::State& state)
{
    MeasureClip(state, "nine-hour 8-bit 8 kHz clip", 8000, 8, qint64(256) * 1024 * 1024 - 44);
}
BENCHMARK(BM_MemoryNineHourClip)->Iterations(1)->Unit(benchmark::kSecond);

// Thirty minutes at 44.1 kHz, 8 and 16 bits.
void BM_MemoryHalfHourAt44k(benchmark::State& state)
{
    const int bits = int(state.range(0));
    MeasureClip(state, bits == 8 ? "half-hour 8-bit 44.1 kHz clip" : "half-hour 16-bit 44.1 kHz clip", 44100, bits,
                qint64(30) * 60 * 44100 * bits / 8);
}
BENCHMARK(BM_MemoryHalfHourAt44k)->Arg(8)->Arg(16)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace
