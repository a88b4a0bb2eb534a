// The polyphase resampler: its filter, output lengths, indexing and speed-ups.
#include "Wave/CWaveResampler.h"
#include "Wave/WaveFilterTaps.h"
#include "WaveTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

using namespace WaveTest;

namespace {
struct Pair
{
    unsigned src;
    unsigned dst;
    int L;
    int M;
};
const Pair kPairs[] = {
    {96000, 48000, 1, 2},   {96000, 44100, 5, 11},  {96000, 22050, 3, 13}, {96000, 11025, 3, 26}, {96000, 8000, 5, 60},
    {48000, 44100, 21, 23}, {48000, 22050, 21, 46}, {48000, 11025, 3, 13}, {48000, 8000, 5, 30},  {44100, 22050, 1, 2},
    {44100, 11025, 1, 4},   {44100, 8000, 15, 83},  {22050, 11025, 1, 2},  {22050, 8000, 15, 41}, {16000, 11025, 9, 13},
    {16000, 8000, 1, 2},    {11025, 8000, 21, 29},
};

// The filter exactly as described: a state of N floats shifted by one per
// input taken, newest first, and one sum per output while the phase is below L.
std::vector<float> LiteralPolyphase(const std::vector<float>& in, int L, int M)
{
    const int N = kWaveFilterTapCount / L;
    std::vector<float> state(size_t(N), 0.0f);
    std::vector<float> out;
    size_t next = 0;
    int phase = 0;
    while (next < in.size()) {
        while (phase >= L && next < in.size()) {
            phase -= L;
            for (int t = N - 1; t > 0; --t)
                state[size_t(t)] = state[size_t(t - 1)];
            state[0] = in[next++];
        }
        while (phase < L) {
            float sum = 0.0f;
            for (int t = 0; t < N; ++t)
                sum += state[size_t(t)] * kWaveFilterTaps[phase + t * L];
            out.push_back(sum);
            phase += M;
        }
    }
    return out;
}

double ResponseDb(double cyclesPerSample)
{
    double re = 0.0, im = 0.0;
    for (int n = 0; n < kWaveFilterTapCount; ++n) {
        re += kWaveFilterTaps[n] * std::cos(2.0 * M_PI * cyclesPerSample * n);
        im += kWaveFilterTaps[n] * std::sin(2.0 * M_PI * cyclesPerSample * n);
    }
    return 20.0 * std::log10(std::hypot(re, im));
}
} // namespace

TEST(WaveResampler, FilterIsASymmetricLowPassSummingToOne)
{
    double sum = 0.0;
    for (int i = 0; i < kWaveFilterTapCount; ++i) {
        EXPECT_EQ(kWaveFilterTaps[i], kWaveFilterTaps[kWaveFilterTapCount - 1 - i]) << i;
        EXPECT_LE(kWaveFilterTaps[i], kWaveFilterTaps[52]);
        sum += kWaveFilterTaps[i];
    }
    EXPECT_NEAR(sum, 1.0, 1e-6);
    EXPECT_NEAR(ResponseDb(0.0), 0.0, 1e-4);
    EXPECT_NEAR(ResponseDb(0.02), -6.0, 0.5);
    for (double f = 0.04; f <= 0.5; f += 0.0005)
        ASSERT_LT(ResponseDb(f), -56.0) << f;
    for (double f = 0.1; f <= 0.5; f += 0.0005)
        ASSERT_LT(ResponseDb(f), -80.0) << f;
}

TEST(WaveResampler, OutputLengthIsWhatTheFilterEmits)
{
    struct Case
    {
        uint64_t n;
        int L;
        int M;
        uint64_t length;
    };
    const Case cases[] = {
        {0, 15, 83, 0},         {1, 15, 83, 1}, // the first output needs no input beyond the first
        {5, 1, 2, 3},                           // outputs at inputs 0, 2, 4
        {6, 1, 2, 4},                           // ... and 6, reached once all six are taken
        {44100, 15, 83, 7971},                  // one second to 8000 Hz: 661514 / 83 + 1
        {48000, 21, 23, 43827}, {44100, 1, 2, 22051}, {16000, 9, 13, 11078}, // 144008 / 13 + 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CWaveResampler::OutputLength(c.n, c.L, c.M), c.length) << c.n << " " << c.L << "/" << c.M;
        std::vector<float> in(size_t(c.n), 1.0f);
        EXPECT_EQ(LiteralPolyphase(in, c.L, c.M).size(), c.length);
    }
    // L x n / M + 1 falls short whenever L x n mod M > M - L: for 48000 -> 44100
    // that is most lengths.
    int shortBy21 = 0, shortBy15 = 0;
    for (uint64_t n = 1; n <= 1000; ++n) {
        shortBy21 += CWaveResampler::OutputLength(n, 21, 23) > 21 * n / 23 + 1;
        shortBy15 += CWaveResampler::OutputLength(n, 15, 83) > 15 * n / 83 + 1;
    }
    EXPECT_GT(shortBy21, 800);
    EXPECT_GT(shortBy15, 100);
}

