#include "GsmHrDecoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>

using namespace fx;
using namespace gsmhr;

namespace {

constexpr int16_t kSqrtHalf = 0x5a82;

// Gain that brings the energy of `signal` to that of the input, halved.
int16_t AgcGain(const int16_t* signal, Norm inEnergy, int16_t energyShift)
{
    int32_t l;
    Norm outEnergy;
    outEnergy.shift = EnergyScaled(signal, energyShift, &l);
    outEnergy.shift = Add(outEnergy.shift, 1);
    if (l == 0)
        return 0;
    outEnergy.man = Round(l);
    inEnergy.man = Shr(inEnergy.man, 1);
    Norm agc;
    agc.man = Div(inEnergy.man, outEnergy.man);
    const int16_t shift = Norm16(agc.man);
    agc.man = Shl(agc.man, shift);
    agc.shift = Add(Sub(inEnergy.shift, outEnergy.shift), shift);
    agc.man = SquareRoot(ToHi(agc.man));
    if (Add(agc.shift, 2) < 0)
        return kMax16;
    if (agc.shift & 1)
        agc.man = Mul(agc.man, kSqrtHalf);
    agc.shift = Add(Shr(agc.shift, 1), 1);
    if (agc.shift > 0)
        agc.man = Shr(agc.man, agc.shift);
    return agc.man;
}

} // namespace

void GsmHrDecoder::Decode(const int16_t* in, int16_t* samples)
{
    static const int16_t kWiden[kOrder] = {0x6000, 0x4800, 0x3600, 0x2880, 0x1E60,
                                           0x16C8, 0x1116, 0x0CD0, 0x099C, 0x0735};
    // frame parameters kept to their widths: they index tables
    static const int16_t kFrameMasks[6] = {0x1f, 0x7ff, 0x1ff, 0xff, 1, 3};
    int16_t p[18];
    std::copy(in, in + 18, p);
    for (int i = 0; i < 6; ++i)
        p[i] = static_cast<int16_t>(p[i] & kFrameMasks[i]);
    const bool bad = in[18] != 0;
    const bool unreliable = in[19] != 0;
    const bool taf = in[21] != 0;

    FrameType type;
    if (bad || unreliable)
        type = in[20] == 0 ? FrameType::Unusable : FrameType::InvalidSid;
    else
        type = in[20] == 2 ? FrameType::ValidSid : (in[20] == 0 ? FrameType::GoodSpeech : FrameType::InvalidSid);

    if (m_mode == Mode::Speech) {
        if (type == FrameType::ValidSid || type == FrameType::InvalidSid)
            m_mode = Mode::FirstSid;
    } else if (type == FrameType::GoodSpeech) {
        m_mode = Mode::Speech;
    } else {
        m_mode = type == FrameType::Unusable ? Mode::LostInNoise : Mode::NextSid;
    }

    int16_t r0Index, si, mode, r0;
    int16_t ks[kOrder], as[kOrder], pfNum[kOrder], pfDen[kOrder];
    bool mutePermit = false;
    if (m_mode == Mode::Speech) {
        mutePermit = m_conceal.ConcealParameters(bad, unreliable, p);
        r0Index = p[0];
        si = p[4];
        mode = p[5];
        r0 = kGsmHrR0Levels[r0Index * 2];
        LookupRc(&p[1], ks);
        for (int i = 0; i < kSubframes; ++i) {
            m_gains[m_gainsAt] = kGsmHrGainEnergies[mode][p[3 * i + 8] & 0x1f];
            m_gainsAt = (m_gainsAt + 1) % kGainHistory;
        }
        m_lostInNoise = 0;
        m_noiseMuting = false;
        m_sidPhase = kSidPeriod - 1;
    } else {
        si = 1;
        mode = 0;
        NoiseParameters(type, taf, p, &r0Index, ks, &r0);
    }

    if (!RcToDirect(kAScale, ks, as)) {
        for (int i = 0; i < kOrder; ++i)
            pfDen[i] = MulR(as[i], kWiden[i]);
        SmoothDirect(kAShift, kAScale, pfDen, pfNum);
    } else {
        std::copy(m_oldKs, m_oldKs + kOrder, ks);
        std::copy(m_oldAs, m_oldAs + kOrder, as);
        std::copy(m_oldPfDen, m_oldPfDen + kOrder, pfDen);
        std::copy(m_oldPfNum, m_oldPfNum + kOrder, pfNum);
    }

    Norm sqrtRs[kSubframes];
    int16_t synthAs[kSubframes][kOrder], pfNumAs[kSubframes][kOrder], pfDenAs[kSubframes][kOrder];
    SubframeFilters(si, r0, ks, as, pfNum, pfDen, sqrtRs, synthAs, pfNumAs, pfDenAs);
    const int16_t energyShift = R0EnergyShift(r0Index);

    int16_t* ltpOut = m_ltp + kLtpHistory;
    bool muted = false;
    for (int sub = 0; sub < kSubframes; ++sub) {
        const int16_t* code = &p[6 + 3 * sub];
        const int16_t gainCode = static_cast<int16_t>(code[2] & 0x1f);
        int16_t pVec[kSub] = {};
        int16_t lag = 0;
        if (mode) {
            lag = DecodeLag(sub, code[0]);
            PitchVector(lag, ltpOut);
            std::copy(ltpOut, ltpOut + kSub, pVec);
        }
        int16_t signs[9];
        int16_t ex[2][kSub] = {};
        if (mode) {
            CodeBits(static_cast<int16_t>(code[1] & 0x1ff), 9, signs);
            BuildCodeVector(&kGsmHrVoicedBasis[0][0], ex[0], signs, 9);
        } else {
            for (int book = 0; book < 2; ++book) {
                CodeBits(static_cast<int16_t>(code[book] & 0x7f), 7, signs);
                BuildCodeVector(&kGsmHrUnvoicedBasis[book][0][0], ex[book], signs, 7);
            }
        }
        Norm rs00, rs11, rs22;
        if (lag)
            SqrtRatio(pVec, sqrtRs[sub], &rs00);
        SqrtRatioPlain(ex[0], sqrtRs[sub], &rs11);
        if (!mode)
            SqrtRatioPlain(ex[1], sqrtRs[sub], &rs22);

        const int16_t* g = kGsmHrGainTable[mode][gainCode];
        int16_t excite[kSub];
        int16_t semiBeta;
        if (mode) {
            semiBeta = ScaleExcitation(pVec, g[0], rs00, pVec);
            ScaleExcitation(ex[0], g[1], rs11, ex[0]);
            for (int i = 0; i < kSub; ++i)
                excite[i] = Add(pVec[i], ex[0][i]);
        } else {
            semiBeta = 0;
            ScaleExcitation(ex[0], g[0], rs11, ex[0]);
            ScaleExcitation(ex[1], g[1], rs22, ex[1]);
            for (int i = 0; i < kSub; ++i)
                excite[i] = Add(ex[1][i], ex[0][i]);
        }
        for (int i = 0; i < kLtpHistory; ++i)
            m_ltp[i] = m_ltp[i + kSub];
        for (int i = 0; i < kSub; ++i)
            ltpOut[i - kSub] = excite[i];

        int16_t prefiltered[kSub], synth[kSub];
        PitchPrefilter(excite, gainCode, lag, mode, semiBeta, sqrtRs[sub], prefiltered);
        if (m_conceal.ConcealSubframe(prefiltered, synthAs[sub], m_synthState, &ltpOut[-kSub],
                                      &m_prefilter[kLtpHistory - kSub], unreliable, m_mutedBefore, mutePermit))
            muted = true;
        LpcIir(prefiltered, synthAs[sub], m_synthState, synth);
        PostFilter(synth, pfNumAs[sub], pfDenAs[sub], energyShift, &samples[sub * kSub]);
        m_conceal.RecordLevel(&samples[sub * kSub]);
    }
    m_mutedBefore = muted;

    m_oldR0 = r0;
    m_oldR0Index = r0Index;
    std::copy(ks, ks + kOrder, m_oldKs);
    std::copy(as, as + kOrder, m_oldAs);
    std::copy(pfNum, pfNum + kOrder, m_oldPfNum);
    std::copy(pfDen, pfDen + kOrder, m_oldPfDen);
}

