// Channel and sample-size conversion, the output header and the test signal.
#include "Util/CMemFile.h"
#include "Wave/CWaveResampler.h"
#include "Wave/WaveSampleWriter.h"
#include "WaveTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace WaveTest;

namespace {
// Input frames as 16-bit-scale values per channel, and the raw bytes for them.
struct Input
{
    int channels;
    int bits;
    std::vector<std::vector<int>> frames; // [frame][channel], in the file's own scale
};

Input MakeInput(int channels, int bits, int count)
{
    std::mt19937 random(uint32_t(channels * 100 + bits));
    Input input{channels, bits, {}};
    for (int i = 0; i < count; ++i) {
        std::vector<int> frame;
        for (int c = 0; c < channels; ++c) {
            int v = bits == 8 ? int(random() % 256) : int(random() % 65536) - 32768;
            if (i == 0)
                v = bits == 8 ? 0 : -32768; // the extremes are always present
            if (i == 1)
                v = bits == 8 ? 255 : 32767;
            frame.push_back(v);
        }
        input.frames.push_back(frame);
    }
    return input;
}

QByteArray InputBytes(const Input& input)
{
    QByteArray bytes;
    for (const std::vector<int>& frame : input.frames)
        for (int v : frame) {
            if (input.bits == 8)
                bytes.append(char(v));
            else
                PutLe16(bytes, uint16_t(int16_t(v)));
        }
    return bytes;
}

double To16BitScale(int v, int bits)
{
    return bits == 8 ? (v - 128) * 256.0 : double(v);
}

void Load(CDocumentWave& wave, unsigned rate, int channels, int bits, const QByteArray& bytes)
{
    ASSERT_TRUE(wave.CreateHeader(rate, bits, channels));
    wave.m_WAVEheader.data_ckSize = uint32_t(bytes.size());
    ASSERT_EQ(wave.SetInputData(bytes.constData(), uint32_t(bytes.size())), uint32_t(bytes.size()));
}

std::vector<int> OutputValues(const CDocumentWave& wave)
{
    const WAVEHEADER& h = wave.m_OutputWAVEheader;
    if (h.nBitsPerSample == 16)
        return OutputSamples16(wave);
    return std::vector<int>(wave.m_pOutputData, wave.m_pOutputData + h.data_ckSize);
}
} // namespace

TEST(WaveConvert, ChannelAndSampleSizeChangesStayWithinOneStep)
{
    for (int inChannels : {1, 2})
        for (int inBits : {8, 16})
            for (int outChannels : {1, 2})
                for (int outBits : {8, 16}) {
                    const Input input = MakeInput(inChannels, inBits, 500);
                    CDocumentWave wave;
                    Load(wave, 22050, inChannels, inBits, InputBytes(input));
                    wave.ConvertFormat(outChannels, outBits, 22050);
                    ASSERT_TRUE(wave.HasOutputData());
                    const std::vector<int> out = OutputValues(wave);
                    ASSERT_EQ(out.size(), input.frames.size() * size_t(outChannels));
                    for (size_t i = 0; i < input.frames.size(); ++i) {
                        const std::vector<int>& frame = input.frames[i];
                        for (int c = 0; c < outChannels; ++c) {
                            double ideal = inChannels == outChannels ? To16BitScale(frame[size_t(c)], inBits)
                                           : inChannels == 2
                                               ? (To16BitScale(frame[0], inBits) + To16BitScale(frame[1], inBits)) / 2
                                               : To16BitScale(frame[0], inBits);
                            if (outBits == 8)
                                ideal = ideal / 256.0 + 128.0;
                            // One step from the exact value's integer part: a full-scale
                            // negative input scales everything by 32767 / 32768.
                            ASSERT_NEAR(out[i * size_t(outChannels) + size_t(c)], std::trunc(ideal), 1.0)
                                << inChannels << "x" << inBits << " -> " << outChannels << "x" << outBits << " frame "
                                << i << " channel " << c;
                        }
                    }
                    wave.FreeOutputData();
                }
}

