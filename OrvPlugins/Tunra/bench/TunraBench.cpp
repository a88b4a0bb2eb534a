// Speed of the main job: a 3-minute, 2,000-note MIDI file to iMelody with its
// preview. In process always; from the command line (process start to exit)
// when the program is built.
#include "CTunra.h"
#include "ProgramRun.h"

#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Wave/CDocumentWave.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
void AppendVarLen(QByteArray& out, quint32 value)
{
    char groups[4];
    int count = 0;
    do {
        groups[count++] = char(value & 0x7F);
        value >>= 7;
    } while (value && count < 4);
    while (count > 1)
        out.append(char(groups[--count] | 0x80));
    out.append(groups[0]);
}

// 2,000 notes at beat 120, sixteenths and thirty-seconds in turn over two
// octaves of C major: 187.5 seconds of music.
QByteArray LongMidiFile()
{
    static const int kScale[] = {60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77, 79, 81, 83};
    QByteArray track;
    track += QByteArray::fromHex("00FF510307A120"); // 500000 us per quarter
    track += QByteArray::fromHex("00C000");         // piano on channel 1
    for (int i = 0; i < 2000; ++i) {
        const char key = char(kScale[(i * 5) % 14]);
        AppendVarLen(track, 0);
        track += char(0x90);
        track += key;
        track += char(100);
        AppendVarLen(track, (i % 2) ? 12 : 24);
        track += char(0x80);
        track += key;
        track += char(0);
    }
    track += QByteArray::fromHex("00FF2F00");
    QByteArray file = QByteArray::fromHex("4D546864000000060000000100604D54726B");
    const int size = track.size();
    file += char((size >> 24) & 0xFF);
    file += char((size >> 16) & 0xFF);
    file += char((size >> 8) & 0xFF);
    file += char(size & 0xFF);
    return file + track;
}

QString DataPath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/data/app/") + QString::fromLatin1(relative);
}

void BM_ConvertInProcess(benchmark::State& state)
{
    const QByteArray file = LongMidiFile();
    CParameters parameters;
    CProfile profile;
    if (!parameters.Load(DataPath("Plugins/Parameters/IMYParameters.xml"))
        || !profile.Load(DataPath("Profiles/Model_B.xml"))) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    CTunra tunra;
    tunra.SetParameters(&parameters);
    tunra.SetProfile(&profile);
    for (auto _ : state) {
        CDocumentMidi midi;
        midi.SetRawData(reinterpret_cast<const unsigned char*>(file.constData()), unsigned(file.size()));
        tunra.ClearRawData();
        if (!tunra.Convert(&midi)) {
            state.SkipWithError("conversion failed");
            return;
        }
        delete tunra.TakePreviewDocument();
    }
}
BENCHMARK(BM_ConvertInProcess)->Unit(benchmark::kMillisecond);

// The README's main job, timed from process start to exit.
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
    const QStringList arguments = {QStringLiteral("/profile=Model B"), QStringLiteral("/converter=imy"),
                                   QStringLiteral("/destination=") + dir.path(), QStringLiteral("/preview"), source};
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (RunProgramIn(dir.path(), arguments, 60000) != 0) {
            state.SkipWithError("the program did not convert the file");
            return;
        }
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(BM_ConvertFromCommandLine)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace
