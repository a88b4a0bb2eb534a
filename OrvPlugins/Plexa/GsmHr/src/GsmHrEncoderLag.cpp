// Open-loop lag search: the voicing decision, the best delta-codable lag
// trajectory through the peaks of the interpolated C^2/G function, the short
// lag lists for the closed-loop search, and the pitch and harmonic-noise
// weighting coefficient of each subframe.
#include "GsmHrEncoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

using namespace fx;
using namespace gsmhr;

namespace {

constexpr int kOs = 6; // lag resolution: sixths of a sample
constexpr int kLagMin = 21;
constexpr int kLagMax = 142;
constexpr int kSearchMin = kLagMin - 3;
constexpr int kSearchMax = kLagMax + 3;
constexpr int kTerms = kSearchMax - kSearchMin + 1;
constexpr int kGFrame = kSearchMax + 3 * kSub - kSearchMin + 1;
constexpr int kDeltaLevels = 16;
constexpr int kClosed = 3;
constexpr int kTrajMax = 2;
constexpr int kPeakReach = 3;
constexpr int kMaxPeaks = 2 * kLagMax / kLagMin;
constexpr int16_t kInvOs = 0x1555;

// Index of the largest C*C/G with C and G positive that beats the start
// values; -1 when none does.
int FindBestRatio(const int16_t* c, const int16_t* g, int16_t* ccMax, int16_t* gMax, int count)
{
    int16_t cc = *ccMax;
    int16_t gm = *gMax;
    int best = -1;
    for (int i = 0; i < count; ++i) {
        if (g[i] > 0 && c[i] > 0) {
            const int16_t t = MulR(c[i], c[i]);
            int32_t l = LMul(t, gm);
            l = LMsu(l, cc, g[i]);
            if (l > 0) {
                cc = t;
                gm = g[i];
                best = i;
            }
        }
    }
    *ccMax = cc;
    *gMax = gm;
    return best;
}

// C and G at fractional lags by interpolating the integer sequences, whose
// element 0 belongs to integer lag loLag.
void Interpolate(const int16_t* lags, int count, const int16_t* cIn, const int16_t* gIn, int16_t loLag, int16_t* cOut,
                 int16_t* gOut)
{
    const int16_t base = Add(loLag, 3 - 1);
    for (int n = 0; n < count; ++n) {
        const int32_t l = LMul(lags[n], kInvOs);
        const int16_t whole = Hi(l);
        int16_t rem = static_cast<int16_t>(Shr(Lo(l), 1) & kMax16);
        rem = MulR(rem, kOs);
        rem = Sub(kOs, rem);
        const int at = whole - base;
        int32_t c = LMac(32768, cIn[at], kGsmHrCgInterp[0][rem]);
        int32_t g = LMac(32768, gIn[at], kGsmHrCgInterp[0][rem]);
        for (int i = 1; i <= 5; ++i) {
            c = LMac(c, cIn[i + at], kGsmHrCgInterp[i][rem]);
            g = LMac(g, gIn[i + at], kGsmHrCgInterp[i][rem]);
        }
        cOut[n] = Hi(c);
        gOut[n] = Hi(g);
    }
}

// The codable lags strictly within one sample of a lag, with their C and G.
int InterpolateCodable(int16_t fullLag, const int16_t* cIn, const int16_t* gIn, int16_t* lagOut, int16_t* cOut,
                       int16_t* gOut)
{
    int16_t lower, upper;
    if (Sub(QuantiseLag(Sub(fullLag, kOs), &lower), fullLag) != 0)
        lower = Add(lower, 1);
    if (Sub(QuantiseLag(Add(fullLag, kOs), &upper), fullLag) != 0)
        upper = Sub(upper, 1);
    const int count = Add(Sub(upper, lower), 1);
    for (int i = 0; i < count; ++i)
        lagOut[i] = kGsmHrLags[i + lower];
    Interpolate(lagOut, count, cIn, gIn, kSearchMin, cOut, gOut);
    return count;
}

// An integer-lag peak of C^2/G near a lag, as a sixth-sample lag; 0 if the
// best value lies on the edge of the neighbourhood or none is positive.
int16_t FindPeak(int16_t lag, const int16_t* cIn, const int16_t* gIn)
{
    int16_t upper = Add(lag, kPeakReach + 1);
    if (Sub(upper, kLagMax + 1) > 0)
        upper = kLagMax + 1;
    int16_t lower = Sub(lag, kPeakReach + 1);
    if (Sub(lower, kLagMin - 1) < 0)
        lower = kLagMin - 1;
    const int16_t range = Add(Sub(upper, lower), 1);
    int16_t cc = 0, g = 0x3f;
    int16_t peak =
        static_cast<int16_t>(FindBestRatio(&cIn[lower - kSearchMin], &gIn[lower - kSearchMin], &cc, &g, range));
    if (Add(peak, 1) == 0)
        return 0;
    peak = Add(peak, lower);
    if (Sub(peak, lower) == 0 || Sub(peak, upper) == 0)
        return 0;
    return Shr(Lo(LMul(peak, kOs)), 1);
}

int16_t Exp2(int32_t in)
{
    static const int16_t kCoef[3] = {0x15ef, 0x556f, 0x7fbd};
    int16_t t3 = 0x0020;
    int16_t t1 = Hi(in);
    in = LMul(t1, t3);
    const int16_t t2 = Hi(in);
    t3 = -0x0001;
    int16_t t4 = Sub(t3, t2);
    in = in & 0xffff;
    in = LAdd(in, ToHi(t3));
    in = LShr(in, 1);
    t1 = Lo(in);
    in = LMul(MulR(t1, t1), kCoef[0]);
    in = LMac(in, t1, kCoef[1]);
    in = LAdd(in, ToHi(kCoef[2]));
    if (t4 > 0)
        in = LShr(in, t4);
    return Hi(in);
}

int16_t Log2(int32_t in)
{
    int16_t shift = Norm32(in);
    in = LShl(in, shift);
    shift = Neg(Add(shift, 1));
    const int16_t x = Hi(in);
    in = LMul(MulR(x, x), -0x2b2a);
    in = LMac(in, x, 0x7fc5);
    in = LAdd(in, ToHi(-0x54d0));
    in = LShr(in, 3);
    in = in & 0x03ffffff;
    shift = Shl(shift, 10);
    in = LAdd(in, ToHi(shift));
    return Round(in);
}

int16_t CcThreshold(int16_t rp0, int16_t cc, int16_t g)
{
    int32_t l = LMul(rp0, g);
    int16_t s = Hi(l);
    l = LSub(l, ToHi(cc));
    if (l > 0) {
        s = Div(Hi(l), s);
        l = ToHi(s);
        if (Sub(s, 0x0021) <= 0)
            l = ToHi(0x0021);
    } else {
        l = ToHi(0x0021);
    }
    s = Log2(l);
    l = LMul(s, 0x6000);
    s = Exp2(l);
    l = ToHi(rp0);
    l = LMsu(l, rp0, s);
    l = LShr(l, 1);
    return Hi(l);
}

// Best delta-codable lag for one subframe of a trajectory.
void BestDelta(const int16_t* lags, const int16_t* cSub, const int16_t* gSub, int count, int sub, int16_t* trajL,
               int16_t* trajCc, int16_t* trajG)
{
    int16_t cBuf[kDeltaLevels + 6 + 2], gBuf[kDeltaLevels + 6 + 2];
    int16_t cInt[kDeltaLevels + 2], gInt[kDeltaLevels + 2];
    int16_t ipLo, remLo, ipHi, remHi;
    SplitLag(lags[0], &ipLo, &remLo);
    SplitLag(lags[count - 1], &ipHi, &remHi);
    int16_t loLag = Sub(ipLo, 3 - 1);
    const int16_t hiLag = remHi != 0 ? Add(ipHi, 3) : Add(ipHi, 3 - 1);
    int16_t* c1 = cBuf;
    int16_t* g1 = gBuf;
    if (remLo == 0) {
        c1[0] = 0;
        g1[0] = 0;
        ++c1;
        ++g1;
    }
    for (int i = loLag; i <= hiLag; ++i) {
        c1[i - loLag] = cSub[i - kSearchMin];
        g1[i - loLag] = gSub[i - kSearchMin];
    }
    if (remLo == 0)
        loLag = Sub(loLag, 1);
    Interpolate(lags, count, cBuf, gBuf, loLag, cInt, gInt);
    int16_t cc, g;
    const int16_t peak = BestSignedRatio(cInt, gInt, &cc, &g, count);
    trajL[sub] = lags[peak];
    trajCc[sub] = cc;
    trajG[sub] = g;
}

// Peaks of the interpolated C^2/G above the threshold, largest first, with the
// subframe's pitch and harmonic-noise weighting coefficient.
void PitchLags(int16_t bestIntLag, const int16_t* cInt, const int16_t* gInt, int16_t ccThreshold, int16_t* lagSorted,
               int16_t* cSorted, int16_t* gSorted, int* numSorted, int16_t* pitch, int16_t* hnwCoef)
{
    static const int16_t kSubMult[5] = {0x0aab, 0x071c, 0x0555, 0x0444, 0x038e};
    int16_t lBuf[2 * kOs - 1], cBuf[2 * kOs - 1], gBuf[2 * kOs - 1];
    int16_t lPeaks[kMaxPeaks], cPeaks[kMaxPeaks], gPeaks[kMaxPeaks];

    int16_t s1 = Shr(Lo(LMul(bestIntLag, kOs)), 1);
    int num = InterpolateCodable(s1, cInt, gInt, lBuf, cBuf, gBuf);
    int16_t a = 0, b = 0x003f;
    int peak = FindBestRatio(cBuf, gBuf, &a, &b, num);
    if (peak == -1) {
        *numSorted = 0;
        return;
    }
    int count = 0;
    cPeaks[count] = cBuf[peak];
    lPeaks[count] = lBuf[peak];
    gPeaks[count] = gBuf[peak];
    ++count;

    // peaks at submultiples of the first
    int smf = 0;
    int16_t subMult = MulR(lPeaks[0], kSubMult[smf++]);
    while (Sub(subMult, kLagMin) >= 0 && smf <= 5) {
        const int16_t full = FindPeak(subMult, cInt, gInt);
        if (full) {
            num = InterpolateCodable(full, cInt, gInt, lBuf, cBuf, gBuf);
            a = ccThreshold;
            b = 0x4000;
            peak = FindBestRatio(cBuf, gBuf, &a, &b, num);
            if (peak != -1) {
                cPeaks[count] = cBuf[peak];
                lPeaks[count] = lBuf[peak];
                gPeaks[count] = gBuf[peak];
                ++count;
            }
        }
        if (smf < 5)
            subMult = MulR(lPeaks[0], kSubMult[smf]);
        ++smf;
    }

    // the pitch: peak within a sample of the last peak found, any fraction
    int16_t upper = Sub(Add(lPeaks[count - 1], kOs), 1);
    if (Sub(upper, kLagMax * kOs) > 0)
        upper = kLagMax * kOs;
    int16_t lower = Add(Sub(lPeaks[count - 1], kOs), 1);
    if (Sub(lower, kLagMin * kOs) < 0)
        lower = kLagMin * kOs;
    for (int16_t i = lower, j = 0; i <= upper; ++i, ++j)
        lBuf[j] = i;
    num = Add(Sub(upper, lower), 1);
    Interpolate(lBuf, num, cInt, gInt, kSearchMin, cBuf, gBuf);
    a = 0;
    b = 0x003f;
    peak = FindBestRatio(cBuf, gBuf, &a, &b, num);
    int16_t cPitch, gPitch;
    if (peak == -1) {
        cPitch = 0;
        *pitch = kLagMin * kOs;
        gPitch = 0x003f;
    } else {
        cPitch = cBuf[peak];
        *pitch = lBuf[peak];
        gPitch = gBuf[peak];
    }

    // peaks at multiples of the pitch
    int16_t mult = Add(*pitch, *pitch);
    int16_t multInt = MulR(mult, kInvOs);
    while (Sub(multInt, kLagMax) <= 0) {
        const int16_t full = FindPeak(multInt, cInt, gInt);
        if (full) {
            num = InterpolateCodable(full, cInt, gInt, lBuf, cBuf, gBuf);
            a = ccThreshold;
            b = 0x4000;
            peak = FindBestRatio(cBuf, gBuf, &a, &b, num);
            if (peak != -1) {
                cPeaks[count] = cBuf[peak];
                lPeaks[count] = lBuf[peak];
                gPeaks[count] = gBuf[peak];
                ++count;
            }
        }
        mult = Add(*pitch, mult);
        multInt = MulR(mult, kInvOs);
    }

    // coefficient 0.4 * C(pitch) / G(pitch), halved
    const int16_t cShift = Norm16(cPitch);
    const int32_t l = LMul(Shl(cPitch, cShift), 0x3333);
    const int16_t gShift = Norm16(gPitch);
    const int16_t gNorm = Shl(gPitch, gShift);
    int16_t coef = Div(Round(LShr(l, 1)), gNorm);
    if (Sub(gShift, cShift) > 0)
        coef = Shl(coef, Sub(gShift, cShift));
    if (Sub(gShift, cShift) < 0)
        coef = ShrRound(coef, Sub(gShift, cShift));
    *hnwCoef = coef;

    // sort the peaks, largest C^2/G first, dropping repeated lags
    *numSorted = 0;
    for (int i = 0; i < count; ++i) {
        a = 0;
        b = 0x003f;
        const int p = FindBestRatio(cPeaks, gPeaks, &a, &b, count);
        if (p < 0)
            break; // what is left rounds to a zero C^2
        bool repeat = false;
        const int16_t lag = lPeaks[p];
        for (int j = 0; j < *numSorted; ++j) {
            if (Sub(lag, lagSorted[j]) == 0)
                repeat = true;
        }
        if (!repeat) {
            lagSorted[*numSorted] = lag;
            cSorted[*numSorted] = cPeaks[p];
            gSorted[*numSorted] = gPeaks[p];
            ++*numSorted;
        }
        cPeaks[p] = 0;
    }
}

} // namespace

void GsmHrEncoder::SearchOpenLoop(int16_t prevR0Index, int16_t r0Index, int16_t sp, OpenLoop* out, int16_t* vadLags)
{
    const int16_t* w = m_weighted + kSearchMax;   // sample 0 of this frame; history before it
    Norm* energy = m_weightedEnergy + kSubframes; // this frame's; [-4..-1] the last frame's
    for (int i = 0; i < kSubframes; ++i)
        energy[i - kSubframes] = energy[i];
    for (int i = 0; i < kSubframes; ++i) {
        int32_t e;
        energy[i].shift = EnergyScaled(&w[i * kSub], R0EnergyShift(i == 0 ? prevR0Index : r0Index), &e);
        energy[i].man = Round(e);
    }

    // scale so that the largest subframe energy lands in [0.125, 0.25)
    Norm maxEnergy;
    for (int i = -kSubframes; i < kSubframes; ++i) {
        if (energy[i].man > 0) {
            if (maxEnergy.man == 0)
                maxEnergy = energy[i];
            if (Sub(energy[i].shift, maxEnergy.shift) < 0)
                maxEnergy = energy[i];
            if (Sub(energy[i].shift, maxEnergy.shift) == 0 && Sub(energy[i].man, maxEnergy.man) > 0)
                maxEnergy = energy[i];
        }
    }
    const int16_t scale = Sub(Shr(maxEnergy.shift, 1), 1);
    int16_t scaledBuf[kFrame + kSearchMax];
    int16_t* s = scaledBuf + kSearchMax;
    for (int i = 0; i < kFrame + kSearchMax; ++i)
        s[i - kSearchMax] = Shl(w[i - kSearchMax], scale);

    // G(k): energies of the 40-sample sequences starting k back, shared by the
    // subframes; stored with increasing k per subframe
    int16_t gFrame[kGFrame];
    int32_t lg = 0;
    for (int i = -kSearchMax; i < -kSearchMax + kSub; ++i)
        lg = LMac(lg, s[i], s[i]);
    gFrame[kGFrame - 1] = Hi(lg);
    for (int i = -kSearchMax; i < kGFrame - kSearchMax - 1; ++i) {
        lg = LMsu(lg, s[i], s[i]);
        lg = LMac(lg, s[i + kSub], s[i + kSub]);
        gFrame[kGFrame - kSearchMax - 2 - i] = Hi(lg);
    }
    const int16_t* gSub[kSubframes] = {gFrame + 3 * kSub, gFrame + 2 * kSub, gFrame + kSub, gFrame};
    int16_t sfEnergy[kSubframes];
    sfEnergy[0] = gFrame[kGFrame - 1 - kSearchMax];
    sfEnergy[1] = gFrame[kGFrame - 1 - kSearchMax - kSub];
    sfEnergy[2] = gFrame[kGFrame - 1 - kSearchMax - 2 * kSub];
    int32_t le = 0;
    for (int i = kFrame - kSub; i < kFrame; ++i)
        le = LMac(le, s[i], s[i]);
    sfEnergy[3] = Hi(le);

    // C(k) per subframe
    int16_t cFrame[kSubframes * kTerms];
    for (int i = 0; i < kSubframes; ++i) {
        for (int j = kSearchMin; j <= kSearchMax; ++j) {
            int32_t lc = 0;
            for (int k = 0; k < kSub; ++k)
                lc = LMac(lc, s[i * kSub + k], s[i * kSub - j + k]);
            cFrame[i * kTerms + j - kSearchMin] = Hi(lc);
        }
    }
    const int16_t* cSub[kSubframes] = {cFrame, cFrame + kTerms, cFrame + 2 * kTerms, cFrame + 3 * kTerms};

    // best integer lag per subframe and the voicing measure
    int16_t intLag[kSubframes], threshold[kSubframes];
    int16_t bestPg = 0;
    for (int i = 0; i < kSubframes; ++i) {
        int16_t cc = 0, g = 0x003f;
        const int index = FindBestRatio(&cSub[i][kLagMin - kSearchMin], &gSub[i][kLagMin - kSearchMin], &cc, &g,
                                        kLagMax - kLagMin + 1);
        intLag[i] = index == -1 ? int16_t(0) : Add(kLagMin, static_cast<int16_t>(index));
        vadLags[i] = index == -1 ? int16_t(kLagMin) : intLag[i];
        if (intLag[i] > 0) {
            const int16_t ratio = Sub(cc, g) < 0 ? Div(cc, g) : kMax16;
            bestPg = Add(ratio, bestPg);
            threshold[i] = CcThreshold(sfEnergy[i], cc, g);
        } else {
            threshold[i] = 0;
        }
    }
    int32_t voicing = 0;
    for (int i = 0; i < kSubframes; ++i)
        voicing = LMac(voicing, sfEnergy[i], -0x2976);
    voicing = LAdd(voicing, ToHi(bestPg));

    auto unvoiced = [out]() {
        for (int i = 0; i < kSubframes; ++i) {
            out->lagCount[i] = 0;
            out->lagList[i] = 0;
            out->pitch[i] = 0;
            out->hnwCoef[i] = 0;
        }
        out->voicing = 0;
    };
    if (voicing <= 0 || sp == 0) {
        unvoiced();
        return;
    }

    int16_t trajL[kSubframes * kTrajMax][kSubframes];
    int16_t trajCc[kSubframes * kTrajMax][kSubframes];
    int16_t trajG[kSubframes * kTrajMax][kSubframes];
    int16_t lPeaks[kMaxPeaks], cPeaks[kMaxPeaks], gPeaks[kMaxPeaks];
    int16_t lArray[kDeltaLevels];
    int trajCount = 0;
    int bestTraj = 0;
    bestPg = kMin16;
    for (int anchor = 0; anchor < kSubframes; ++anchor) {
        int numPeaks = 0;
        if (intLag[anchor] == 0) {
            out->pitch[anchor] = kLagMin * kOs;
            out->hnwCoef[anchor] = 0;
            continue;
        }
        PitchLags(intLag[anchor], cSub[anchor], gSub[anchor], threshold[anchor], lPeaks, cPeaks, gPeaks, &numPeaks,
                  &out->pitch[anchor], &out->hnwCoef[anchor]);
        int peakIndex = 0;
        if (numPeaks == 0) {
            out->pitch[anchor] = kLagMin * kOs;
            out->hnwCoef[anchor] = 0;
            continue;
        }
        int toDo = numPeaks > kTrajMax ? kTrajMax : numPeaks;
        while (toDo) {
            bool used = false;
            for (int i = 0; i < trajCount; ++i) {
                if (Sub(lPeaks[peakIndex], trajL[i][anchor]) == 0)
                    used = true;
            }
            if (used) {
                --toDo;
                if (toDo) {
                    ++peakIndex;
                    continue;
                }
                break;
            }
            trajL[trajCount][anchor] = lPeaks[peakIndex];
            trajG[trajCount][anchor] = gPeaks[peakIndex];
            trajCc[trajCount][anchor] = MulR(cPeaks[peakIndex], cPeaks[peakIndex]);

            for (int f = anchor + 1; f < kSubframes; ++f) {
                int16_t code;
                QuantiseLag(trajL[trajCount][f - 1], &code);
                int16_t hi = Add(code, (kDeltaLevels / 2 - 1) - (kClosed - 1));
                if (Sub(hi, 255) > 0)
                    hi = 255;
                int16_t lo = Sub(code, (kDeltaLevels / 2) - (kClosed - 1));
                if (lo < 0)
                    lo = 0;
                for (int i = lo, j = 0; i <= hi; ++i, ++j)
                    lArray[j] = kGsmHrLags[i];
                BestDelta(lArray, cSub[f], gSub[f], Add(Sub(hi, lo), 1), f, trajL[trajCount], trajCc[trajCount],
                          trajG[trajCount]);
            }
            for (int bk = anchor - 1; bk >= 0; --bk) {
                int16_t code;
                QuantiseLag(trajL[trajCount][bk + 1], &code);
                int16_t hi = Add(code, (kDeltaLevels / 2) - (kClosed - 1));
                if (Sub(hi, 255) > 0)
                    hi = 255;
                int16_t lo = Sub(code, (kDeltaLevels / 2 - 1) - (kClosed - 1));
                if (lo < 0)
                    lo = 0;
                for (int i = lo, j = 0; i <= hi; ++i, ++j)
                    lArray[j] = kGsmHrLags[i];
                BestDelta(lArray, cSub[bk], gSub[bk], Add(Sub(hi, lo), 1), bk, trajL[trajCount], trajCc[trajCount],
                          trajG[trajCount]);
            }

            int16_t total = 0;
            for (int i = 0; i < kSubframes; ++i) {
                const int16_t cc = trajCc[trajCount][i];
                const int16_t g = trajG[trajCount][i];
                if (g <= 0)
                    continue;
                if (Sub(Abs(cc), g) > 0) {
                    total = Add(total, cc > 0 ? kMax16 : kMin16);
                } else if (cc < 0) {
                    total = Sub(total, Div(Neg(cc), g));
                } else {
                    total = Add(total, Div(cc, g));
                }
            }
            if (Sub(total, bestPg) > 0) {
                bestPg = total;
                bestTraj = trajCount;
            }
            ++trajCount;
            ++peakIndex;
            --toDo;
        }
    }

    if (trajCount == 0) {
        unvoiced();
        return;
    }

    // voicing level from the best trajectory, then the closed-loop lag lists
    int16_t mode = 3;
    int16_t lowest = 2;
    for (int i = 0; i < kSubframes; ++i) {
        const int16_t cc = trajCc[bestTraj][i];
        const int16_t rg = MulR(trajG[bestTraj][i], sfEnergy[i]);
        int32_t v = LMac(ToHi(cc), rg, -0x6676);
        if (v < 0) {
            mode = lowest;
            v = LMac(ToHi(cc), rg, -0x46d3);
            if (v < 0) {
                lowest = 1;
                mode = 1;
            }
        }
    }
    out->voicing = mode;
    int so = 0;
    for (int i = 0; i < kSubframes; ++i) {
        int16_t code;
        QuantiseLag(trajL[bestTraj][i], &code);
        int16_t hi = Add(code, kClosed / 2);
        if (Sub(hi, 255) > 0)
            hi = 255;
        int16_t lo = Sub(code, kClosed / 2);
        if (lo < 0)
            lo = 0;
        out->lagCount[i] = Add(Sub(hi, lo), 1);
        for (int j = so; j < so + out->lagCount[i]; ++j)
            out->lagList[j] = kGsmHrLags[lo++];
        so += out->lagCount[i];
    }
}