TEST(WaveConvert, SameFormatIsAnExactCopyBelowFullScale)
{
    // Byte 0 would stand for -32768 and scale the whole wave by 32767 / 32768.
    const QByteArray bytes8("\x01\x02\x7f\x80\x81\xfe\xff", 7);
    CDocumentWave wave8;
    Load(wave8, 8000, 1, 8, bytes8);
    wave8.ConvertFormat(1, 8, 8000);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wave8.GetOutputData()), 7), bytes8);
    wave8.FreeOutputData();

    const QByteArray bytes16 = Samples16({0, 1, -1, 32767, -32767, 1234, -4321, 2});
    CDocumentWave wave16;
    Load(wave16, 8000, 2, 16, bytes16);
    wave16.ConvertFormat(2, 16, 8000);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wave16.GetOutputData()), bytes16.size()), bytes16);
    wave16.FreeOutputData();
}

TEST(WaveConvert, EightBitToStereoSixteenIsWrittenByteExact)
{
    CDocumentWave wave;
    Load(wave, 22050, 1, 8, QByteArray("\x00\x80\xff", 3));
    wave.ConvertFormat(2, 16, 22050);
    ASSERT_TRUE(wave.HasOutputData());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stereo.wav"));
    ASSERT_TRUE(wave.SaveOutputWave(path));
    wave.FreeOutputData();
    // 0, 128, 255 become -32768, 0, 32512; -32768 lifts the peak past 32767, so
    // everything is scaled by 32767 / 32768 (exactly 1 - 2^-15 in float).
    EXPECT_EQ(ReadFileBytes(path), QByteArray::fromHex("52494646"
                                                       "30000000"
                                                       "57415645"
                                                       "666d7420"
                                                       "10000000"
                                                       "0100"
                                                       "0200"
                                                       "22560000"
                                                       "88580100"
                                                       "0400"
                                                       "1000"
                                                       "64617461"
                                                       "0c000000"
                                                       "0180"
                                                       "0180"
                                                       "0000"
                                                       "0000"
                                                       "ff7e"
                                                       "ff7e"));
}

TEST(WaveConvert, OneSecondOf44100StereoTo8000MonoEightBit)
{
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(44100, 16, 2));
    // Full-scale 1000 Hz in both channels, built as mono and doubled.
    CDocumentWave mono;
    mono.CreateHeader(44100, 16, 1);
    mono.AppendTone(1000.0, 1.0, 1000);
    QByteArray stereo;
    for (int v : InputSamples16(mono)) {
        PutLe16(stereo, uint16_t(int16_t(v)));
        PutLe16(stereo, uint16_t(int16_t(v)));
    }
    wave.m_WAVEheader.data_ckSize = uint32_t(stereo.size());
    wave.SetInputData(stereo.constData(), uint32_t(stereo.size()));

    wave.ConvertFormat(1, 8, 8000);
    ASSERT_TRUE(wave.HasOutputData());
    const WAVEHEADER& h = wave.m_OutputWAVEheader;
    EXPECT_EQ(h.nSamplesPerSec, 8000u);
    EXPECT_EQ(h.nChannels, 1);
    EXPECT_EQ(h.nBitsPerSample, 8);
    EXPECT_EQ(h.nBlockAlign, 1);
    EXPECT_EQ(h.nAvgBytesPerSec, 8000u);
    EXPECT_EQ(h.data_ckSize, 7971u); // (15 x 44100 + 14) / 83 + 1
    EXPECT_EQ(h.RIFF_ckSize, 36u + 7971u);
    EXPECT_EQ(CDocumentWave::CheckHeader(h), 0);
    const std::vector<int> out = OutputValues(wave);
    // A gain of 12 over 15 phases: the tone keeps about 4/5 of full scale,
    // centred on 128.
    const int top = *std::max_element(out.begin(), out.end());
    const int bottom = *std::min_element(out.begin() + 100, out.end());
    EXPECT_NEAR(top, 128 + 0.8 * 128, 4);
    EXPECT_NEAR(top + bottom, 256, 2);
    wave.FreeOutputData();
}