void GsmHrDecoder::SubframeFilters(int16_t si, int16_t newR0, const int16_t* ks, const int16_t* as,
                                   const int16_t* pfNum, const int16_t* pfDen, Norm* sqrtRs, int16_t synthAs[][kOrder],
                                   int16_t pfNumAs[][kOrder], int16_t pfDenAs[][kOrder])
{
    if (si) {
        for (int sub = 0; sub < kSubframes - 1; ++sub) {
            const bool stable =
                InterpolateCheck(sub == 0 ? m_oldKs : ks, sub == 0 ? m_oldAs : as, m_oldAs, as, kGsmHrOldShare[sub],
                                 kGsmHrNewShare[sub], sub == 0 ? m_oldR0 : newR0, &sqrtRs[sub], synthAs[sub]);
            for (int i = 0; i < kOrder; ++i) {
                if (stable) {
                    pfNumAs[sub][i] = MacR(LMul(pfNum[i], kGsmHrNewShare[sub]), m_oldPfNum[i], kGsmHrOldShare[sub]);
                    pfDenAs[sub][i] = MacR(LMul(pfDen[i], kGsmHrNewShare[sub]), m_oldPfDen[i], kGsmHrOldShare[sub]);
                } else {
                    pfNumAs[sub][i] = sub == 0 ? m_oldPfNum[i] : pfNum[i];
                    pfDenAs[sub][i] = sub == 0 ? m_oldPfDen[i] : pfDen[i];
                }
            }
        }
        for (int i = 0; i < kOrder; ++i) {
            pfNumAs[3][i] = pfNum[i];
            pfDenAs[3][i] = pfDen[i];
            synthAs[3][i] = as[i];
        }
        ResidualEnergy(ks, newR0, &sqrtRs[3]);
        return;
    }
    for (int i = 0; i < kOrder; ++i) {
        pfNumAs[0][i] = m_oldPfNum[i];
        pfDenAs[0][i] = m_oldPfDen[i];
        synthAs[0][i] = m_oldAs[i];
    }
    ResidualEnergy(m_oldKs, m_oldR0, &sqrtRs[0]);
    ResidualEnergy(ks, newR0, &sqrtRs[1]);
    for (int sub = 1; sub < kSubframes; ++sub) {
        sqrtRs[sub] = sqrtRs[1];
        for (int i = 0; i < kOrder; ++i) {
            pfNumAs[sub][i] = pfNum[i];
            pfDenAs[sub][i] = pfDen[i];
            synthAs[sub][i] = as[i];
        }
    }
}

int16_t GsmHrDecoder::DecodeLag(int sub, int16_t code)
{
    if (sub == 0) {
        m_lastLag = static_cast<int16_t>(code & 0xff);
    } else {
        const int16_t lag = Add(Sub(static_cast<int16_t>(code & 0xf), 8), m_lastLag);
        m_lastLag = Sub(lag, 0xff) > 0 ? int16_t(0xff) : (lag < 0 ? int16_t(0) : lag);
    }
    return kGsmHrLags[m_lastLag];
}

void GsmHrDecoder::PitchPrefilter(const int16_t* excite, int16_t gainCode, int16_t lag, int16_t mode, int16_t semiBeta,
                                  Norm sqrtRs, int16_t* out)
{
    int16_t* cur = m_prefilter + kLtpHistory;
    if (mode == 0) {
        for (int i = 0; i < kLtpHistory - kSub; ++i)
            m_prefilter[i] = m_prefilter[i + kSub];
        for (int i = 0; i < kSub; ++i)
            m_prefilter[i + kLtpHistory - kSub] = excite[i];
        std::copy(excite, excite + kSub, out);
        return;
    }
    int16_t energy = Add(Neg(Shl(sqrtRs.shift, 1)), 3);
    Norm origEnergy;
    int32_t l;
    if (energy > 0) {
        origEnergy.shift = EnergyScaled(excite, energy, &l);
        origEnergy.man = Round(l);
    } else {
        energy = 0;
        l = 0;
        for (int i = 0; i < kSub; ++i)
            l = LMac(l, excite[i], excite[i]);
        origEnergy.shift = Norm32(l);
        origEnergy.man = Round(LShl(l, origEnergy.shift));
    }
    const int16_t sqrtP0 = kGsmHrSqrtP0[mode - 1][gainCode];
    int16_t scale = Sub(sqrtP0, semiBeta) > 0 ? semiBeta : sqrtP0;
    scale = MulR(0x2666, scale);
    int16_t intLag, phase;
    SplitLag(lag, &intLag, &phase);
    int16_t coefs[10];
    for (int i = 0; i < 10; ++i)
        coefs[i] = MulR(kGsmHrPitchInterp[i][phase], scale);
    for (int i = 0; i < kSub; ++i) {
        int32_t acc = ToHi(excite[i]);
        for (int j = 0; j < 9; ++j)
            acc = LMac(acc, cur[i - intLag - 5 + j], coefs[j]);
        cur[i] = MacR(acc, cur[i - intLag + 4], coefs[9]);
    }
    scale = AgcGain(cur, origEnergy, energy);
    for (int i = 0; i < kSub; ++i)
        out[i] = Round(LShl(LMul(cur[i], scale), 1));
    for (int i = 0; i < kLtpHistory; ++i)
        m_prefilter[i] = m_prefilter[i + kSub];
}

void GsmHrDecoder::PostFilter(const int16_t* in, const int16_t* num, const int16_t* den, int16_t energyShift,
                              int16_t* out)
{
    Norm origEnergy;
    int32_t l;
    origEnergy.shift = EnergyScaled(in, energyShift, &l);
    origEnergy.man = Round(l);
    LpcFir(in, num, m_postNumState, out);
    LpcIir(out, den, m_postDenState, out);
    for (int i = 0; i < kSub; ++i) {
        const int16_t t = MsuR(ToHi(out[i]), m_emphasisState, 0x199a);
        m_emphasisState = out[i];
        out[i] = t;
    }
    const int16_t agc = AgcGain(out, origEnergy, energyShift);
    int16_t running = m_agcGain;
    int32_t lRunning = ToHi(m_agcGain);
    for (int i = 0; i < kSub; ++i) {
        lRunning = LMsu(lRunning, running, 0x19a);
        lRunning = LMac(lRunning, agc, 0x19a);
        running = Hi(lRunning);
        out[i] = Hi(LShl(LMul(running, out[i]), 2));
    }
    m_agcGain = running;
}
