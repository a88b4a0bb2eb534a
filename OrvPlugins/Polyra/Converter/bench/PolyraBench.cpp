// Speed of the converter on a 3-minute, 16-channel MIDI file of about 10,000
// notes that overloads Model C a few hundred times: the pipeline without its
// two syntheses, the whole conversion in process, and the command line with
// preview from process start to exit. Then the CPU cost of converting two
// 10-minute game tunes, one dense and one of short notes, against the tune's
// length (scripts/bench-mseq.sh sets the whole program beside a software
// synthesiser on the same tunes).
#include "CPolyra.h"
#include "PolyraBenchTunes.h"
#include "PolyraPipeline.h"
#include "PolyraStages.h"
#include "PolyraWorkspace.h"
#include "ProgramRun.h"

#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {
QString DataPath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/data/app/") + QString::fromLatin1(relative);
}

struct Settings
{
    Settings()
    {
        loaded = parameters.Load(DataPath("Plugins/Parameters/MSEQParameters.xml"))
                 && profile.Load(DataPath("Profiles/Model_C.xml"));
    }
    CParameters parameters;
    CProfile profile;
    bool loaded = false;
};

void BM_PipelineWithoutSyntheses(benchmark::State& state)
{
    Settings settings;
    if (!settings.loaded) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    const QByteArray midi = PolyraBenchTunes::LongTune();
    const PolyraProfile profile = PolyraProfile::Read(&settings.profile);
    const PolyraParameters parameters = PolyraParameters::Read(
        &settings.parameters, &settings.profile, false, [](void*, const char*) {}, nullptr);
    unsigned long overloads = 0;
    unsigned long notes = 0;
    for (auto _ : state) {
        CMemFile source, format0, dest, sequence, wave;
        source.SetData(reinterpret_cast<const uchar*>(midi.constData()), uint(midi.size()));
        PolyraFiles files{source, format0, dest, sequence, wave};
        CConversionLog log;
        if (Polyra::PrepareSequence(profile, parameters, files, &log, false) != PolyraOutcome::Done) {
            state.SkipWithError("conversion failed");
            return;
        }
        // The volume pass after the first render and the sequence written again.
        PolyraWorkspace& ws = Polyra::Workspace();
        PolyraTrace trace(&log, false);
        ws.trace = &trace;
        PolyraStages::ScaleVolumesToWave(ws, 1.5f);
        PolyraStages::ConvertMisc(ws);
        ws.writer.WriteFile(sequence, ws.atb, ws.booster, ws.equalizer);
        ws.trace = nullptr;
        overloads = ws.overloads[0] + ws.overloads[1] + ws.overloads[2];
        notes = 0;
        for (const PolyraCommand& command : ws.commands)
            notes += command.type == CmdNoteOn;
    }
    state.counters["source_bytes"] = double(midi.size());
    state.counters["overloads"] = double(overloads);
    state.counters["notes"] = double(notes);
}
BENCHMARK(BM_PipelineWithoutSyntheses)->Unit(benchmark::kMillisecond);

// The converter with the bundled parameters and Model C, converting in
// process with its preview.
struct InProcessConverter
{
    InProcessConverter()
    {
        converter.SetParameters(&settings.parameters);
        converter.SetProfile(&settings.profile);
    }
    bool Convert(const QByteArray& midi)
    {
        CDocumentMidi document;
        document.SetRawData(reinterpret_cast<const unsigned char*>(midi.constData()), unsigned(midi.size()));
        converter.ClearRawData();
        const bool converted = converter.Convert(&document);
        delete converter.TakePreviewDocument();
        return converted;
    }
    Settings settings;
    CPolyra converter;
};

void BM_ConvertInProcess(benchmark::State& state)
{
    InProcessConverter polyra;
    if (!polyra.settings.loaded) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    const QByteArray midi = PolyraBenchTunes::LongTune();
    for (auto _ : state) {
        if (!polyra.Convert(midi)) {
            state.SkipWithError("conversion failed");
            return;
        }
    }
}
BENCHMARK(BM_ConvertInProcess)->Unit(benchmark::kMillisecond);

void BM_ConvertFromCommandLine(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("long.mid"));
    QFile out(source);
    if (!out.open(QIODevice::WriteOnly) || out.write(PolyraBenchTunes::LongTune()) < 0) {
        state.SkipWithError("cannot write the MIDI file");
        return;
    }
    out.close();
    const QStringList arguments = {QStringLiteral("/profile=Model C"), QStringLiteral("/converter=seq"),
                                   QStringLiteral("/destination=") + dir.path(), QStringLiteral("/preview"), source};
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (RunProgramIn(dir.path(), arguments, 60000) != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ConvertFromCommandLine)->UseManualTime()->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The whole conversion of a tune in process, preview included. Counter: CPU
// seconds per second of the tune. What a software synthesiser takes to
// render the same tune is measured beside the whole program by
// scripts/bench-mseq.sh.
void ConvertTune(benchmark::State& state, const QByteArray& midi, double seconds)
{
    InProcessConverter polyra;
    if (!polyra.settings.loaded) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        const bool converted = polyra.Convert(midi);
        cpu += ProcessCpuSeconds() - start;
        if (!converted) {
            state.SkipWithError("conversion failed");
            return;
        }
    }
    state.counters["cpu_per_tune_second"] = cpu / double(state.iterations()) / seconds;
}

void BM_ConvertDenseGameTune(benchmark::State& state)
{
    ConvertTune(state, PolyraBenchTunes::DenseGameTune(), PolyraBenchTunes::kDenseTuneSeconds);
}
BENCHMARK(BM_ConvertDenseGameTune)->Unit(benchmark::kMillisecond);

void BM_ConvertShortNoteTune(benchmark::State& state)
{
    ConvertTune(state, PolyraBenchTunes::ShortNoteGameTune(), PolyraBenchTunes::kShortNoteTuneSeconds);
}
BENCHMARK(BM_ConvertShortNoteTune)->Unit(benchmark::kMillisecond);
} // namespace