TEST(WaveConvert, LoudInputIsNormalisedToFullScale)
{
    // Peak 65534 x gain 1 > 32767: the gain becomes exactly 0.5.
    const float buffer[4] = {65534.0f, -65534.0f, 1000.0f, 3.0f};
    unsigned char out[8];
    EXPECT_EQ(WriteWaveChannel(buffer, 4, 1.0f, 16, 0, 1, out), 32767.0f);
    EXPECT_EQ(Read16(out, 8), (std::vector<int>{32767, -32767, 500, 1}));

    // Stereo writes each channel to its own interleaved places.
    const float right[2] = {-100.0f, 100.0f};
    unsigned char stereo[4] = {0, 0, 0, 0};
    EXPECT_EQ(WriteWaveChannel(right, 2, 1.0f, 8, 1, 2, stereo), 128.0f + 100.0f / 256.0f);
    EXPECT_EQ(std::vector<int>(stereo, stereo + 4), (std::vector<int>{0, 127, 0, 128}));

    // In a document: -32768 lifts the peak past 32767, and the whole wave is
    // scaled by 32767 / 32768 so that it lands exactly on -32767.
    CDocumentWave wave;
    Load(wave, 16000, 1, 16, Samples16({-32768, 32767, 16384, -2, 1}));
    wave.ConvertFormat(1, 16, 16000);
    EXPECT_EQ(OutputSamples16(wave), (std::vector<int>{-32767, 32766, 16383, -1, 0}));
    wave.FreeOutputData();
}

TEST(WaveConvert, StereoChannelsAreResampledApart)
{
    CDocumentWave left;
    left.CreateHeader(44100, 16, 1);
    left.AppendTone(200.0, 0.5, 500);
    QByteArray stereo;
    for (int v : InputSamples16(left)) {
        PutLe16(stereo, uint16_t(int16_t(v)));
        PutLe16(stereo, 0);
    }
    CDocumentWave wave;
    Load(wave, 44100, 2, 16, stereo);
    wave.ConvertFormat(2, 16, 22050);
    const std::vector<int> out = OutputSamples16(wave);
    ASSERT_EQ(out.size(), 2 * CWaveResampler::OutputLength(22050, 1, 2));
    int leftPeak = 0, rightPeak = 0;
    for (size_t i = 0; i < out.size(); i += 2) {
        leftPeak = std::max(leftPeak, std::abs(out[i]));
        rightPeak = std::max(rightPeak, std::abs(out[i + 1]));
    }
    EXPECT_GT(leftPeak, 14000); // 16383 x 0.96, a little under the filter's top
    EXPECT_EQ(rightPeak, 0);
    EXPECT_EQ(wave.m_OutputWAVEheader.nBlockAlign, 4);
    wave.FreeOutputData();
}

TEST(WaveConvert, UnknownRatePairsAndUpsamplingKeepTheSourceRate)
{
    struct Case
    {
        unsigned src;
        unsigned dst;
        const char* warning;
    };
    const Case cases[] = {{44100, 16000, "\"false\""}, {8000, 44100, "\"nDstRate <= nSrcRate\""}};
    for (const Case& c : cases) {
        MessageCapture capture;
        CDocumentWave wave;
        wave.CreateHeader(c.src, 16, 1);
        wave.AppendSilence(100);
        wave.ConvertFormat(1, 16, c.dst);
        ASSERT_TRUE(wave.HasOutputData());
        EXPECT_EQ(wave.m_OutputWAVEheader.nSamplesPerSec, c.src);
        EXPECT_EQ(wave.m_OutputWAVEheader.data_ckSize, wave.m_WAVEheader.data_ckSize);
        EXPECT_EQ(capture.Warnings().filter(QString::fromLatin1(c.warning)).size(), 1) << c.src;
        wave.FreeOutputData();
    }
}

