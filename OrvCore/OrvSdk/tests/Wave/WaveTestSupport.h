#pragma once
// Small builders and measurements shared by the wave document tests.
#include "WavBuilder.h"
#include "Wave/CDocumentWave.h"
#include "Wave/WaveSamples.h"
#include "tests/SdkTestSupport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cmath>
#include <cstdint>
#include <vector>

namespace WaveTest {

using WavBuilder::MakeWav;
using WavBuilder::WavFields;

inline void PutLe16(QByteArray& bytes, uint32_t value)
{
    bytes += Little(value, 2);
}

inline QByteArray Samples16(const std::vector<int>& values)
{
    QByteArray bytes;
    for (int v : values)
        PutLe16(bytes, uint16_t(int16_t(v)));
    return bytes;
}

inline std::vector<int> Read16(const unsigned char* data, uint32_t byteCount)
{
    std::vector<int> values;
    for (uint32_t i = 0; i + 1 < byteCount; i += 2)
        values.push_back(WaveSamples::ReadInt16(data + i));
    return values;
}

inline std::vector<int> InputSamples16(const CDocumentWave& wave)
{
    return Read16(wave.m_pInputData, wave.m_pInputData ? wave.m_WAVEheader.data_ckSize : 0);
}

inline std::vector<int> OutputSamples16(const CDocumentWave& wave)
{
    return Read16(wave.m_pOutputData, wave.m_pOutputData ? wave.m_OutputWAVEheader.data_ckSize : 0);
}

// Sign changes of a sampled signal, exact zeros carrying the previous sign.
inline int CountZeroCrossings(const std::vector<int>& samples, size_t from)
{
    int crossings = 0;
    int lastSign = 0;
    for (size_t i = from; i < samples.size(); ++i) {
        const int sign = samples[i] > 0 ? 1 : (samples[i] < 0 ? -1 : 0);
        if (sign != 0) {
            if (lastSign != 0 && sign != lastSign)
                ++crossings;
            lastSign = sign;
        }
    }
    return crossings;
}

// Power of one frequency (cycles per sample) in a block, by the Goertzel recurrence.
inline double GoertzelPower(const std::vector<int>& samples, size_t from, double cyclesPerSample)
{
    const double coeff = 2.0 * std::cos(2.0 * M_PI * cyclesPerSample);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = from; i < samples.size(); ++i) {
        const double s0 = samples[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

} // namespace WaveTest
