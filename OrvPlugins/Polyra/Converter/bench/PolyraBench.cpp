// Speed of the converter on a 3-minute, 16-channel MIDI file of about 10,000
// notes that overloads Model C a few hundred times: the pipeline without its
// two syntheses, the whole conversion in process, and the command line with
// preview from process start to exit.
#include "CPolyra.h"
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

namespace {
QString DataPath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/data/app/") + QString::fromLatin1(relative);
}

void AppendU32(QByteArray& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
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

void BM_ConvertInProcess(benchmark::State& state)
{
    Settings settings;
    if (!settings.loaded) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    const QByteArray midi = LongMidiFile();
    CPolyra converter;
    converter.SetParameters(&settings.parameters);
    converter.SetProfile(&settings.profile);
    for (auto _ : state) {
        CDocumentMidi document;
        document.SetRawData(reinterpret_cast<const unsigned char*>(midi.constData()), unsigned(midi.size()));
        converter.ClearRawData();
        if (!converter.Convert(&document)) {
            state.SkipWithError("conversion failed");
            return;
        }
        delete converter.TakePreviewDocument();
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
} // namespace
