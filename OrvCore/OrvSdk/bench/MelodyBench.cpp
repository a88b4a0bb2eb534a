// Melody extraction of a 5,000-note MIDI file and its iMelody text; the
// target is under 20 ms for both together.
#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMelodyTruncate.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace {
void AppendDelta(QByteArray& track, uint32_t value)
{
    char groups[4];
    int n = 0;
    do
    {
        groups[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value && n < 4);
    while (n-- > 0)
        track.append(static_cast<char>(groups[n] | (n ? 0x80 : 0)));
}

QByteArray BigEndian32(uint32_t v)
{
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    return QByteArray(bytes, 4);
}

// One track of 5,000 notes of varied pitch, length, loudness and gaps, with
// a drum part between them.
QByteArray MakeFile()
{
    QByteArray track;
    const char tempo[] = {0x00, static_cast<char>(0xFF), 0x51, 0x03, 0x07, static_cast<char>(0xA1), 0x20};
    track.append(tempo, sizeof(tempo));
    for (int i = 0; i < 5000; ++i)
    {
        const int key = 55 + (i * 7) % 24;
        AppendDelta(track, (i % 5 == 0) ? 240 : 0);
        track.append(static_cast<char>(0x90));
        track.append(static_cast<char>(key));
        track.append(static_cast<char>(60 + i % 60));
        AppendDelta(track, 0);
        track.append(static_cast<char>(0x99));
        track.append(static_cast<char>(36));
        track.append(static_cast<char>(100));
        AppendDelta(track, 120 + (i % 4) * 120);
        track.append(static_cast<char>(0x80));
        track.append(static_cast<char>(key));
        track.append(static_cast<char>(0x40));
    }
    track.append("\x00\xFF\x2F\x00", 4);
    QByteArray file("MThd");
    file += BigEndian32(6);
    file.append("\x00\x01\x00\x01\x01\xE0", 6);
    file += "MTrk";
    file += BigEndian32(static_cast<uint32_t>(track.size()));
    file += track;
    return file;
}

void DiscardMessages(QtMsgType, const QMessageLogContext&, const QString&)
{
}

void BM_MidiToIMelody(benchmark::State& state)
{
    // The program discards debug output; so does the benchmark.
    const QtMessageHandler previous = qInstallMessageHandler(DiscardMessages);
    const QByteArray file = MakeFile();
    CDocumentMidi midi;
    midi.SetRawData(reinterpret_cast<const unsigned char*>(file.constData()), static_cast<unsigned>(file.size()));
    size_t bytes = 0;
    for (auto _ : state)
    {
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
