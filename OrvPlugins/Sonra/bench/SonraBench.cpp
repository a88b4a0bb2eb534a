// Importing a 1 MB WAV file (target: under 5 ms).
#include "CSonra.h"
#include "WavBuilder.h"

#include <benchmark/benchmark.h>

namespace {
void ImportWav(benchmark::State& state)
{
    WavBuilder::Format format;
    format.channels = 2;
    format.rate = 44100;
    // The second variant hides the chunk chain, so the tags are searched for.
    const bool searched = state.range(0) != 0;
    QByteArray bytes = WavBuilder::Canonical(format, WavBuilder::Samples(1024 * 1024));
    if (searched)
        bytes.prepend("junk");
    CSonra importer;
    for (auto _ : state) {
        CDocument* document = importer.Import(bytes);
        benchmark::DoNotOptimize(document);
        delete document;
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(ImportWav)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace
