// Building 16-bit mono input samples from tones and silences.
#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"
#include "Wave/ToneSamples.h"
#include "Wave/WaveSamples.h"

#include <QtEndian>

#include <cmath>

unsigned int CDocumentWave::AppendTone(double frequency, double amplitude, unsigned int ms)
{
    ASSERT(m_WAVEheader.nChannels == 1);
    ASSERT(m_WAVEheader.nBitsPerSample == 16);
    if (frequency == 0.0)
        return AppendSamples(ms, 0.0, 0.0);
    return AppendSamples(ms, frequency, amplitude);
}

unsigned int CDocumentWave::AppendSilence(unsigned int ms)
{
    ASSERT(m_WAVEheader.nChannels == 1);
    ASSERT(m_WAVEheader.nBitsPerSample == 16);
    return AppendSamples(ms, 0.0, 0.0);
}

unsigned int CDocumentWave::AppendSamples(unsigned int ms, double frequency, double amplitude)
{
    // 16-bit samples in any other layout would garble the document.
    if (m_WAVEheader.nChannels != 1 || m_WAVEheader.nBitsPerSample != 16)
        return 0;
    const uint32_t rate = m_WAVEheader.nSamplesPerSec;
    const uint64_t n = uint64_t(rate) * ms / 1000;
    const uint64_t start = uint64_t(m_WAVEheader.data_ckSize / 2) * 2;
    const uint64_t newSize = start + n * 2;
    // The header states sizes in 32 bits: refuse what it cannot state.
    if (newSize > uint64_t(UINT32_MAX - 36))
        return 0;
    if (!ReserveInputData(uint32_t(newSize)))
        return 0;
    m_WAVEheader.data_ckSize = uint32_t(newSize);
    m_WAVEheader.RIFF_ckSize = uint32_t(newSize) + 36;

    unsigned char* out = m_pInputData + start;
    if (frequency == 0.0 || rate == 0) {
        for (uint64_t i = 0; i < n; ++i)
            WaveSamples::WriteInt16(out + i * 2, 0);
        return unsigned(n);
    }
    // Amplitudes beyond full scale saturate instead of wrapping around.
    const int A = WaveSamples::TruncateSaturated(amplitude * 32767.0, -32768, 32767);
    const double w = 2.0 * 3.1415926535 * frequency / double(rate);
    if (!m_pTones)
        m_pTones = std::make_unique<ToneSamples>();
    if (n > 0)
        qToLittleEndian<int16_t>(m_pTones->Get(w, A, n), qsizetype(n), out);
    return unsigned(n);
}
