#pragma once
// Small builders and measurements shared by the wave document tests.
#include "Wave/CDocumentWave.h"
#include "Wave/WaveSamples.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cmath>
#include <cstdint>
#include <vector>

namespace WaveTest {

inline void PutLe16(QByteArray& bytes, uint32_t value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
}

inline void PutLe32(QByteArray& bytes, uint32_t value)
{
    PutLe16(bytes, value & 0xFFFF);
    PutLe16(bytes, value >> 16);
}

struct WavFields
{
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    int blockAlign = -1;   // -1: channels x bits / 8
    uint32_t fmtSize = 16; // bytes of format data (18 adds a zero extension size)
    QByteArray chunkBeforeData;
    int64_t dataSize = -1; // -1: the number of sample bytes given
};

// A WAV file built byte by byte, so that tests can state hostile fields.
inline QByteArray MakeWav(const WavFields& f, const QByteArray& samples)
{
    QByteArray fmt;
    PutLe16(fmt, f.formatTag);
    PutLe16(fmt, f.channels);
    PutLe32(fmt, f.rate);
    const uint32_t align = f.blockAlign >= 0 ? uint32_t(f.blockAlign) : f.channels * f.bits / 8u;
    PutLe32(fmt, align * f.rate);
    PutLe16(fmt, align);
    PutLe16(fmt, f.bits);
    while (uint32_t(fmt.size()) < f.fmtSize)
        fmt.append('\0');

    QByteArray body("WAVE");
    body += "fmt ";
    PutLe32(body, f.fmtSize);
    body += fmt;
    body += f.chunkBeforeData;
    body += "data";
    PutLe32(body, f.dataSize >= 0 ? uint32_t(f.dataSize) : uint32_t(samples.size()));
    body += samples;

    QByteArray file("RIFF");
    PutLe32(file, uint32_t(body.size()));
    return file + body;
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

// Collects the toolkit's warnings while alive; the document's checks go there.
class WarningCapture
{
public:
    WarningCapture() { s_Active = this; m_Previous = qInstallMessageHandler(Handler); }
    ~WarningCapture() { qInstallMessageHandler(m_Previous); s_Active = nullptr; }
    QStringList warnings;

private:
    static void Handler(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (s_Active && type == QtWarningMsg)
            s_Active->warnings << text;
    }
    static inline WarningCapture* s_Active = nullptr;
    QtMessageHandler m_Previous;
};

} // namespace WaveTest
