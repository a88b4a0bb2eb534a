// Subframe analysis of the encoder: closed-loop lag choice, harmonic-noise
// weighting, the vector-sum codebook searches and the joint gain quantiser;
// then the chosen excitation updates the long-term predictor and the
// weighting filter states.
#include "GsmHrEncoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>
#include <array>

using namespace fx;
using namespace gsmhr;

namespace {

constexpr int kMaxBasis = 9;
constexpr int kHnwHistory = 145;

// Energy-limited copy shift: 0, 1 or 2 so that the vector's energy stays
// below one.
int16_t HeadroomShift(const int16_t* v, int32_t start)
{
    int16_t a = Shr(v[0], 2);
    int32_t e = LMac(start, a, a);
    for (int i = 1; i < kSub; ++i) {
        a = Shr(v[i], 2);
        e = LMac(e, a, a);
    }
    const int16_t r = Round(e);
    if (Sub(r, 0x7ff) <= 0)
        return 0;
    return Sub(r, 0x1fff) <= 0 ? 1 : 2;
}

int16_t ClosedLoopLag(const int16_t* lags, int count, int16_t* ltp, const int16_t* h, const int16_t* target,
                      int16_t* lagOut, int16_t* ltpShift)
{
    int16_t t[kSubframes][kSub];
    for (int i = 0; i < count; ++i) {
        PitchVector(lags[i], &ltp[kLtpHistory]);
        LpcZeroStateIir(&ltp[kLtpHistory], h, t[i]);
    }
    // upper bound of the largest weighted vector's energy
    int16_t a = Shr(t[0][0], 2);
    int32_t e = LMac(0x001dff4c, a, a);
    for (int j = 1; j < kSub; ++j) {
        a = Shr(t[0][j], 2);
        e = LMac(e, a, a);
    }
    for (int i = 1; i < count; ++i) {
        a = Shr(t[i][0], 2);
        e = LMac(e, a, a);
    }
    const int16_t bound = Round(e);
    *ltpShift = 0;
    if (Sub(bound, 0x07ff) > 0)
        *ltpShift = Sub(bound, 0x1fff) > 0 ? 2 : 1;

    int32_t cg[kSubframes] = {}, cc[kSubframes] = {};
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < kSub; ++j)
            t[i][j] = Shr(t[i][j], *ltpShift);
        int32_t en = LMul(t[i][0], t[i][0]);
        for (int j = 1; j < kSub; ++j)
            en = LMac(en, t[i][j], t[i][j]);
        cg[i] = en;
        int32_t x = LMul(t[i][0], target[0]);
        for (int j = 1; j < kSub; ++j)
            x = LMac(x, t[i][j], target[j]);
        cc[i] = x;
    }
    int32_t ccNorm = LAbs(cc[0]);
    int32_t cgNorm = cg[0];
    for (int i = 1; i < count; ++i) {
        ccNorm |= LAbs(cc[i]);
        cgNorm |= cg[i];
    }
    const int16_t ccShift = Norm32(ccNorm);
    const int16_t cgShift = Norm32(cgNorm);
    int16_t c16[kSubframes], g16[kSubframes];
    for (int i = 0; i < count; ++i) {
        c16[i] = Round(LShl(cc[i], ccShift));
        g16[i] = Round(LShl(cg[i], cgShift));
    }
    int16_t ccMax, gMax;
    const int16_t best = BestSignedRatio(c16, g16, &ccMax, &gMax, count);
    *lagOut = lags[best];
    int16_t code;
    QuantiseLag(*lagOut, &code);
    return code;
}

