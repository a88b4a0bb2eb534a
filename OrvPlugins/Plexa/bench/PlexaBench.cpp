// Speed targets: EncodeVox in 12.2 at least 0.9x the codec library's own
// encode loop on the same input, DecodeVox at least 0.8x its decode loop, and
// a 60 s, 22,050 Hz WAV to VOX with preview from the command line under 1 s.
#include "PlexaTestSupport.h"
#include "ProgramRun.h"

#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrnb/interf_enc.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

using namespace PlexaTest;

namespace {
const Samples& TenSeconds()
{
    static const Samples samples = SpeechLike(10);
    return samples;
}

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void BM_LibraryEncode122(benchmark::State& state)
{
    const Samples& input = TenSeconds();
    for (auto _ : state) {
        void* encoder = Encoder_Interface_init(1);
        unsigned char frame[32];
        for (size_t at = 0; at + 160 <= input.size(); at += 160) {
            short speech[160];
            std::memcpy(speech, input.data() + at, sizeof(speech));
            benchmark::DoNotOptimize(Encoder_Interface_Encode(encoder, MR122, speech, frame, 0));
        }
        Encoder_Interface_exit(encoder);
    }
    state.counters["xRealTime"] = benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LibraryEncode122)->Unit(benchmark::kMillisecond);

void BM_EncodeVox122(benchmark::State& state)
{
    qInstallMessageHandler(Quiet);
    const Samples& input = TenSeconds();
    const QByteArray header = PcmHeader();
    CMemFile in;
    Fill(in, SampleBytes(input));
    for (auto _ : state) {
        CMemFile out;
        in.Rewind();
        if (!EncodeVox(reinterpret_cast<const unsigned char*>(header.constData()), in, out,
                       QStringLiteral("gsm_amr_122"), false, nullptr))
            state.SkipWithError("encoding failed");
    }
    state.counters["xRealTime"] = benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeVox122)->Unit(benchmark::kMillisecond);

void BM_LibraryDecode122(benchmark::State& state)
{
    // The library's own frames of the same input.
    std::vector<std::vector<unsigned char>> frames;
    void* encoder = Encoder_Interface_init(1);
    const Samples& input = TenSeconds();
    for (size_t at = 0; at + 160 <= input.size(); at += 160) {
        short speech[160];
        std::memcpy(speech, input.data() + at, sizeof(speech));
        std::vector<unsigned char> frame(32, 0);
        Encoder_Interface_Encode(encoder, MR122, speech, frame.data(), 0);
        frames.push_back(frame);
    }
    Encoder_Interface_exit(encoder);
    for (auto _ : state) {
        void* decoder = Decoder_Interface_init();
        short out[160];
        for (const std::vector<unsigned char>& frame : frames) {
            Decoder_Interface_Decode(decoder, frame.data(), out, 0);
            benchmark::DoNotOptimize(out[0]);
        }
        Decoder_Interface_exit(decoder);
    }
    state.counters["xRealTime"] = benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LibraryDecode122)->Unit(benchmark::kMillisecond);

void BM_DecodeVox122(benchmark::State& state)
{
    qInstallMessageHandler(Quiet);
    LogScope log;
    const QByteArray vox = Encode(TenSeconds(), "gsm_amr_122", false).vox;
    CMemFile in;
    Fill(in, vox);
    for (auto _ : state) {
        CMemFile out;
        in.Rewind();
        if (!DecodeVox(in, out, false))
            state.SkipWithError("decoding failed");
    }
    state.counters["xRealTime"] = benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeVox122)->Unit(benchmark::kMillisecond);

// A minute of speech-like sound at 22,050 Hz converted with its preview by
// the program, timed from process start to exit.
void BM_MinuteFromCommandLine(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("minute.wav"));
    const Samples speech = SpeechLike(60);
    Samples samples(size_t(60) * 22050);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = speech[i * 8000 / 22050];
    const QByteArray bytes = SampleBytes(samples);
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(PcmHeader(22050, 16, 1, 1, uint32_t(bytes.size())) + bytes) < 0) {
        state.SkipWithError("cannot write the WAV file");
        return;
    }
    file.close();
    const QStringList arguments = {QStringLiteral("/profile=Model C"), QStringLiteral("/converter=vox"),
                                   QStringLiteral("/destination=") + dir.path(), QStringLiteral("/preview"), source};
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (RunProgramIn(dir.path(), arguments, 60000) != 0) {
            state.SkipWithError("the program did not convert the file");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_MinuteFromCommandLine)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace
