// The synthesiser's speed target: a 3-minute sequence with 16 voices
// sounding throughout renders in under 0.5 s on one core (the converter
// renders every piece twice).
#include "MseqTestFile.h"

#include <benchmark/benchmark.h>

#include <QtGlobal>

namespace {
// Sixteen voices of the classes cheap enough for 16 to fit the budgets
// (organ, strings, brass, reed, pipe, synth lead), restarted every 5.1 s
// so that each ends its tail before its successor starts.
QByteArray SixteenVoicesForThreeMinutes()
{
    const int classes[] = {2, 5, 7, 8, 9, 10, 2, 5};
    MseqTestFile file(1000, 10); // 1 ms ticks, durations in 10 ms
    for (int channel = 0; channel < 8; ++channel)
        file.Instrument(channel, classes[channel]).Volume(channel, 100);
    for (int round = 0; round < 36; ++round) {
        for (int voice = 0; voice < 16; ++voice)
            file.Note(voice % 8, 48 + (voice * 5 + round * 7) % 36, 30, 500);
        file.Delay(5100);
    }
    return file.Bytes();
}

void BM_RenderThreeMinutesSixteenVoices(benchmark::State& state)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const QByteArray bytes = SixteenVoicesForThreeMinutes();
    CMemFile sequence;
    sequence.SetData(reinterpret_cast<const uchar*>(bytes.constData()), uint(bytes.size()));
    for (auto _ : state) {
        CMemFile wave;
        CConversionLog log;
        benchmark::DoNotOptimize(MseqRender(sequence, wave, &log, nullptr));
        state.counters["seconds"] = double(wave.GetSize() - 44) / 16000.0;
        state.counters["destroyed"] = double(log.GetSummaryText().count(QStringLiteral("Destroy")));
    }
}
BENCHMARK(BM_RenderThreeMinutesSixteenVoices)->Unit(benchmark::kMillisecond);
} // namespace