// Makes the basis vectors orthogonal to a given vector.
void Decorrelate(int count, const int16_t* given, int16_t* vectors)
{
    int32_t energy;
    const int16_t eShift = Energy(given, &energy);
    const int16_t normEnergy = Hi(energy);
    if (normEnergy == 0)
        return;
    for (int v = 0; v < count; ++v) {
        int16_t* vec = &vectors[v * kSub];
        int32_t corr;
        int16_t cShift = Correlation(given, vec, &corr);
        const int32_t signedCorr = corr;
        corr = LAbs(corr);
        cShift = Sub(cShift, 1);
        const int16_t shiftSum = Sub(cShift, eShift);
        corr = LShr(corr, 1);
        int16_t q = Div(Round(corr), normEnergy);
        if (signedCorr > 0)
            q = Neg(q);
        int16_t qShift = Norm16(q);
        q = Shl(q, qShift);
        qShift = Add(shiftSum, qShift);
        if (qShift > 0) {
            q = ShrRound(q, Neg(qShift));
            qShift = 0;
        } else {
            qShift = Neg(qShift);
        }
        for (int i = 0; i < kSub; ++i) {
            const int32_t l = LMsu(0x00008000, vec[i], kMin16);
            vec[i] = Hi(LMac(l, q, Shl(given[i], qShift)));
        }
    }
}

// Harmonic-noise weighting x(n) - c * x(n - pitch), run newest sample first so
// that it may work in place; taps before the block come from `state` when
// given.
void HarmonicFilter(const int16_t* in, int16_t* out, const int16_t* state, const int16_t* coef, int offset,
                    bool fullState, int count)
{
    const int stateIndex = kSub - 1 + offset;
    const int stateIndex1 = kSub + offset;
    for (int i = 0; i < count; ++i) {
        int32_t l = LMac(16384, in[kSub - i - 1], 0x4000);
        int j = 5;
        for (; j >= 0 && stateIndex - i + j >= 0; --j)
            l = LMac(l, in[stateIndex - i + j], coef[j]);
        if (fullState) {
            for (; j >= 0; --j)
                l = LMac(l, state[stateIndex1 - i + j], coef[j]);
        }
        out[kSub - 1 - i] = Hi(LShl(l, 1));
    }
}

// Gray-code walk tables of the codebook search: which sign flips at each
// step and where its update row lies (positive rows first, then negated).
struct SearchOrder
{
    std::array<uint8_t, 255> bit{};
    std::array<uint8_t, 255> row{};
    std::array<uint8_t, 9> nextBit{};
};

SearchOrder MakeSearchOrder(int eBits)
{
    SearchOrder o;
    const int steps = (1 << eBits) - 1;
    for (int i = 0; i < steps; ++i) {
        const int flipped = __builtin_ctz(unsigned(i + 1));
        const int grayNew = (i + 1) ^ ((i + 1) >> 1);
        const bool becomesOne = (grayNew >> flipped) & 1;
        o.bit[i] = static_cast<uint8_t>((flipped + 1) % eBits);
        o.row[i] = static_cast<uint8_t>((eBits + 1) * flipped + (becomesOne ? 0 : (eBits + 1) * eBits));
    }
    for (int b = 0; b <= eBits; ++b)
        o.nextBit[b] = static_cast<uint8_t>((b + 1) % eBits);
    return o;
}

int16_t SearchCodebook(const int16_t* target, const int16_t* wb, int basisCount)
{
    static const SearchOrder kVoiced = MakeSearchOrder(8);
    static const SearchOrder kUnvoiced = MakeSearchOrder(6);
    const int eBits = basisCount - 1;
    const SearchOrder& order = basisCount == 9 ? kVoiced : kUnvoiced;

    int32_t r[kMaxBasis];
    int32_t maxC = 0;
    for (int i = 0; i < basisCount; ++i) {
        int32_t l = LMul(wb[i * kSub], target[0]);
        for (int j = 1; j < kSub; ++j)
            l = LMac(l, wb[j + i * kSub], target[j]);
        r[i] = l;
        maxC = LAdd(LAbs(l), maxC);
    }
    int16_t shift = Add(-1, Norm32(maxC));
    int32_t c0 = 0;
    for (int i = 0; i < basisCount; ++i) {
        const int32_t l = LShl(r[i], shift);
        c0 = LSub(c0, l);
        r[i] = LShl(l, 1);
    }
    const int16_t swC0 = Hi(c0);

    int16_t dHi[kMaxBasis][kMaxBasis] = {}, dLo[kMaxBasis][kMaxBasis] = {}, d[kMaxBasis][kMaxBasis] = {};
    for (int i = 0; i < basisCount - 1; ++i) {
        for (int j = i + 1; j < basisCount; ++j) {
            int32_t l = LMul(wb[i * kSub], wb[j * kSub]);
            for (int k = 1; k < kSub; ++k)
                l = LMac(l, wb[k + i * kSub], wb[k + j * kSub]);
            dHi[i][j] = Hi(l);
            dLo[i][j] = Lo(l);
        }
    }
    int32_t g0 = LMul(wb[0], wb[0]);
    for (int i = 1; i < basisCount * kSub; ++i)
        g0 = LMac(g0, wb[i], wb[i]);
    shift = Add(-4, Norm32(g0));
    g0 = LShl(g0, shift);
    for (int i = 0; i < basisCount - 1; ++i) {
        for (int j = i + 1; j < basisCount; ++j) {
            int32_t l = LAdd(ToHi(dHi[i][j]), 0xffff & int32_t(dLo[i][j]));
            l = LShl(LShl(l, shift), 1);
            g0 = LAdd(l, g0);
            d[i][j] = Round(LShl(l, 1));
        }
    }
    const int16_t swG0 = Hi(g0);

    int16_t cg[2 * kMaxBasis * (kMaxBasis - 1)] = {};
    for (int i = 0; i < eBits; ++i)
        cg[i * (eBits + 1)] = Round(r[i]);
    int16_t* p0 = &cg[eBits];
    int16_t* p1 = &cg[1];
    int16_t* p2 = &cg[2 * eBits];
    int i = 0;
    for (; i < eBits - 1; ++i) {
        for (int j = i + 1; j < eBits; ++j) {
            const int16_t v = Hi(LShl(ToHi(d[i][j]), 1));
            p1[j - 1 + i * eBits] = v;
            p2[i + eBits * (j - 1)] = v;
        }
        p0[i * (eBits + 1)] = Neg(d[i][eBits]);
    }
    p0[i * (eBits + 1)] = Neg(d[eBits - 1][eBits]);
    p0 = &cg[(eBits + 1) * eBits];
    for (int k = 0; k < (eBits + 1) * eBits; ++k)
        p0[k] = Neg(cg[k]);

    int16_t signs[kMaxBasis - 1];
    for (int k = 0; k < eBits; ++k)
        signs[k] = -0x4000;
    int16_t gMax = swG0;
    int16_t ccMax = MulR(swC0, swC0);
    int32_t lc = ToHi(swC0);
    int32_t lg = ToHi(swG0);
    int16_t best = 0;
    const int steps = (1 << eBits) - 1;
    for (int step = 0; step < steps; ++step) {
        const int16_t* upd = &cg[order.row[step]];
        int bit = order.bit[step];
        lc = LMsu(lc, upd[0], kMin16);
        int j = 0;
        for (; j < eBits - 1; ++j) {
            lg = LMac(lg, upd[j + 1], signs[bit]);
            bit = order.nextBit[bit];
        }
        lg = LMsu(lg, upd[j + 1], kMin16);
        signs[bit] = Neg(signs[bit]);
        const int16_t c = Hi(lc);
        const int16_t cc = MulR(c, c);
        const int16_t g = Hi(lg);
        int32_t l = LMul(g, ccMax);
        l = LMsu(l, gMax, cc);
        if (l < 0) {
            ccMax = cc;
            gMax = g;
            best = static_cast<int16_t>(step + 1);
        }
    }

    int16_t code = static_cast<int16_t>(best ^ Shr(best, 1));
    int32_t sum = 0;
    int16_t mask = 1;
    for (int k = 0; k < basisCount; ++k) {
        sum = (code & mask) == 0 ? LSub(sum, r[k]) : LAdd(sum, r[k]);
        mask = Shl(mask, 1);
    }
    if (sum < 0)
        code = static_cast<int16_t>(code ^ Sub(Shl(1, static_cast<int16_t>(basisCount)), 1));
    return code;
}

// a*b as a normalised mantissa with its shift, the shift added to `shift`.
inline void NormProduct(int16_t a, int16_t b, Norm* term)
{
    const int32_t l = LMul(a, b);
    const int16_t s = Norm16(Hi(l));
    term->shift = Add(term->shift, s);
    term->man = Round(LShl(l, s));
}

void GainTweak(Norm* e)
{
    Norm t[5];
    t[0].shift = e[3].shift;
    NormProduct(e[3].man, e[5].man, &t[0]);
    NormProduct(t[0].man, e[4].man, &t[0]);
    t[0].shift = Add(Add(t[0].shift, e[4].shift), e[5].shift);
    int16_t norm = t[0].shift;

    t[1].shift = e[2].shift;
    NormProduct(e[2].man, e[2].man, &t[1]);
    NormProduct(t[1].man, e[5].man, &t[1]);
    t[1].shift = Add(Add(t[1].shift, e[2].shift), e[5].shift);
    if (Sub(t[1].shift, norm) < 0)
        norm = t[1].shift;

    t[2].shift = e[1].shift;
    NormProduct(e[1].man, e[1].man, &t[2]);
    NormProduct(t[2].man, e[3].man, &t[2]);
    t[2].shift = Add(Add(t[2].shift, e[1].shift), e[3].shift);
    if (Sub(t[2].shift, norm) < 0)
        norm = t[2].shift;

    t[3].shift = e[0].shift;
    NormProduct(e[0].man, e[1].man, &t[3]);
    NormProduct(t[3].man, e[2].man, &t[3]);
    t[3].shift = Add(Add(t[3].shift, e[1].shift), e[2].shift);
    t[3].shift = Sub(t[3].shift, 1);
    if (Sub(t[3].shift, norm) < 0)
        norm = t[3].shift;

    t[4].shift = e[0].shift;
    NormProduct(e[0].man, e[4].man, &t[4]);
    NormProduct(t[4].man, e[0].man, &t[4]);
    t[4].shift = Add(Add(t[4].shift, e[0].shift), e[4].shift);
    if (Sub(t[4].shift, norm) < 0)
        norm = t[4].shift;

    for (int i = 0; i < 5; ++i) {
        int32_t l = ToHi(t[i].man);
        const int16_t ns = Sub(t[i].shift, norm);
        if (ns > 0)
            l = LShr(l, ns);
        t[i].man = Round(l);
    }
    int16_t num = Sub(t[0].man, t[1].man);
    if (num <= 0)
        return;
    int16_t den = Add(Sub(t[2].man, t[3].man), t[4].man);
    if (den <= 0)
        return;
    if (Sub(num, den) <= 0)
        return;

    int16_t shift = Norm16(num);
    int16_t normShift = Sub(shift, 1);
    num = Shr(Shl(num, shift), 1);
    shift = Norm16(den);
    normShift = Sub(normShift, shift);
    den = Shl(den, shift);
    int16_t q = Div(num, den);
    shift = Norm16(q);
    normShift = Add(normShift, shift);
    int32_t l = LShl(ToHi(q), shift);
    q = SquareRoot(l);
    if (normShift & 1) {
        l = LMul(0x5a82, q);
        normShift = Sub(normShift, 1);
    } else {
        l = ToHi(q);
    }
    normShift = Shr(normShift, 1);
    shift = Norm16(Hi(l));
    normShift = Add(normShift, shift);
    int16_t tweak = Round(LShl(l, shift));
    if (Add(1, normShift) > 0)
        return;
    if (Add(1, normShift) < 0)
        tweak = 0x5A82;
    else if (Sub(0x5A82, tweak) < 0)
        tweak = 0x5A82;

    for (int k = 0; k < 2; ++k) {
        l = LMul(tweak, e[k].man);
        shift = Norm16(Hi(l));
        e[k].shift = Sub(Add(e[k].shift, shift), 1);
        e[k].man = Round(LShl(l, shift));
    }
}

int16_t QuantiseGains(int16_t mode, const int16_t* target, int16_t targetShift, const int16_t* ltpW,
                      const int16_t* code1W, const int16_t* code2W, Norm rs00, Norm rs11, Norm rs22)
{
    // unvoiced: excitations are the two code vectors; voiced: the pitch vector and one code vector
    const int16_t* x0 = mode == 0 ? code1W : ltpW;
    const int16_t* x1 = mode == 0 ? code2W : code1W;
    const Norm ra = mode == 0 ? rs11 : rs00;
    const Norm rb = mode == 0 ? rs22 : rs11;

    Norm e[6];
    int32_t l;
    e[0].shift = Correlation(target, x0, &l);
    e[0].man = Round(l);
    e[1].shift = Correlation(target, x1, &l);
    e[1].man = Round(l);
    e[2].shift = Correlation(x0, x1, &l);
    e[2].man = Round(l);
    e[3].shift = Energy(x0, &l);
    e[3].man = Round(l);
    e[4].shift = Energy(x1, &l);
    e[4].man = Round(l);
    e[5].shift = Energy(target, &l);
    e[5].man = Round(l);
    GainTweak(e);

    NormProduct(e[0].man, ra.man, &e[0]);
    e[0].shift = Add(e[0].shift, ra.shift);
    int16_t normMin = e[0].shift;

    NormProduct(e[1].man, rb.man, &e[1]);
    e[1].shift = Add(e[1].shift, rb.shift);
    if (Sub(e[1].shift, normMin) < 0)
        normMin = e[1].shift;

    NormProduct(e[2].man, ra.man, &e[2]);
    NormProduct(e[2].man, rb.man, &e[2]);
    e[2].shift = Add(Add(Add(e[2].shift, ra.shift), rb.shift), targetShift);
    if (Sub(e[2].shift, normMin) < 0)
        normMin = e[2].shift;

    NormProduct(e[3].man, ra.man, &e[3]);
    NormProduct(e[3].man, ra.man, &e[3]);
    e[3].shift = Add(Add(Add(e[3].shift, ra.shift), ra.shift), targetShift);
    if (Sub(e[3].shift, normMin) < 0)
        normMin = e[3].shift;

    NormProduct(e[4].man, rb.man, &e[4]);
    NormProduct(e[4].man, rb.man, &e[4]);
    e[4].shift = Add(Add(Add(e[4].shift, rb.shift), rb.shift), targetShift);
    if (Sub(e[4].shift, normMin) < 0)
        normMin = e[4].shift;

    for (int i = 0; i < 5; ++i) {
        l = ToHi(e[i].man);
        const int16_t ns = Sub(e[i].shift, normMin);
        if (ns > 0)
            l = LShr(l, ns);
        e[i].man = Round(l);
    }

    int32_t best = kMin32;
    int16_t code = 0;
    for (int i = 0; i < 32; ++i) {
        const int16_t* g = kGsmHrGainTable[mode][i];
        l = LMul(g[0], e[0].man);
        for (int k = 1; k < 5; ++k)
            l = LMac(l, g[k], e[k].man);
        if (LSub(best, l) < 0) {
            best = l;
            code = static_cast<int16_t>(i);
        }
    }
    return code;
}

} // namespace

