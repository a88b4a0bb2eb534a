#include "GsmHrComfortNoise.h"

#include "GsmHrArith.h"

using namespace fx;
using namespace gsmhr;

namespace gsmhr {

const int32_t kGsmHrGainEnergies[4][32] = {
    {0x000011ab, 0x000038d2, 0x0000773e, 0x000144ef, 0x00035675, 0x000648c5, 0x000c3d65, 0x0017ae17,
     0x002a3dbb, 0x005238e7, 0x00695c1a, 0x00a60d45, 0x00e4cc68, 0x01c3ba6a, 0x019e3c96, 0x02d1fbac,
     0x030453ec, 0x0549a998, 0x05190298, 0x08258920, 0x08daff30, 0x0c3150e0, 0x0e45d850, 0x14c111a0,
     0x0ff7e1c0, 0x18a06860, 0x13810400, 0x1abc9ee0, 0x28500940, 0x41f22800, 0x22fc5040, 0x2cd90180},
    {0x00003ede, 0x00021fc9, 0x0013f0c3, 0x003a7be2, 0x007a6663, 0x00fe3773, 0x012fabf4, 0x02275cd0,
     0x01c0ef14, 0x02c0b1d8, 0x0350fc70, 0x05505078, 0x04175f30, 0x052c1098, 0x08ed3310, 0x0a63b470,
     0x05417870, 0x08995ee0, 0x07bbe018, 0x0a19fa10, 0x0b5818c0, 0x0fd96ea0, 0x0e5cad10, 0x13b40d40,
     0x12d45840, 0x14577320, 0x2b2e5e00, 0x333e9640, 0x194c35c0, 0x1c30f8c0, 0x2d16db00, 0x2cc970ff},
    {0x002f18e7, 0x00a47be0, 0x01222efe, 0x01c42df8, 0x024be794, 0x03424c40, 0x036950fc, 0x04973108,
     0x038405b4, 0x05d8c8f0, 0x05063e08, 0x070cdea0, 0x05812be8, 0x06da5fc8, 0x088fcd60, 0x0a013cb0,
     0x0909a460, 0x09e6cf40, 0x0ee581d0, 0x0ec99f20, 0x0b4e7470, 0x0c730e80, 0x0ff39d20, 0x105d0d80,
     0x158b0b00, 0x172babe0, 0x14576460, 0x181a6720, 0x26126e80, 0x1f590180, 0x1fdaad60, 0x2e0e8000},
    {0x00c7f603, 0x01260cda, 0x01b3926a, 0x026d82bc, 0x0228fba0, 0x036ec5b0, 0x034bf4cc, 0x043a55d0,
     0x044f9c20, 0x05c66f50, 0x0515f890, 0x06065300, 0x0665dc00, 0x0802b630, 0x0737a1c0, 0x087294e0,
     0x09253fc0, 0x0a619760, 0x097bd060, 0x0a6d4e50, 0x0d19e520, 0x0e15c420, 0x0c4e4eb0, 0x0e8880e0,
     0x11cdf480, 0x12c85800, 0x10f4c0a0, 0x13e51b00, 0x189dbaa0, 0x18a6bb60, 0x22e31500, 0x21615240},
};

int32_t AverageGainEnergy(const int32_t* history)
{
    // divide by 32 on the way, then make up for the 28 entries
    constexpr int16_t kDown = -(3 + 2);
    int32_t sum = LShrRound(history[0], kDown);
    for (int i = 1; i < kGainHistory; ++i)
        sum = LAdd(LShrRound(history[i], kDown), sum);
    return LAdd(sum, LMul32x16(sum, 0x1249));
}

int16_t QuantiseGainEnergy(int32_t energy)
{
    int16_t best = 0;
    int32_t smallest = kMax32;
    for (int16_t code = 0; code < 32; ++code) {
        const int32_t diff = LAbs(LSub(energy, kGsmHrGainEnergies[0][code]));
        if (LSub(diff, smallest) < 0) {
            best = code;
            smallest = diff;
        }
    }
    return best;
}

int16_t NoiseBits(int bits, int32_t* seed)
{
    int16_t out = 0;
    for (int i = 0; i < bits; ++i) {
        // feedback from taps 0 and 2, entering at bit 30
        const int32_t feedback = (*seed ^ (*seed >> 2)) & 1;
        *seed = LShr(*seed, 1);
        if (feedback)
            *seed |= 0x40000000;
        out = static_cast<int16_t>(Shl(out, 1) | (*seed & 1));
    }
    return out;
}

} // namespace gsmhr

void GsmHrDtxTransmit::RecordGains(int16_t mode, const int16_t* gainCodes)
{
    for (int i = 0; i < kSubframes; ++i) {
        m_gains[m_gainsAt] = kGsmHrGainEnergies[mode & 3][gainCodes[i] & 0x1f];
        m_gainsAt = (m_gainsAt + 1) % kGainHistory;
    }
}

void GsmHrDtxTransmit::AverageHistory()
{
    int32_t r0 = 0;
    for (int i = 0; i < kOverhang; ++i)
        r0 = LAdd(LShr(m_r0History[i], 3), r0);
    int32_t corr[kOrder + 1];
    for (int j = 0; j <= kOrder; ++j) {
        int32_t sum = 0;
        for (int i = 0; i < kOverhang; ++i)
            sum = LAdd(LShrRound(m_corrHistory[i][j], -3), sum);
        corr[j] = sum;
    }
    m_sid.r0 = GsmHrQuantiseR0(r0);
    int16_t rc[kOrder];
    GsmHrQuantiseCorrelation(corr, rc, m_sid.vq);
}

int16_t GsmHrDtxTransmit::Update(int16_t vad, int32_t r0, const int32_t* corr)
{
    m_silentFrames = vad ? int16_t(0) : Add(m_silentFrames, 1);
    m_sinceUpdate = Add(m_sinceUpdate, 1);
    if (m_silentFrames == 0)
        return 1;

    // After a short burst of speech the pause starts with SID frames at once,
    // repeating the last parameters; after a long one the hangover runs first.
    if (m_silentFrames == 1)
        m_shortBurst = Sub(m_sinceUpdate, 24) < 0;

    m_r0History[m_historyAt] = r0;
    for (int i = 0; i <= kOrder; ++i)
        m_corrHistory[m_historyAt][i] = corr[i];
    m_historyAt = (m_historyAt + 1) % kOverhang;

    if ((!m_shortBurst && m_silentFrames == kOverhang) || (m_shortBurst && m_silentFrames == 1)) {
        m_seed = kNoiseSeed;
        m_sid.gain = QuantiseGainEnergy(AverageGainEnergy(m_gains));
    }

    int16_t sp = 1;
    if (m_shortBurst && m_silentFrames < kOverhang)
        sp = 0;
    if (m_silentFrames >= kOverhang) {
        sp = 0;
        m_sinceUpdate = 0;
        AverageHistory();
    }
    if (sp == 0) {
        for (int i = 0; i < kSubframes; ++i) {
            m_sid.code1[i] = NoiseBits(7, &m_seed);
            m_sid.code2[i] = NoiseBits(7, &m_seed);
        }
    }
    return sp;
}
