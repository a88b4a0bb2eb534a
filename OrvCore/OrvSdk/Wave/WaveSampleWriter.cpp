#include "Wave/WaveSampleWriter.h"
#include "Util/Assert.h"
#include "Wave/WaveSamples.h"

#include <QtGlobal>
#include <cmath>

namespace {
float Peak(const float* pBuffer, uint32_t nCount)
{
    float peak = 0.0f;
    for (uint32_t i = 0; i < nCount; ++i) {
        const float magnitude = std::fabs(pBuffer[i]);
        if (magnitude > peak)
            peak = magnitude;
    }
    return peak;
}

float Write16(const float* pBuffer, uint32_t nCount, float gain, int nStride, unsigned char* pOut)
{
    float result = 0.0f;
    for (uint32_t i = 0; i < nCount; ++i) {
        float v = gain * pBuffer[i];
        if (v > 32767.0f) {
            qDebug("Saturation gain %f value %f", double(gain), double(v));
            v = 32767.0f;
        } else if (v < -32768.0f) {
            qDebug("Saturation gain %f value %f", double(gain), double(v));
            v = -32768.0f;
        }
        WaveSamples::WriteInt16(pOut + size_t(i) * nStride * 2,
                                int16_t(WaveSamples::TruncateSaturated(v, -32768, 32767)));
        if (std::fabs(v) > result)
            result = std::fabs(v);
    }
    return result;
}

float Write8(const float* pBuffer, uint32_t nCount, float gain, int nStride, unsigned char* pOut)
{
    const float divisor = 256.0f / gain;
    float result = 0.0f;
    for (uint32_t i = 0; i < nCount; ++i) {
        float v = pBuffer[i] / divisor + 128.0f;
        if (v > 255.0f) {
            qDebug("Saturation > 255 gain %f value %f", double(gain), double(v));
            v = 255.0f;
        } else if (v < 0.0f) {
            qDebug("Saturation < 0 gain %f value %f", double(gain), double(v));
            v = 0.0f;
        }
        pOut[size_t(i) * nStride] = static_cast<unsigned char>(WaveSamples::TruncateSaturated(v, 0, 255));
        if (v > result)
            result = v;
    }
    return result;
}
} // namespace

float WavePeak(const float* pBuffer, uint32_t nCount)
{
    return pBuffer ? Peak(pBuffer, nCount) : 0.0f;
}

float WaveChannelGain(float peak, float gain)
{
    if (peak * gain > 32767.0f) {
        gain = 32767.0f / peak;
        qDebug("Normalizing by %f", double(gain));
    }
    return gain;
}

float WriteWaveSamples(const float* pBuffer, uint32_t nCount, float gain, int nBitsPerSample, int nChannel, int nStride,
                       unsigned char* pOutput)
{
    const int DataType = nBitsPerSample / 8;
    const int Channel = nChannel;
    if ((DataType != 1 && DataType != 2) || (Channel != 0 && Channel != 1) || nStride < 1 || Channel >= nStride
        || !pOutput || (nCount > 0 && !pBuffer))
        return 0.0f;
    unsigned char* pFirst = pOutput + size_t(Channel) * DataType;
    return DataType == 2 ? Write16(pBuffer, nCount, gain, nStride, pFirst)
                         : Write8(pBuffer, nCount, gain, nStride, pFirst);
}

float WriteWaveChannel(const float* pBuffer, uint32_t nCount, float gain, int nBitsPerSample, int nChannel, int nStride,
                       unsigned char* pOutput)
{
    const int DataType = nBitsPerSample / 8;
    const int Channel = nChannel;
    // The check prints its condition as written.
    // clang-format off
    ASSERT(DataType==1 || DataType == 2);
    // clang-format on
    ASSERT(Channel == 0 || Channel == 1);
    if ((DataType != 1 && DataType != 2) || (Channel != 0 && Channel != 1) || nStride < 1 || Channel >= nStride
        || !pOutput || (nCount > 0 && !pBuffer))
        return 0.0f;
    return WriteWaveSamples(pBuffer, nCount, WaveChannelGain(Peak(pBuffer, nCount), gain), nBitsPerSample, nChannel,
                            nStride, pOutput);
}
