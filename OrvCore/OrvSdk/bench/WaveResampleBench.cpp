// One minute of 44.1 kHz stereo brought to 8 kHz mono, as the speech-clip
// exporter asks for it. Target: under 50 ms per conversion.
#include "Wave/CDocumentWave.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {
constexpr unsigned kRate = 44100;
constexpr unsigned kSeconds = 60;

// Two tones and a little deterministic noise, so that nothing is trivially zero.
std::vector<unsigned char> MakeStereoMinute()
{
    const size_t frames = size_t(kRate) * kSeconds;
    std::vector<unsigned char> bytes(frames * 4);
    uint32_t noise = 12345;
    for (size_t i = 0; i < frames; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = double(i) / kRate;
        const int left = int(12000.0 * std::sin(2.0 * M_PI * 440.0 * t)) + int(noise >> 24) - 128;
        const int right = int(12000.0 * std::sin(2.0 * M_PI * 1000.0 * t)) - int(noise >> 25);
        const uint16_t l = uint16_t(int16_t(left));
        const uint16_t r = uint16_t(int16_t(right));
        bytes[i * 4 + 0] = uint8_t(l & 0xFF);
        bytes[i * 4 + 1] = uint8_t(l >> 8);
        bytes[i * 4 + 2] = uint8_t(r & 0xFF);
        bytes[i * 4 + 3] = uint8_t(r >> 8);
    }
    return bytes;
}

void ResampleStereoMinuteTo8000Mono(benchmark::State& state)
{
    const int bitsOut = int(state.range(0));
    const std::vector<unsigned char> bytes = MakeStereoMinute();
    CDocumentWave wave;
    wave.CreateHeader(kRate, 16, 2);
    wave.m_WAVEheader.data_ckSize = uint32_t(bytes.size());
    wave.SetInputData(bytes.data(), uint32_t(bytes.size()));
    for (auto _ : state) {
        wave.ConvertFormat(1, bitsOut, 8000);
        benchmark::DoNotOptimize(wave.m_pOutputData);
        benchmark::ClobberMemory();
        wave.FreeOutputData();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRate * kSeconds);
}
} // namespace

BENCHMARK(ResampleStereoMinuteTo8000Mono)->Arg(16)->Arg(8)->Unit(benchmark::kMillisecond);
