#pragma once
// Comfort noise of the half-rate codec. During pauses the encoder sends SID
// frames: the frame energy and LPC spectrum averaged over the last eight
// frames and an unvoiced gain averaged over the seven speech frames before
// them. Both ends then drive the unvoiced codebooks with the same
// pseudo-random codes, restarted from one seed at the first SID frame.
#include "GsmHrDsp.h"

#include <cstdint>

namespace gsmhr {

constexpr int kOverhang = 8;                               // frames averaged into a SID frame
constexpr int kGainHistory = (kOverhang - 1) * kSubframes; // subframe gains averaged
constexpr int16_t kSidPeriod = 12;                         // frames between SID updates
constexpr int32_t kNoiseSeed = 0x1091988;

// Energy of each gain code per voicing mode, scaled down by 4.
extern const int32_t kGsmHrGainEnergies[4][32];

// Mean of the gain history, scaled down by 4 like its entries.
int32_t AverageGainEnergy(const int32_t* history);
// The unvoiced gain code nearest an energy.
int16_t QuantiseGainEnergy(int32_t energy);
// `bits` bits from the x^31 + x^3 + 1 shift register.
int16_t NoiseBits(int bits, int32_t* seed);

} // namespace gsmhr

// Quantisers the SID frame shares with speech frames (GsmHrEncoderLpc.cpp).
int16_t GsmHrQuantiseR0(int32_t r0);
void GsmHrQuantiseCorrelation(const int32_t* corr, int16_t* finalRc, int16_t* vqCodes);

// The transmit side: decides per frame whether it is speech or a SID frame and
// provides the SID frame's comfort-noise parameters.
class GsmHrDtxTransmit
{
public:
    struct Sid
    {
        int16_t r0 = 0;
        int16_t vq[3] = {};
        int16_t gain = 0;
        int16_t code1[gsmhr::kSubframes] = {};
        int16_t code2[gsmhr::kSubframes] = {};
    };

    // The SP flag: 0 when this frame is to be a SID frame. `r0` and `corr` are
    // the frame's unquantised energy and autocorrelation.
    int16_t Update(int16_t vad, int32_t r0, const int32_t* corr);
    // A speech frame's gain codes join the history the SID gain comes from.
    void RecordGains(int16_t mode, const int16_t* gainCodes);
    const Sid& sid() const { return m_sid; }

private:
    void AverageHistory();

    int16_t m_silentFrames = 0; // frames since voice activity ended
    int16_t m_sinceUpdate = 50; // frames since the last SID frame with new parameters
    bool m_shortBurst = false;
    int32_t m_r0History[gsmhr::kOverhang] = {};
    int32_t m_corrHistory[gsmhr::kOverhang][gsmhr::kOrder + 1] = {};
    int m_historyAt = 0;
    int32_t m_gains[gsmhr::kGainHistory] = {};
    int m_gainsAt = 0;
    int32_t m_seed = 0;
    Sid m_sid;
};