void GsmHrEncoder::AnalyseSubframe(int sub, const int16_t* wSpeech, int16_t mode, Norm sqrtRs, const int16_t* h,
                                   const int16_t* lagList, int lagCount, int16_t pitch, int16_t hnwCoef,
                                   SubframeCodes* codes)
{
    int16_t* ltpOut = m_ltp + kLtpHistory;
    int16_t target[kSub], temp[kSub];
    LpcZeroInputIir(h, m_hState, temp);
    for (int i = 0; i < kSub; ++i)
        target[i] = Sub(wSpeech[i], temp[i]);
    const int16_t targetShift = HeadroomShift(target, 0x001dff4c);
    for (int i = 0; i < kSub; ++i)
        target[i] = Shr(target[i], targetShift);

    int16_t pVec[kSub] = {}, wpVec[kSub] = {};
    int16_t hnwCoefs[6] = {};
    int16_t hnwOffset = 0;
    int16_t hnwCount = 0;
    int16_t lag = 0;
    if (mode > 0) {
        int16_t ltpShift;
        const int16_t lagCode = ClosedLoopLag(lagList, lagCount, m_ltp, h, target, &lag, &ltpShift);
        if (sub == 0) {
            m_prevLagCode = lagCode;
            codes->lag = lagCode;
        } else {
            codes->lag = Add(Sub(lagCode, m_prevLagCode), 8);
            m_prevLagCode = lagCode;
        }
        int16_t intPitch, phase;
        SplitLag(pitch, &intPitch, &phase);
        for (int i = 0; i < 6; ++i)
            hnwCoefs[i] = MulR(Neg(kGsmHrCgInterp[i][phase]), hnwCoef);
        hnwOffset = Sub(-3, intPitch);
        hnwCount = Sub(kSub + 3 - 1, intPitch);

        HarmonicFilter(wSpeech, target, &wSpeech[-1], hnwCoefs, hnwOffset, true, kSub);
        HarmonicFilter(temp, temp, &m_hnwState[kHnwHistory - 1], hnwCoefs, hnwOffset, true, kSub);
        for (int i = 0; i < kSub; ++i)
            target[i] = Shr(Sub(target[i], temp[i]), targetShift);

        PitchVector(lag, ltpOut);
        std::copy(ltpOut, ltpOut + kSub, pVec);
        LpcZeroStateIir(pVec, h, wpVec);
        if (hnwCount > 0)
            HarmonicFilter(wpVec, wpVec, nullptr, hnwCoefs, hnwOffset, false, hnwCount);
        for (int i = 0; i < kSub; ++i) {
            pVec[i] = Shr(pVec[i], ltpShift);
            wpVec[i] = Shr(wpVec[i], ltpShift);
        }
    } else {
        codes->lag = 0;
    }

    const int basisCount = mode > 0 ? 9 : 7;
    const int16_t* basis = mode > 0 ? &kGsmHrVoicedBasis[0][0] : &kGsmHrUnvoicedBasis[0][0][0];
    int16_t wBasis[kMaxBasis * kSub];
    for (int i = 0; i < basisCount; ++i) {
        LpcZeroStateIir(&basis[i * kSub], h, &wBasis[i * kSub]);
        if (hnwCount > 0)
            HarmonicFilter(&wBasis[i * kSub], &wBasis[i * kSub], nullptr, hnwCoefs, hnwOffset, false, hnwCount);
    }
    if (mode > 0)
        Decorrelate(basisCount, wpVec, wBasis);

    int16_t signs[kMaxBasis];
    int16_t ex[2][kSub] = {}, wEx[2][kSub] = {};
    codes->code1 = SearchCodebook(target, wBasis, basisCount);
    CodeBits(codes->code1, basisCount, signs);
    BuildCodeVector(basis, ex[0], signs, basisCount);
    if (mode == 0) {
        BuildCodeVector(wBasis, wEx[0], signs, basisCount);
        const int16_t* basis2 = &kGsmHrUnvoicedBasis[1][0][0];
        for (int i = 0; i < basisCount; ++i)
            LpcZeroStateIir(&basis2[i * kSub], h, &wBasis[i * kSub]);
        Decorrelate(basisCount, wEx[0], wBasis);
        codes->code2 = SearchCodebook(target, wBasis, basisCount);
        CodeBits(codes->code2, basisCount, signs);
        BuildCodeVector(basis2, ex[1], signs, basisCount);
    } else {
        codes->code2 = 0;
    }
    LpcZeroStateIir(ex[0], h, wEx[0]);
    if (hnwCount > 0)
        HarmonicFilter(wEx[0], wEx[0], nullptr, hnwCoefs, hnwOffset, false, hnwCount);
    if (mode == 0)
        LpcZeroStateIir(ex[1], h, wEx[1]);

    Norm rs00, rs11, rs22;
    if (mode > 0)
        SqrtRatioPlain(pVec, sqrtRs, &rs00);
    SqrtRatioPlain(ex[0], sqrtRs, &rs11);
    if (mode == 0)
        SqrtRatioPlain(ex[1], sqrtRs, &rs22);
    codes->gain = QuantiseGains(mode, target, targetShift, wpVec, wEx[0], wEx[1], rs00, rs11, rs22);

    const int16_t* g = kGsmHrGainTable[mode][codes->gain];
    if (mode == 0) {
        ScaleExcitation(ex[0], g[0], rs11, ex[0]);
        ScaleExcitation(ex[1], g[1], rs22, ex[1]);
        for (int i = 0; i < kSub; ++i)
            temp[i] = Add(ex[0][i], ex[1][i]);
    } else {
        ScaleExcitation(pVec, g[0], rs00, pVec);
        ScaleExcitation(ex[0], g[1], rs11, ex[0]);
        for (int i = 0; i < kSub; ++i)
            temp[i] = Add(pVec[i], ex[0][i]);
    }

    AdvanceSubframeState(temp, h);
}

