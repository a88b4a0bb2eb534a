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
#include <new>

namespace {
// Largest sampling rate a test signal may have: one second of it is allocated.
constexpr double kMaxTestSignalRate = 10000000.0;

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
    float gain = 1.0f;
    if (SplitInputChannels(nChannels) && ResampleWorkBuffers(nSamplingRate, gain)
        && WriteOutput(nChannels, nBitsPerSample, nSamplingRate, gain) >= 0.0f)
        RefreshOutputHeader();
    FreeWorkBuffers();
}

bool CDocumentWave::SplitInputChannels(int nChannels)
{
    const int nInChannels = m_WAVEheader.nChannels;
    const int nInBits = m_WAVEheader.nBitsPerSample;
    ASSERT(nInChannels == 1 || nInChannels == 2);
    ASSERT(nInBits == 8 || nInBits == 16);
    if ((nInChannels != 1 && nInChannels != 2) || (nInBits != 8 && nInBits != 16))
        return false;

    // Frames come from channels x bits / 8: a file's block align is not trusted.
    const uint32_t nFrames = InputBytesHeld() / WaveFrameBytes(m_WAVEheader);
    m_pLeftBuffer = new (std::nothrow) float[std::max(nFrames, 1u)];
    if (nChannels == 2)
        m_pRightBuffer = new (std::nothrow) float[std::max(nFrames, 1u)];
    if (!m_pLeftBuffer || (nChannels == 2 && !m_pRightBuffer))
        return false;

    if (nInBits == 8)
        SplitFrames<8>(m_pInputData, nFrames, nInChannels, nChannels, m_pLeftBuffer, m_pRightBuffer);
    else
        SplitFrames<16>(m_pInputData, nFrames, nInChannels, nChannels, m_pLeftBuffer, m_pRightBuffer);
    m_nTmpChannels = nChannels;
    m_nTmpSamplingRate = m_WAVEheader.nSamplesPerSec;
    m_ulTmpFrameCount = nFrames;
    m_nTmpBitsPerSampleOut = 32;
    return true;
}

bool CDocumentWave::ResampleWorkBuffers(unsigned int nSamplingRate, float& gain)
{
    const unsigned int nSrcRate = m_nTmpSamplingRate;
    uint32_t nNbOutSamples = m_ulTmpFrameCount;
    gain = 1.0f;
    const bool bResampled = ResampleChannel(m_pLeftBuffer, nNbOutSamples, nSrcRate, nSamplingRate, gain);
    if (m_nTmpChannels == 2) {
        uint32_t nNbOutSamplesR = m_ulTmpFrameCount;
        float gainR = 1.0f;
        const bool bResampledR = ResampleChannel(m_pRightBuffer, nNbOutSamplesR, nSrcRate, nSamplingRate, gainR);
        const float* OutR = m_pRightBuffer;
        ASSERT(OutR != (0L));
        ASSERT(nNbOutSamples == nNbOutSamplesR);
        if (!OutR || bResampled != bResampledR || nNbOutSamples != nNbOutSamplesR)
            return false;
    }
    if (bResampled)
        m_nTmpSamplingRate = nSamplingRate;
    m_ulTmpFrameCount = nNbOutSamples;
    return true;
}

bool CDocumentWave::ResampleChannel(float*& buffer, uint32_t& length, unsigned int nSrcRate, unsigned int nDstRate,
                                    float& gain)
{
    gain = 1.0f;
    ASSERT(nDstRate <= nSrcRate);
    if (nDstRate >= nSrcRate)
        return false;
    int nInterpFactor = 0;
    int nDecimFactor = 0;
    float pairGain = 1.0f;
    if (!CWaveResampler::FindRatePair(nSrcRate, nDstRate, nInterpFactor, nDecimFactor, pairGain)) {
        ASSERT(false);
        ASSERT(nInterpFactor > 0);
        ASSERT(nDecimFactor > 0);
        return false;
    }
    const int interp_factor = nInterpFactor;
    ASSERT(105 % interp_factor == 0);

    const CWaveResampler resampler(nInterpFactor, nDecimFactor);
    // Room for exactly what the filter emits.
    const uint64_t nOutLength = CWaveResampler::OutputLength(length, nInterpFactor, nDecimFactor);
    if (nOutLength > UINT32_MAX)
        return false;
    float* out = new (std::nothrow) float[size_t(std::max<uint64_t>(nOutLength, 1))];
    if (!out)
        return false;
    resampler.Run(buffer, length, out);
    delete[] buffer;
    buffer = out;
    length = uint32_t(nOutLength);
    gain = pairGain;
    return true;
}

float CDocumentWave::WriteOutput(int nChannels, int nBitsPerSample, unsigned int nSamplingRate, float gain)
{
    delete[] m_pOutputData;
    m_pOutputData = nullptr;
    ASSERT(nChannels == m_nTmpChannels);
    ASSERT(nSamplingRate == m_nTmpSamplingRate);
    ASSERT(nBitsPerSample % 8 == 0 && nBitsPerSample > 0);
    if (nChannels != m_nTmpChannels || (nBitsPerSample != 8 && nBitsPerSample != 16))
        return -1.0f;
    const uint64_t nBytes = uint64_t(m_ulTmpFrameCount) * nBitsPerSample * nChannels / 8;
    if (nBytes > uint64_t(UINT32_MAX - 36))
        return -1.0f;
    // At least one byte, so that an empty conversion still has an output.
    m_pOutputData = new (std::nothrow) unsigned char[size_t(std::max<uint64_t>(nBytes, 1))];
    if (!m_pOutputData)
        return -1.0f;
    float result =
        WriteWaveChannel(m_pLeftBuffer, m_ulTmpFrameCount, gain, nBitsPerSample, 0, nChannels, m_pOutputData);
    if (nChannels == 2)
        result = std::max(result, WriteWaveChannel(m_pRightBuffer, m_ulTmpFrameCount, gain, nBitsPerSample, 1,
                                                   nChannels, m_pOutputData));
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
    m_pLeftBuffer = new (std::nothrow) float[nFrames];
    if (!m_pLeftBuffer)
        return 0.0f;
    if (tone) {
        const double pi = 3.14159265358979323846;
        const double step = 2.0 * pi * double(frequency) / srcRate;
        double phase = 0.0;
        for (uint32_t i = 0; i < nFrames; ++i) {
            m_pLeftBuffer[i] = float(32767.0 * std::cos(phase));
            phase += step;
            if (phase >= pi)
                phase -= 2.0 * pi;
        }
    } else {
        // Uniform over [-32767, 32767] whatever the C library's RAND_MAX is.
        for (uint32_t i = 0; i < nFrames; ++i)
            m_pLeftBuffer[i] = float(double(std::rand()) / RAND_MAX * 65534.0 - 32767.0);
    }
    m_nTmpChannels = 1;
    m_nTmpSamplingRate = nFrames;
    m_ulTmpFrameCount = nFrames;
    m_nTmpBitsPerSampleOut = 32;

    float gain = 1.0f;
    float result = 0.0f;
    if (ResampleWorkBuffers(unsigned(dstRate), gain)) {
        result = WriteOutput(1, bitsPerSample, unsigned(dstRate), gain);
        if (result >= 0.0f)
            RefreshOutputHeader();
        else
            result = 0.0f;
    }
    FreeWorkBuffers();
    return result;
}
