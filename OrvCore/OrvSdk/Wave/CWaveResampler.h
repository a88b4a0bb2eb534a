#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Rational down-sampling by L/M through the shared 105-tap low-pass, computed
// as a polyphase filter: output j lies at j x M in the L-times up-sampled
// signal and is the sum, over t < N (N = 105 / L taps per phase), of the t-th
// newest of the inputs taken so far times tap (phase + t x L).
class CWaveResampler
{
public:
    // The rate pairs the document knows: false for any other pair.
    static bool FindRatePair(unsigned int nSrcRate, unsigned int nDstRate, int& nInterpFactor, int& nDecimFactor,
                             float& gain);
    // Samples emitted for nInputLength inputs: one per j with floor(j x M / L)
    // <= n, i.e. floor((L x n + L - 1) / M) + 1, and none for an empty input.
    static uint64_t OutputLength(uint64_t nInputLength, int nInterpFactor, int nDecimFactor);

    CWaveResampler(int nInterpFactor, int nDecimFactor);

    int TapsPerPhase() const { return m_nTapsPerPhase; }
    // Writes OutputLength(nInputLength) samples to pOutput.
    void Run(const float* pInput, uint32_t nInputLength, float* pOutput) const;

private:
    friend class CWaveResampleStream;

    int m_nInterpFactor;
    int m_nDecimFactor;
    int m_nTapsPerPhase;
    std::vector<float> m_PhaseTaps; // row p holds taps p, p + L, p + 2L, ...
};

// The same filter fed block by block, so that a long sound never needs all its
// floats at once: each output comes out as soon as the inputs it reads have
// arrived, with exactly the value Run gives it.
class CWaveResampleStream
{
public:
    // The resampler must outlive the stream; nInputLength inputs will be pushed in all.
    CWaveResampleStream(const CWaveResampler& resampler, uint64_t nInputLength);

    // Takes the next inputs; out is replaced by the outputs they complete.
    void Push(const float* pInput, uint32_t nCount, std::vector<float>& out);

private:
    const CWaveResampler& m_Resampler;
    uint64_t m_nOutputs;
    uint64_t m_nEmitted = 0;
    uint64_t m_nReceived = 0;
    uint64_t m_nTaken = 0; // inputs the next output reads up to
    int m_nPhase = 0;
    std::vector<float> m_Window; // the N newest inputs before this block (0 before the first), then the block
};
