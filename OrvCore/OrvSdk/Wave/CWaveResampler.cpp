#include "Wave/CWaveResampler.h"
#include "Wave/WaveFilterTaps.h"

namespace {
struct RatePair
{
    unsigned int nSrcRate;
    unsigned int nDstRate;
    int nInterpFactor;
    int nDecimFactor;
    float gain;
};

// Several pairs only approximate the ratio (96000 x 3 / 13 is not 22050); the
// output is labelled with the destination rate all the same.
const RatePair kRatePairs[] = {
    {96000, 48000, 1, 2, 0.96f},   {96000, 44100, 5, 11, 4.4f},  {96000, 22050, 3, 13, 2.5f},
    {96000, 11025, 3, 26, 2.0f},   {96000, 8000, 5, 60, 3.5f},   {48000, 44100, 21, 23, 17.0f},
    {48000, 22050, 21, 46, 17.0f}, {48000, 11025, 3, 13, 2.2f},  {48000, 8000, 5, 30, 3.0f},
    {44100, 22050, 1, 2, 0.96f},   {44100, 11025, 1, 4, 0.96f},  {44100, 8000, 15, 83, 12.0f},
    {22050, 11025, 1, 2, 0.9f},    {22050, 8000, 15, 41, 12.0f}, {16000, 11025, 9, 13, 2.2f},
    {16000, 8000, 1, 2, 0.9f},     {11025, 8000, 21, 29, 14.0f},
};
} // namespace

bool CWaveResampler::FindRatePair(unsigned int nSrcRate, unsigned int nDstRate, int& nInterpFactor, int& nDecimFactor,
                                  float& gain)
{
    for (const RatePair& pair : kRatePairs) {
        if (pair.nSrcRate == nSrcRate && pair.nDstRate == nDstRate) {
            nInterpFactor = pair.nInterpFactor;
            nDecimFactor = pair.nDecimFactor;
            gain = pair.gain;
            return true;
        }
    }
    return false;
}

uint64_t CWaveResampler::OutputLength(uint64_t nInputLength, int nInterpFactor, int nDecimFactor)
{
    if (nInputLength == 0 || nInterpFactor <= 0 || nDecimFactor <= 0)
        return 0;
    const uint64_t L = uint64_t(nInterpFactor);
    return (L * nInputLength + L - 1) / uint64_t(nDecimFactor) + 1;
}

CWaveResampler::CWaveResampler(int nInterpFactor, int nDecimFactor)
    : m_nInterpFactor(nInterpFactor > 0 ? nInterpFactor : 1), m_nDecimFactor(nDecimFactor > 0 ? nDecimFactor : 1),
      m_nTapsPerPhase(kWaveFilterTapCount / m_nInterpFactor)
{
    // Taps beyond N x L (L = 9 leaves six) are never reached.
    m_PhaseTaps.resize(size_t(m_nInterpFactor) * size_t(m_nTapsPerPhase));
    for (int p = 0; p < m_nInterpFactor; ++p)
        for (int t = 0; t < m_nTapsPerPhase; ++t)
            m_PhaseTaps[size_t(p) * m_nTapsPerPhase + t] = kWaveFilterTaps[p + t * m_nInterpFactor];
}

void CWaveResampler::Run(const float* pInput, uint32_t nInputLength, float* pOutput) const
{
    const uint64_t nOutputs = OutputLength(nInputLength, m_nInterpFactor, m_nDecimFactor);
    const int N = m_nTapsPerPhase;
    const int L = m_nInterpFactor;
    const int M = m_nDecimFactor;
    uint64_t nTaken = 0; // inputs consumed so far; the newest is pInput[nTaken - 1]
    int phase = 0;
    for (uint64_t j = 0; j < nOutputs; ++j) {
        const float* taps = m_PhaseTaps.data() + size_t(phase) * N;
        float sum = 0.0f;
        if (nTaken >= uint64_t(N)) {
            const float* newest = pInput + (nTaken - 1);
            for (int t = 0; t < N; ++t)
                sum += newest[-t] * taps[t];
        } else {
            // The filter state starts at zero: older places contribute 0 x tap.
            for (int t = 0; t < N; ++t) {
                const float x = uint64_t(t) < nTaken ? pInput[nTaken - 1 - t] : 0.0f;
                sum += x * taps[t];
            }
        }
        pOutput[j] = sum;
        phase += M;
        nTaken += uint64_t(phase / L);
        phase %= L;
    }
}

CWaveResampleStream::CWaveResampleStream(const CWaveResampler& resampler, uint64_t nInputLength)
    : m_Resampler(resampler),
      m_nOutputs(CWaveResampler::OutputLength(nInputLength, resampler.m_nInterpFactor, resampler.m_nDecimFactor)),
      m_Window(size_t(resampler.m_nTapsPerPhase), 0.0f)
{}

void CWaveResampleStream::Push(const float* pInput, uint32_t nCount, std::vector<float>& out)
{
    const int N = m_Resampler.m_nTapsPerPhase;
    const int L = m_Resampler.m_nInterpFactor;
    const int M = m_Resampler.m_nDecimFactor;
    out.clear();
    m_Window.insert(m_Window.end(), pInput, pInput + nCount);
    const uint64_t nBlockStart = m_nReceived;
    m_nReceived += nCount;
    // An output waits for the newest input it reads; those that read none beyond
    // the block start came out with the blocks before.
    while (m_nEmitted < m_nOutputs && m_nTaken <= m_nReceived) {
        const float* taps = m_Resampler.m_PhaseTaps.data() + size_t(m_nPhase) * N;
        const float* newest = m_Window.data() + (m_nTaken + uint64_t(N) - 1 - nBlockStart);
        float sum = 0.0f;
        for (int t = 0; t < N; ++t)
            sum += newest[-t] * taps[t];
        out.push_back(sum);
        ++m_nEmitted;
        m_nPhase += M;
        m_nTaken += uint64_t(m_nPhase / L);
        m_nPhase %= L;
    }
    m_Window.erase(m_Window.begin(), m_Window.end() - N);
}
