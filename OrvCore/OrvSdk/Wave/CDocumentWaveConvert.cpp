// Building the output samples: channel split into float work buffers,
// resampling, and writing back as 8- or 16-bit PCM.
#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"
#include "Wave/CWaveResampler.h"
#include "Wave/WaveSampleWriter.h"
#include "Wave/WaveSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {
// Largest sampling rate a test signal may have: one second of it is allocated.
constexpr double kMaxTestSignalRate = 10000000.0;
// Frames converted to floats at a time.
constexpr uint32_t kBlockFrames = 16384;

template <int Bits>
float SampleAsFloat(const unsigned char* p)
{
    if (Bits == 8)
        return float((int(p[0]) - 128) * 256);
    return float(WaveSamples::ReadInt16(p));
}

template <int Bits>
void SplitFrames(const unsigned char* in, uint32_t nFrames, int nInChannels, int nOutChannels, float* left,
                 float* right)
{
    const int sampleBytes = Bits / 8;
    const size_t frameBytes = size_t(sampleBytes) * nInChannels;
    if (nInChannels == 1) {
        for (uint32_t i = 0; i < nFrames; ++i) {
            left[i] = SampleAsFloat<Bits>(in + i * frameBytes);
            if (nOutChannels == 2)
                right[i] = left[i];
        }
    } else if (nOutChannels == 1) {
        for (uint32_t i = 0; i < nFrames; ++i) {
            const unsigned char* frame = in + i * frameBytes;
            left[i] = (SampleAsFloat<Bits>(frame) + SampleAsFloat<Bits>(frame + sampleBytes)) * 0.5f;
        }
    } else {
        for (uint32_t i = 0; i < nFrames; ++i) {
            const unsigned char* frame = in + i * frameBytes;
            left[i] = SampleAsFloat<Bits>(frame);
            right[i] = SampleAsFloat<Bits>(frame + sampleBytes);
        }
    }
}
} // namespace

void CDocumentWave::FreeWorkBuffers()
{
    delete[] m_pLeftBuffer;
    delete[] m_pRightBuffer;
    m_pLeftBuffer = nullptr;
    m_pRightBuffer = nullptr;
}

void CDocumentWave::ConvertFormat(int nChannels, int nBitsPerSample, unsigned int nSamplingRate)
{
    ASSERT(nChannels == 1 || nChannels == 2);
    // The check prints its condition as written.
    // clang-format off
    ASSERT(nBitsPerSample == 8 ||nBitsPerSample == 16);
    // clang-format on
    if ((nChannels != 1 && nChannels != 2) || (nBitsPerSample != 8 && nBitsPerSample != 16))
        return;
    FreeWorkBuffers();
    const int nInChannels = m_WAVEheader.nChannels;
    const int nInBits = m_WAVEheader.nBitsPerSample;
    ASSERT(nInChannels == 1 || nInChannels == 2);
    ASSERT(nInBits == 8 || nInBits == 16);
    if ((nInChannels != 1 && nInChannels != 2) || (nInBits != 8 && nInBits != 16))
        return;

    // Frames come from channels x bits / 8: a file's block align is not trusted.
    const uint32_t nFrames = InputBytesHeld() / WaveFrameBytes(m_WAVEheader);
    const unsigned char* input = m_pInputData;
    const size_t frameBytes = WaveFrameBytes(m_WAVEheader);
    const WaveBlockSource split = [=](uint32_t first, uint32_t count, float* left, float* right) {
        const unsigned char* in = input + first * frameBytes;
        if (nInBits == 8)
            SplitFrames<8>(in, count, nInChannels, nChannels, left, right);
        else
            SplitFrames<16>(in, count, nInChannels, nChannels, left, right);
    };
    if (ConvertBlocks(split, nFrames, m_WAVEheader.nSamplesPerSec, nChannels, nBitsPerSample, nSamplingRate) >= 0.0f)
        RefreshOutputHeader();
}

bool CDocumentWave::PrepareResampling(unsigned int nSrcRate, unsigned int nDstRate, int& nInterpFactor,
                                      int& nDecimFactor, float& gain)
{
    gain = 1.0f;
    nInterpFactor = 0;
    nDecimFactor = 0;
    ASSERT(nDstRate <= nSrcRate);
    if (nDstRate >= nSrcRate)
        return false;
    float pairGain = 1.0f;
    if (!CWaveResampler::FindRatePair(nSrcRate, nDstRate, nInterpFactor, nDecimFactor, pairGain)) {
        ASSERT(false);
        ASSERT(nInterpFactor > 0);
        ASSERT(nDecimFactor > 0);
        return false;
    }
    const int interp_factor = nInterpFactor;
    ASSERT(105 % interp_factor == 0);
    gain = pairGain;
    return true;
}

float CDocumentWave::ConvertBlocks(const WaveBlockSource& source, uint32_t nFrames, unsigned int nSrcRate,
                                   int nChannels, int nBitsPerSample, unsigned int nSamplingRate)
{
    delete[] m_pOutputData;
    m_pOutputData = nullptr;
    // Each channel is checked on its own, as each would be resampled on its own.
    int nInterpFactor = 0, nDecimFactor = 0;
    float gain = 1.0f;
    bool bResampled = PrepareResampling(nSrcRate, nSamplingRate, nInterpFactor, nDecimFactor, gain);
    if (nChannels == 2) {
        float gainR = 1.0f;
        bResampled = PrepareResampling(nSrcRate, nSamplingRate, nInterpFactor, nDecimFactor, gainR) && bResampled;
    }
    m_nTmpChannels = nChannels;
    m_nTmpSamplingRate = bResampled ? nSamplingRate : nSrcRate;
    m_nTmpBitsPerSampleOut = 32;
    ASSERT(nChannels == m_nTmpChannels);
    ASSERT(nSamplingRate == m_nTmpSamplingRate);
    ASSERT(nBitsPerSample % 8 == 0 && nBitsPerSample > 0);
    const uint64_t nOutFrames =
        bResampled ? CWaveResampler::OutputLength(nFrames, nInterpFactor, nDecimFactor) : uint64_t(nFrames);
    const uint64_t nBytes = nOutFrames * nBitsPerSample * nChannels / 8;
    if (nOutFrames > UINT32_MAX || nBytes > uint64_t(UINT32_MAX - 36))
        return -1.0f;
    std::unique_ptr<CWaveResampler> resampler;
    if (bResampled)
        resampler = std::make_unique<CWaveResampler>(nInterpFactor, nDecimFactor);

    // The floats of a long sound would take twice the memory of its 16-bit
    // samples, and more before resampling: they are made block by block, once
    // for each channel's peak (which sets its gain) and once to write them.
    std::vector<float> in[2], out[2];
    for (int c = 0; c < nChannels; ++c)
        in[c].resize(kBlockFrames);
    auto run = [&](const std::function<void(int channel, const std::vector<float>& samples)>& take) {
        std::unique_ptr<CWaveResampleStream> streams[2];
        for (int c = 0; c < nChannels && resampler; ++c)
            streams[c] = std::make_unique<CWaveResampleStream>(*resampler, nFrames);
        for (uint32_t first = 0; first < nFrames; first += kBlockFrames) {
            const uint32_t count = std::min(kBlockFrames, nFrames - first);
            source(first, count, in[0].data(), nChannels == 2 ? in[1].data() : nullptr);
            for (int c = 0; c < nChannels; ++c) {
                if (streams[c])
                    streams[c]->Push(in[c].data(), count, out[c]);
                else
                    out[c].assign(in[c].begin(), in[c].begin() + count);
                take(c, out[c]);
            }
        }
    };
    float peak[2] = {0.0f, 0.0f};
    run([&](int c, const std::vector<float>& samples) {
        peak[c] = std::max(peak[c], WavePeak(samples.data(), uint32_t(samples.size())));
    });

    // At least one byte, so that an empty conversion still has an output.
    m_pOutputData = new unsigned char[size_t(std::max<uint64_t>(nBytes, 1))];
    const float channelGain[2] = {WaveChannelGain(peak[0], gain),
                                  nChannels == 2 ? WaveChannelGain(peak[1], gain) : gain};
    const size_t frameBytes = size_t(nBitsPerSample / 8) * nChannels;
    uint64_t written[2] = {0, 0};
    float result = 0.0f;
    run([&](int c, const std::vector<float>& samples) {
        const uint32_t count = uint32_t(std::min<uint64_t>(samples.size(), nOutFrames - written[c]));
        result = std::max(result, WriteWaveSamples(samples.data(), count, channelGain[c], nBitsPerSample, c, nChannels,
                                                   m_pOutputData + written[c] * frameBytes));
        written[c] += count;
    });
    m_ulTmpFrameCount = uint32_t(nOutFrames);
    m_nTmpBitsPerSampleOut = nBitsPerSample;
    return result;
}

void CDocumentWave::RefreshOutputHeader()
{
    ASSERT(m_nTmpBitsPerSampleOut != 0);
    ASSERT(m_nTmpBitsPerSampleOut == 8 || m_nTmpBitsPerSampleOut == 16);
    // A header for any other sample size would misstate the output bytes.
    if ((m_nTmpBitsPerSampleOut != 8 && m_nTmpBitsPerSampleOut != 16) || (m_nTmpChannels != 1 && m_nTmpChannels != 2))
        return;
    WAVEHEADER header = m_WAVEheader;
    header.wFormatTag = 1;
    header.nChannels = uint16_t(m_nTmpChannels);
    header.nSamplesPerSec = m_nTmpSamplingRate;
    header.nBitsPerSample = uint16_t(m_nTmpBitsPerSampleOut);
    m_OutputWAVEheader = MakeCanonicalWaveHeader(header, m_ulTmpFrameCount * WaveFrameBytes(header));
}

float CDocumentWave::GenerateTestSignal(float frequency, float sourceRate, float destinationRate, int bitsPerSample,
                                        bool tone)
{
    ASSERT(bitsPerSample == 8 || bitsPerSample == 16);
    const double srcRate = std::trunc(double(sourceRate));
    const double dstRate = std::trunc(double(destinationRate));
    if ((bitsPerSample != 8 && bitsPerSample != 16) || !(srcRate >= 1.0 && srcRate <= kMaxTestSignalRate)
        || !(dstRate >= 0.0 && dstRate <= kMaxTestSignalRate))
        return 0.0f;

    FreeWorkBuffers();
    const uint32_t nFrames = uint32_t(srcRate);
    std::vector<float> signal;
    try {
        signal.resize(nFrames);
    } catch (const std::bad_alloc&) {
        return 0.0f;
    }
    if (tone) {
        const double pi = 3.14159265358979323846;
        const double step = 2.0 * pi * double(frequency) / srcRate;
        double phase = 0.0;
        for (uint32_t i = 0; i < nFrames; ++i) {
            signal[i] = float(32767.0 * std::cos(phase));
            phase += step;
            if (phase >= pi)
                phase -= 2.0 * pi;
        }
    } else {
        // Uniform over [-32767, 32767] whatever the C library's RAND_MAX is.
        for (uint32_t i = 0; i < nFrames; ++i)
            signal[i] = float(double(std::rand()) / RAND_MAX * 65534.0 - 32767.0);
    }
    const WaveBlockSource copy = [&signal](uint32_t first, uint32_t count, float* left, float*) {
        std::copy(signal.begin() + first, signal.begin() + first + count, left);
    };
    const float result = ConvertBlocks(copy, nFrames, nFrames, 1, bitsPerSample, unsigned(dstRate));
    if (result < 0.0f)
        return 0.0f;
    RefreshOutputHeader();
    return result;
}