TEST(WaveConvert, BadRequestsAndBadInputMakeNoOutput)
{
    MessageCapture capture;
    CDocumentWave wave;
    wave.CreateHeader(8000, 16, 1);
    wave.AppendSilence(10);
    wave.ConvertFormat(3, 16, 8000);
    EXPECT_FALSE(wave.HasOutputData());
    wave.ConvertFormat(1, 12, 8000);
    EXPECT_FALSE(wave.HasOutputData());

    // A header set by hand to a layout the document cannot split.
    CDocumentWave odd;
    odd.CreateHeader(8000, 16, 1);
    odd.AppendSilence(10);
    odd.m_WAVEheader.nChannels = 0;
    odd.ConvertFormat(1, 16, 8000);
    EXPECT_FALSE(odd.HasOutputData());
    EXPECT_EQ(odd.m_pLeftBuffer, nullptr);
    EXPECT_GE(capture.Warnings().size(), 3);
}

TEST(WaveConvert, EmptyInputGivesAnEmptyOutput)
{
    CDocumentWave wave;
    wave.CreateHeader(44100, 16, 2);
    wave.ConvertFormat(1, 16, 8000);
    ASSERT_TRUE(wave.HasOutputData());
    EXPECT_EQ(wave.m_OutputWAVEheader.data_ckSize, 0u);
    EXPECT_EQ(wave.m_OutputWAVEheader.nSamplesPerSec, 8000u);
    wave.FreeOutputData();
}

TEST(WaveConvert, ReconvertingAndForgettingToFreeDoNotLeak)
{
    MessageCapture capture;
    auto* wave = new CDocumentWave(QStringLiteral("named.wav"));
    EXPECT_EQ(wave->GetName(), QStringLiteral("named.wav"));
    wave->CreateHeader(22050, 16, 1);
    wave->AppendTone(300.0, 0.3, 50);
    wave->ConvertFormat(1, 8, 11025);
    wave->ConvertFormat(2, 16, 11025);
    EXPECT_EQ(wave->m_OutputWAVEheader.nChannels, 2);
    delete wave; // output still held: warned about, and freed all the same
    EXPECT_EQ(capture.Warnings().filter(QStringLiteral("m_pOutputData == (0L)")).size(), 1);
}

TEST(WaveConvert, TestToneIsResampledAndItsPeakReturned)
{
    CDocumentWave wave;
    const float peak = wave.GenerateTestSignal(1000.0f, 44100.0f, 8000.0f, 16, true);
    ASSERT_TRUE(wave.HasOutputData());
    const WAVEHEADER& h = wave.m_OutputWAVEheader;
    EXPECT_EQ(CDocumentWave::CheckHeader(h), 0);
    EXPECT_EQ(h.wFormatTag, 1);
    EXPECT_EQ(h.nChannels, 1);
    EXPECT_EQ(h.nSamplesPerSec, 8000u);
    EXPECT_EQ(h.data_ckSize, 2u * 7971u);
    const std::vector<int> out = OutputSamples16(wave);
    int largest = 0;
    for (int v : out)
        largest = std::max(largest, std::abs(v));
    EXPECT_NEAR(peak, float(largest), 1.0f);
    EXPECT_GT(peak, 20000.0f);
    const double realRate = 44100.0 * 15 / 83;
    EXPECT_NEAR(CountZeroCrossings(out, 20), 2.0 * 1000.0 * (out.size() - 20) / realRate, 2.5);
    EXPECT_EQ(wave.m_pLeftBuffer, nullptr);
    wave.FreeOutputData();
}

TEST(WaveConvert, TestNoiseIsCentredOnZero)
{
    CDocumentWave wave;
    const float peak = wave.GenerateTestSignal(0.0f, 16000.0f, 16000.0f, 16, false);
    ASSERT_TRUE(wave.HasOutputData());
    const std::vector<int> out = OutputSamples16(wave);
    ASSERT_EQ(out.size(), 16000u);
    double sum = 0.0;
    int negatives = 0;
    for (int v : out) {
        sum += v;
        negatives += v < 0;
    }
    EXPECT_GT(peak, 30000.0f);
    EXPECT_LT(std::abs(sum / out.size()), 1000.0);
    EXPECT_GT(negatives, 7000);
    EXPECT_LT(negatives, 9000);
    wave.FreeOutputData();
}