void GsmHrEncoder::AdvanceSubframeState(const int16_t* excitation, const int16_t* h)
{
    // the excitation joins the pitch history and runs through H(z) into the
    // harmonic weighting filter's history
    int16_t* ltpOut = m_ltp + kLtpHistory;
    for (int i = -kLtpHistory; i < -kSub; ++i)
        ltpOut[i] = ltpOut[i + kSub];
    for (int i = 0; i < kSub; ++i)
        ltpOut[i - kSub] = excitation[i];
    for (int i = 0; i < kHnwHistory - kSub; ++i)
        m_hnwState[i] = m_hnwState[i + kSub];
    LpcIir(excitation, h, m_hState, &m_hnwState[kHnwHistory - kSub]);
}

void GsmHrEncoder::NoiseSubframe(Norm sqrtRs, const int16_t* h, const SubframeCodes& codes)
{
    int16_t signs[kMaxBasis];
    int16_t ex[2][kSub];
    CodeBits(codes.code1, 7, signs);
    BuildCodeVector(&kGsmHrUnvoicedBasis[0][0][0], ex[0], signs, 7);
    CodeBits(codes.code2, 7, signs);
    BuildCodeVector(&kGsmHrUnvoicedBasis[1][0][0], ex[1], signs, 7);
    Norm rs11, rs22;
    SqrtRatioPlain(ex[0], sqrtRs, &rs11);
    SqrtRatioPlain(ex[1], sqrtRs, &rs22);
    const int16_t* g = kGsmHrGainTable[0][codes.gain];
    ScaleExcitation(ex[0], g[0], rs11, ex[0]);
    ScaleExcitation(ex[1], g[1], rs22, ex[1]);
    int16_t sum[kSub];
    for (int i = 0; i < kSub; ++i)
        sum[i] = Add(ex[0][i], ex[1][i]);
    AdvanceSubframeState(sum, h);
}