TEST(WaveResampler, ImpulseReadsBackTheTapsAtTheirPhase)
{
    // An impulse at input i reaches output j through tap j x M - L x (i + 1)
    // whenever that tap lies among the N x L reachable ones.
    for (const Pair& p : kPairs) {
        const int N = kWaveFilterTapCount / p.L;
        for (int impulseAt : {0, 3, 40}) {
            std::vector<float> in(200, 0.0f);
            in[size_t(impulseAt)] = 1000.0f;
            const CWaveResampler resampler(p.L, p.M);
            std::vector<float> out(CWaveResampler::OutputLength(in.size(), p.L, p.M));
            resampler.Run(in.data(), uint32_t(in.size()), out.data());
            for (size_t j = 0; j < out.size(); ++j) {
                const int64_t tap = int64_t(j) * p.M - int64_t(p.L) * (impulseAt + 1);
                const float expected = tap >= 0 && tap < N * p.L ? 1000.0f * kWaveFilterTaps[tap] : 0.0f;
                ASSERT_EQ(out[j], expected) << p.src << "->" << p.dst << " impulse " << impulseAt << " output " << j;
            }
        }
    }
}

TEST(WaveResampler, PhaseTablesAreBitExactWithTheLiteralFilter)
{
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> level(-32768.0f, 32767.0f);
    for (const Pair& p : kPairs) {
        for (size_t n : {size_t(1), size_t(7), size_t(104), size_t(3001)}) {
            std::vector<float> in(n);
            for (float& x : in)
                x = level(random);
            const std::vector<float> expected = LiteralPolyphase(in, p.L, p.M);
            const CWaveResampler resampler(p.L, p.M);
            std::vector<float> out(CWaveResampler::OutputLength(n, p.L, p.M));
            ASSERT_EQ(out.size(), expected.size());
            resampler.Run(in.data(), uint32_t(n), out.data());
            ASSERT_EQ(std::memcmp(out.data(), expected.data(), out.size() * sizeof(float)), 0)
                << p.src << "->" << p.dst << " n=" << n;
        }
    }
}

TEST(WaveResampler, TonesKeepTheirFrequencyForEveryPair)
{
    MessageCapture capture; // 16000 -> 11025 warns that 9 does not divide 105
    for (const Pair& p : kPairs) {
        // Below the filter's half-amplitude point (0.02 x src x L) and the new Nyquist rate.
        const double cutoff = 0.02 * p.src * p.L;
        for (double frequency : {100.0, std::min(cutoff, p.dst / 2.0) * 0.3}) {
            CDocumentWave wave;
            ASSERT_TRUE(wave.CreateHeader(p.src, 16, 1));
            ASSERT_EQ(wave.AppendTone(frequency, 0.5, 1000), p.src);
            wave.ConvertFormat(1, 16, p.dst);
            ASSERT_TRUE(wave.HasOutputData());
            EXPECT_EQ(wave.m_OutputWAVEheader.nSamplesPerSec, p.dst);
            const std::vector<int> out = OutputSamples16(wave);
            ASSERT_EQ(out.size(), CWaveResampler::OutputLength(p.src, p.L, p.M));

            // The real output rate is src x L / M, which some pairs only approximate.
            const double realRate = double(p.src) * p.L / p.M;
            const size_t settle = 120;
            const double cycles = frequency * double(out.size() - settle) / realRate;
            EXPECT_NEAR(CountZeroCrossings(out, settle), 2.0 * cycles, 2.5)
                << p.src << "->" << p.dst << " at " << frequency << " Hz";
            const double atTone = GoertzelPower(out, settle, frequency / realRate);
            const double offTone = GoertzelPower(out, settle, frequency * 1.5 / realRate);
            EXPECT_GT(atTone, 1000.0 * offTone) << p.src << "->" << p.dst;
            wave.FreeOutputData();
        }
    }
}

// Fed in blocks of any size, the stream gives every pair exactly the floats of the whole-buffer run.
TEST(WaveResampler, StreamFedInBlocksEqualsTheWholeRun)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-32768.0f, 32767.0f);
    std::vector<float> in(3000);
    for (float& v : in)
        v = value(random);
    for (const Pair& p : kPairs) {
        SCOPED_TRACE(std::to_string(p.src) + " to " + std::to_string(p.dst));
        const CWaveResampler resampler(p.L, p.M);
        for (size_t length : {size_t(0), size_t(1), size_t(7), in.size()}) {
            std::vector<float> whole(size_t(CWaveResampler::OutputLength(length, p.L, p.M)));
            resampler.Run(in.data(), uint32_t(length), whole.data());
            for (uint32_t block : {1u, 2u, 5u, 64u, 1000u, 4096u}) {
                CWaveResampleStream stream(resampler, length);
                std::vector<float> streamed, out;
                for (size_t first = 0; first < length; first += block) {
                    const uint32_t count = uint32_t(std::min<size_t>(block, length - first));
                    stream.Push(in.data() + first, count, out);
                    streamed.insert(streamed.end(), out.begin(), out.end());
                }
                ASSERT_EQ(streamed.size(), whole.size()) << length << " in blocks of " << block;
                EXPECT_TRUE(whole.empty()
                            || std::memcmp(streamed.data(), whole.data(), whole.size() * sizeof(float)) == 0)
                    << length << " in blocks of " << block;
            }
        }
    }
}
