// Speed targets of the half-rate codec on 10 s of speech-like sound: the
// encoder at least 100 times real time on one core, the preview decode (the
// whole VOX clip back to WAV) at least 500 times. The counter "x_realtime"
// gives the factor.
#include "GsmHrDecoder.h"
#include "GsmHrEncoder.h"
#include "GsmHrFrame.h"
#include "GsmHrSpeechSignal.h"
#include "PlexaLog.h"
#include "VoxCodec.h"

#include "Util/CMemFile.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <array>
#include <vector>

namespace {

constexpr double kSeconds = 10.0;

const std::vector<int16_t>& Speech()
{
    static const std::vector<int16_t> speech = MakeSpeechLikeSignal(kSeconds);
    return speech;
}

void SetRealTime(benchmark::State& state)
{
    state.counters["x_realtime"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

QByteArray HalfRateClip(const std::vector<int16_t>& speech = Speech(), bool noDtx = true)
{
    QByteArray header(44, '\0');
    const uint32_t size = uint32_t(speech.size() * 2);
    auto put = [&](int at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            header[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    header.replace(0, 4, "RIFF");
    put(4, 36 + size, 4);
    header.replace(8, 8, "WAVEfmt ");
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, 1, 2);
    put(24, 8000, 4);
    put(28, 16000, 4);
    put(32, 2, 2);
    put(34, 16, 2);
    header.replace(36, 4, "data");
    put(40, size, 4);
    CMemFile input;
    input.SetData(reinterpret_cast<const uchar*>(speech.data()), size);
    input.Rewind();
    CMemFile output;
    EncodeVox(reinterpret_cast<const unsigned char*>(header.constData()), input, output, QStringLiteral("gsm_hr"),
              noDtx, nullptr);
    return QByteArray(reinterpret_cast<const char*>(output.GetBuffer()), int(output.GetSize()));
}

} // namespace

static void GsmHrEncode(benchmark::State& state)
{
    const auto& speech = Speech();
    GsmHrEncoder encoder;
    std::array<int16_t, GsmHrEncoder::kParams> params{};
    for (auto _ : state) {
        encoder.Reset();
        for (size_t at = 0; at + 160 <= speech.size(); at += 160)
            encoder.Encode(&speech[at], params.data());
        benchmark::DoNotOptimize(params);
    }
    SetRealTime(state);
}
BENCHMARK(GsmHrEncode)->Unit(benchmark::kMillisecond);

static void GsmHrDecode(benchmark::State& state)
{
    const auto& speech = Speech();
    GsmHrEncoder encoder;
    std::vector<std::array<int16_t, GsmHrDecoder::kInputs>> frames;
    for (size_t at = 0; at + 160 <= speech.size(); at += 160) {
        std::array<int16_t, GsmHrDecoder::kInputs> in{};
        encoder.Encode(&speech[at], in.data());
        in[18] = in[19] = in[20] = in[21] = 0;
        frames.push_back(in);
    }
    GsmHrDecoder decoder;
    std::vector<int16_t> out(160);
    for (auto _ : state) {
        decoder.Reset();
        for (const auto& in : frames)
            decoder.Decode(in.data(), out.data());
        benchmark::DoNotOptimize(out);
    }
    SetRealTime(state);
}
BENCHMARK(GsmHrDecode)->Unit(benchmark::kMillisecond);

static void GsmHrPreviewDecode(benchmark::State& state)
{
    const QByteArray clip = HalfRateClip();
    for (auto _ : state) {
        CMemFile input;
        input.SetData(reinterpret_cast<const uchar*>(clip.constData()), uint(clip.size()));
        input.Rewind();
        CMemFile output;
        benchmark::DoNotOptimize(DecodeVox(input, output, false));
    }
    SetRealTime(state);
}
BENCHMARK(GsmHrPreviewDecode)->Unit(benchmark::kMillisecond);

// With DTX on the voice activity detector and the comfort-noise averaging run
// on every frame.
static void GsmHrEncodeDtx(benchmark::State& state)
{
    const auto& speech = Speech();
    GsmHrEncoder encoder;
    encoder.SetDtx(true);
    std::array<int16_t, GsmHrEncoder::kParams> params{};
    for (auto _ : state) {
        encoder.Reset();
        for (size_t at = 0; at + 160 <= speech.size(); at += 160)
            encoder.Encode(&speech[at], params.data());
        benchmark::DoNotOptimize(params);
    }
    SetRealTime(state);
}
BENCHMARK(GsmHrEncodeDtx)->Unit(benchmark::kMillisecond);

// The preview of a clip that is mostly a pause: 2 s of speech, then 8 s of
// noise sent as SID updates and comfort noise.
static void GsmHrPreviewDecodeComfortNoise(benchmark::State& state)
{
    std::vector<int16_t> signal = MakeSpeechLikeSignal(2.0);
    uint32_t seed = 7;
    while (signal.size() < size_t(kSeconds * 8000)) {
        seed = seed * 1664525u + 1013904223u;
        signal.push_back(int16_t(static_cast<int32_t>(seed) >> 23)); // white noise, RMS about 150
    }
    const QByteArray clip = HalfRateClip(signal, false);
    for (auto _ : state) {
        CMemFile input;
        input.SetData(reinterpret_cast<const uchar*>(clip.constData()), uint(clip.size()));
        input.Rewind();
        CMemFile output;
        benchmark::DoNotOptimize(DecodeVox(input, output, false));
    }
    SetRealTime(state);
}
BENCHMARK(GsmHrPreviewDecodeComfortNoise)->Unit(benchmark::kMillisecond);