TEST(WaveConvert, TestSignalRefusesImpossibleRequests)
{
    MessageCapture capture;
    CDocumentWave wave;
    EXPECT_EQ(wave.GenerateTestSignal(440.0f, 8000.0f, 8000.0f, 12, true), 0.0f);
    EXPECT_EQ(wave.GenerateTestSignal(440.0f, 0.5f, 0.0f, 16, true), 0.0f);
    EXPECT_EQ(wave.GenerateTestSignal(440.0f, -8000.0f, 8000.0f, 16, true), 0.0f);
    EXPECT_EQ(wave.GenerateTestSignal(440.0f, 1e20f, 8000.0f, 16, true), 0.0f);
    EXPECT_FALSE(wave.HasOutputData());
}

// A sound longer than one block of the conversion gives byte for byte what the whole-buffer road gives: the
// channels split to floats, each resampled at once, written with the gain of its own peak.
TEST(WaveConvert, LongSoundsAreConvertedBlockByBlockToTheSameBytes)
{
    struct Case
    {
        const char* name;
        unsigned rate;
        int channels, bits;
        int outChannels, outBits;
        unsigned outRate;
        int frames;
    };
    const Case cases[] = {
        {"44k-stereo-to-8k-mono", 44100, 2, 16, 1, 16, 8000, 70001},
        {"8k-mono-8-bit-to-16", 8000, 1, 8, 1, 16, 8000, 40000},
        {"48k-mono-to-8k-stereo-8-bit", 48000, 1, 16, 2, 8, 8000, 50003},
        {"loud-22k-to-11k", 22050, 1, 16, 1, 16, 11025, 33000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A chirp loud enough that resampling gains push it over full scale.
        QByteArray bytes;
        for (int i = 0; i < c.frames; ++i) {
            for (int ch = 0; ch < c.channels; ++ch) {
                const int v = int(32767.0 * std::sin(0.0001 * i * i / 1000.0 + ch));
                if (c.bits == 8)
                    bytes.append(char(uint8_t((v >> 8) + 128)));
                else
                    PutLe16(bytes, uint16_t(int16_t(v)));
            }
        }
        CDocumentWave wave;
        ASSERT_TRUE(wave.CreateHeader(c.rate, c.bits, c.channels));
        wave.m_WAVEheader.data_ckSize = uint32_t(bytes.size());
        ASSERT_EQ(wave.SetInputData(bytes.constData(), uint32_t(bytes.size())), uint32_t(bytes.size()));
        wave.ConvertFormat(c.outChannels, c.outBits, c.outRate);
        ASSERT_TRUE(wave.HasOutputData());

        // The reference, one whole buffer per channel.
        const int sampleBytes = c.bits / 8;
        std::vector<float> channel[2];
        for (int i = 0; i < c.frames; ++i) {
            float in[2];
            for (int ch = 0; ch < c.channels; ++ch) {
                const uchar* p =
                    reinterpret_cast<const uchar*>(bytes.constData()) + (i * c.channels + ch) * sampleBytes;
                in[ch] = c.bits == 8 ? float((int(p[0]) - 128) * 256) : float(int16_t(p[0] | (p[1] << 8)));
            }
            if (c.channels == 2 && c.outChannels == 1) {
                channel[0].push_back((in[0] + in[1]) * 0.5f);
            } else {
                channel[0].push_back(in[0]);
                channel[1].push_back(c.channels == 2 ? in[1] : in[0]);
            }
        }
        int L = 0, M = 0;
        float gain = 1.0f;
        const bool resampled = CWaveResampler::FindRatePair(c.rate, c.outRate, L, M, gain);
        ASSERT_EQ(resampled, c.rate != c.outRate);
        std::vector<float> out[2];
        for (int ch = 0; ch < c.outChannels; ++ch) {
            if (resampled) {
                out[ch].resize(size_t(CWaveResampler::OutputLength(channel[ch].size(), L, M)));
                CWaveResampler(L, M).Run(channel[ch].data(), uint32_t(channel[ch].size()), out[ch].data());
            } else {
                out[ch] = channel[ch];
            }
        }
        QByteArray expected(int(out[0].size()) * c.outChannels * c.outBits / 8, '\0');
        for (int ch = 0; ch < c.outChannels; ++ch)
            WriteWaveChannel(out[ch].data(), uint32_t(out[ch].size()), gain, c.outBits, ch, c.outChannels,
                             reinterpret_cast<unsigned char*>(expected.data()));
        ASSERT_EQ(wave.m_OutputWAVEheader.data_ckSize, uint32_t(expected.size()));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wave.GetOutputData()), expected.size()), expected);
        EXPECT_EQ(wave.m_pLeftBuffer, nullptr);
        wave.FreeOutputData();
    }
}

