// Melody extraction of a 5,000-note MIDI file and its iMelody text; the
// target is under 20 ms for both together.
#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMelodyTruncate.h"
#include "MidiFileBuilder.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace {
// One track of 5,000 notes of varied pitch, length, loudness and gaps, with
// a drum part between them.
QByteArray MakeFile()
{
    SmfTrack track;
    track.Tempo(0, 500000);
    for (int i = 0; i < 5000; ++i) {
        const int key = 55 + (i * 7) % 24;
        track.NoteOn((i % 5 == 0) ? 240 : 0, 0, key, 60 + i % 60);
        track.NoteOn(0, 9, 36, 100);
        track.NoteOff(120 + (i % 4) * 120, 0, key);
    }
    return SmfFile({track});
}

void DiscardMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

void BM_MidiToIMelody(benchmark::State& state)
{
    // The program discards debug output; so does the benchmark.
    const QtMessageHandler previous = qInstallMessageHandler(DiscardMessages);
    const QByteArray file = MakeFile();
    CDocumentMidi midi;
    midi.SetRawData(reinterpret_cast<const unsigned char*>(file.constData()), static_cast<unsigned>(file.size()));
    size_t bytes = 0;
    for (auto _ : state) {
        CDocumentMelody* melody = midi.BuildMelodyDocument();
        CMelodyTruncate writer;
        QByteArray text;
        IMYNotes events;
        writer.WriteIMelody(melody, true, true, true, true, true, true, true, nullptr, text, 4294967295u, events);
        bytes = static_cast<size_t>(text.size());
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["notes"] = 5000;
    state.counters["bytes"] = static_cast<double>(bytes);
    qInstallMessageHandler(previous);
}
BENCHMARK(BM_MidiToIMelody)->Unit(benchmark::kMillisecond);
} // namespace
