// A 2,000-note MIDI file to QBR with its preview: in process, and through the
// program from process start to exit (target: under 150 ms).
#include "CChimo.h"

#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
// One track at beat 120, 96 ticks a quarter: 2,000 sixteenths and
// thirty-seconds in turn walking up and down two octaves, 187.5 seconds of
// music, like the iMelody exporter's benchmark.
QByteArray TwoThousandNotes()
{
    QByteArray track = QByteArray::fromHex("00FF510307A120"); // 500000 us a quarter
    for (int i = 0; i < 2000; ++i) {
        const int step = i % 28;
        const char key = char(60 + (step < 14 ? step : 28 - step));
        track += QByteArray::fromHex("0090");
        track += key;
        track += char(90);
        track += char(i % 2 ? 12 : 24);
        track += char(0x80);
        track += key;
        track += char(0);
    }
    track += QByteArray::fromHex("00FF2F00");
    QByteArray file = QByteArray::fromHex("4D546864000000060000000100604D54726B");
    for (int shift = 24; shift >= 0; shift -= 8)
        file += char((track.size() >> shift) & 0xFF);
    return file + track;
}

QString DataPath(const char* relative)
{
    return QStringLiteral(ORV_SOURCE_DIR "/data/app/") + QString::fromLatin1(relative);
}
} // namespace

static void InProcess(benchmark::State& state)
{
    const QByteArray file = TwoThousandNotes();
    CParameters parameters;
    CProfile profile;
    if (!parameters.Load(DataPath("Plugins/Parameters/QBRParameters.xml"))
        || !profile.Load(DataPath("Profiles/Model_B.xml"))) {
        state.SkipWithError("cannot load the parameter file or the profile");
        return;
    }
    CChimo chimo;
    chimo.SetParameters(&parameters);
    chimo.SetProfile(&profile);
    for (auto _ : state) {
        CDocumentMidi midi;
        midi.SetRawData(reinterpret_cast<const unsigned char*>(file.constData()), unsigned(file.size()));
        chimo.ClearRawData();
        if (!chimo.Convert(&midi)) {
            state.SkipWithError("conversion failed");
            return;
        }
    }
}
BENCHMARK(InProcess)->Unit(benchmark::kMillisecond);

static void FromCommandLine(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("long.mid")));
    if (!out.open(QIODevice::WriteOnly) || out.write(TwoThousandNotes()) < 0) {
        state.SkipWithError("cannot write the MIDI file");
        return;
    }
    out.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QStringList arguments = {QStringLiteral("/profile=Model B"), QStringLiteral("/converter=qbr"),
                                   QStringLiteral("/destination=") + dir.path(), QStringLiteral("/preview"),
                                   out.fileName()};
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ORV_PROGRAM_FILE), arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}
BENCHMARK(FromCommandLine)->Unit(benchmark::kMillisecond);