// Shared samples are read where they lie and never written: growing the sound makes them the document's own.
TEST(WaveConvert, SharedInputIsReadInPlaceAndCopiedOnlyToGrow)
{
    const QByteArray file = QByteArray("head") + Samples16({100, -200, 300, -400});
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(8000, 16, 1));
    wave.m_WAVEheader.data_ckSize = 8;
    ASSERT_EQ(wave.ShareInputData(file, 4, 8), 8u);
    EXPECT_EQ(wave.m_pInputData, reinterpret_cast<const unsigned char*>(file.constData()) + 4);
    EXPECT_EQ(InputSamples16(wave), (std::vector<int>{100, -200, 300, -400}));
    wave.AppendSilence(1);
    EXPECT_NE(wave.m_pInputData, reinterpret_cast<const unsigned char*>(file.constData()) + 4);
    EXPECT_EQ(InputSamples16(wave).size(), 12u);
    EXPECT_EQ(file.mid(4), Samples16({100, -200, 300, -400}));

    // Bytes the array does not own are copied.
    CDocumentWave raw;
    ASSERT_TRUE(raw.CreateHeader(8000, 16, 1));
    raw.m_WAVEheader.data_ckSize = 8;
    const QByteArray view = QByteArray::fromRawData(file.constData(), file.size());
    ASSERT_EQ(raw.ShareInputData(view, 4, 8), 8u);
    EXPECT_NE(raw.m_pInputData, reinterpret_cast<const unsigned char*>(file.constData()) + 4);
    EXPECT_EQ(InputSamples16(raw), (std::vector<int>{100, -200, 300, -400}));
}

// A memory file's buffer taken over: the samples after its header become the
// document's own, moved to the start, and the document grows them as its own.
TEST(WaveConvert, AdoptedInputIsTheSamplesAfterTheOffset)
{
    CMemFile file;
    const QByteArray bytes = QByteArray("head") + Samples16({100, -200, 300, -400}) + QByteArray("tail");
    ASSERT_EQ(file.Write(bytes.constData(), 1, uint(bytes.size())), uint(bytes.size()));
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(8000, 16, 1));
    wave.m_WAVEheader.data_ckSize = 8;
    ASSERT_EQ(wave.AdoptInputData(file.TakeBuffer(), 4, 8), 8u);
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_EQ(file.GetBuffer(), nullptr);
    EXPECT_EQ(InputSamples16(wave), (std::vector<int>{100, -200, 300, -400}));
    wave.AppendSilence(1);
    EXPECT_EQ(InputSamples16(wave).size(), 12u);
    EXPECT_EQ(InputSamples16(wave)[3], -400);
    // The emptied file takes new bytes as a new one does.
    ASSERT_EQ(file.Write("ab", 1, 2), 2u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(file.GetBuffer()), int(file.GetSize())), QByteArray("ab"));
}
