// Speed of the converter on a 3-minute, 16-channel MIDI file of about 10,000
// notes that overloads Model C a few hundred times: the pipeline without its
// two syntheses, the whole conversion in process, and the command line with
// preview from process start to exit. Then the CPU cost of converting a dense
// 10-minute game tune against the tune's length and against the budget a
// general MIDI software synthesiser takes to render it at 8000 Hz.
#include "CPolyra.h"
#include "MidiFileBuilder.h"
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

#include <algorithm>
#include <ctime>
#include <vector>

namespace {
QString DataPath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/data/app/") + QString::fromLatin1(relative);
}

// 180 seconds at 120 beats a minute, 96 ticks a quarter, one track per
// channel: each of the 16 channels plays its own instrument in notes of a
// sixteenth or an eighth, repeating a pitch for a while before a seeded step
// moves it, about 10,000 notes in all. A repeated note takes over its own
// voice; the changes of pitch, with the releases still running, pass
// Model C's 16 voices a few hundred times.
QByteArray LongMidiFile()
{
    // A pitch holds for about 60 notes; 42 % of the steps are rests.
    const uint32_t kRepeats = 60;
    const uint32_t kRestPercent = 42;
    const uint32_t ticks = 360 * 96;
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    QByteArray file("MThd");
    AppendU32(file, 6);
    file.append(QByteArray::fromHex("0001001100"
                                    "60"));
    QByteArray tempo = QByteArray::fromHex("00FF510307A120") + QByteArray::fromHex("00FF2F00");
    file.append("MTrk");
    AppendU32(file, uint32_t(tempo.size()));
    file.append(tempo);
    for (int channel = 0; channel < 16; ++channel) {
        QByteArray track;
        if (channel != 9)
            track.append(char(0x00)).append(char(0xC0 | channel)).append(char(channel * 8));
        uint32_t now = 0;
        uint32_t pending = 0;
        int pitch = 48 + channel * 2;
        while (now < ticks) {
            const uint32_t length = (next() % 3 == 0) ? 48 : 24;
            const bool rest = next() % 100 < kRestPercent;
            if (!rest) {
                if (next() % kRepeats == 0)
                    pitch = qBound(30, pitch + int(next() % 7) - 3, 90);
                PolyraStages::AppendVarLen(track, pending);
                track.append(char(0x90 | channel)).append(char(pitch)).append(char(60 + next() % 60));
                PolyraStages::AppendVarLen(track, length - 4);
                track.append(char(0x80 | channel)).append(char(pitch)).append(char(0));
                pending = 4;
            } else
                pending += length;
            now += length;
        }
        PolyraStages::AppendVarLen(track, pending);
        track.append(QByteArray::fromHex("FF2F00"));
        file.append("MTrk");
        AppendU32(file, uint32_t(track.size()));
        file.append(track);
    }
    return file;
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
    const QByteArray midi = LongMidiFile();
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
    const QByteArray midi = LongMidiFile();
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
    if (!out.open(QIODevice::WriteOnly) || out.write(LongMidiFile()) < 0) {
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

// A dense game tune: 10 minutes at 150 beats a minute, 96 ticks a quarter,
// five tracks (square lead in sixteenths with a few rests, synth bass in
// eighths, piano triads on every half note, vibraphone arpeggio and drums on
// every quarter), about 20 notes a second: 12,450 notes, 24,900 note events.
constexpr double kDenseTuneSeconds = 600.0;

QByteArray DenseGameTune()
{
    const uint32_t ticks = 600 * 150 / 60 * 96;
    struct Event
    {
        uint32_t tick;
        int status, key, velocity;
    };
    uint32_t seed = 2024;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 16) & 0x7FFF) % range;
    };
    std::vector<std::vector<Event>> tracks(5);
    auto note = [&tracks](int track, int channel, uint32_t tick, int key, uint32_t length, int velocity) {
        tracks[size_t(track)].push_back({tick, 0x90 | channel, key, velocity});
        tracks[size_t(track)].push_back({tick + length, 0x80 | channel, key, 0});
    };
    for (uint32_t t = 0; t < ticks; t += 24)
        if (next(10) < 7)
            note(0, 0, t, 72 + int(next(12)), 20, 110);
    for (uint32_t t = 0; t < ticks; t += 48)
        note(1, 1, t, 36 + int(next(12)), 40, 100);
    for (uint32_t t = 0; t < ticks; t += 192)
        for (int step : {0, 4, 7})
            note(2, 2, t, 60 + step, 180, 80);
    for (uint32_t t = 0; t < ticks; t += 96) {
        note(3, 3, t, 84 + int(next(8)), 30, 70);
        const int drums[] = {36, 42, 38, 42};
        note(4, 9, t, drums[(t / 96) % 4], 10, 100);
    }
    const int programs[] = {80, 38, 0, 11};
    QList<SmfTrack> smf;
    for (size_t track = 0; track < tracks.size(); ++track) {
        std::vector<Event>& events = tracks[track];
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
        SmfTrack out;
        if (track == 0)
            out.Tempo(0, 400000);
        if (track < 4)
            out.Program(0, int(track), programs[track]);
        uint32_t now = 0;
        for (const Event& e : events) {
            out.Message(e.tick - now, e.status, e.key, e.velocity);
            now = e.tick;
        }
        smf.append(out);
    }
    return SmfFile(smf, 96);
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The whole conversion in process, preview included. Counters: CPU seconds
// per second of the tune, and the CPU time over 0.31 s, what a general MIDI
// software synthesiser took to render this density of tune at 8000 Hz (1 or
// less: no dearer than that).
void BM_ConvertDenseGameTune(benchmark::State& state)
{
    InProcessConverter polyra;
    if (!polyra.settings.loaded) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    const QByteArray midi = DenseGameTune();
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
    const double perConversion = cpu / double(state.iterations());
    state.counters["cpu_per_tune_second"] = perConversion / kDenseTuneSeconds;
    state.counters["cpu_over_reference"] = perConversion / 0.31;
}
BENCHMARK(BM_ConvertDenseGameTune)->Unit(benchmark::kMillisecond);
} // namespace
