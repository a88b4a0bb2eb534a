#include "GsmHrDsp.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>

using namespace fx;

namespace gsmhr {

namespace {
constexpr int32_t kLpcRound = 0x00000800; // 0x8000 >> kAShift
constexpr int16_t kSqrtHalf = 0x5a82;
} // namespace

void LpcFir(const int16_t* in, const int16_t* coef, int16_t* state, int16_t* out)
{
    int32_t sum = LMac(kLpcRound, state[0], coef[0]);
    for (int k = 1; k < kOrder; ++k)
        sum = LMac(sum, state[k], coef[k]);
    sum = LShl(sum, kAShift);
    out[0] = Hi(LMsu(sum, in[0], kMin16));
    for (int n = 1; n < kSub; ++n) {
        sum = LMac(kLpcRound, in[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMac(sum, in[n - k - 1], coef[k]);
        for (int k = n; k < kOrder; ++k)
            sum = LMac(sum, state[k - n], coef[k]);
        sum = LShl(sum, kAShift);
        out[n] = Hi(LMsu(sum, in[n], kMin16));
    }
    for (int k = 0; k < kOrder; ++k)
        state[k] = in[kSub - k - 1];
}

void LpcIir(const int16_t* in, const int16_t* coef, int16_t* state, int16_t* out)
{
    int32_t sum = LMsu(kLpcRound, state[0], coef[0]);
    for (int k = 1; k < kOrder; ++k)
        sum = LMsu(sum, state[k], coef[k]);
    sum = LShl(sum, kAShift);
    out[0] = Hi(LMsu(sum, in[0], kMin16));
    for (int n = 1; n < kSub; ++n) {
        sum = LMsu(kLpcRound, out[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMsu(sum, out[n - k - 1], coef[k]);
        for (int k = n; k < kOrder; ++k)
            sum = LMsu(sum, state[k - n], coef[k]);
        sum = LShl(sum, kAShift);
        out[n] = Hi(LMsu(sum, in[n], kMin16));
    }
    for (int k = 0; k < kOrder; ++k)
        state[k] = out[kSub - k - 1];
}

void LpcImpulseIir(const int16_t* coef, int16_t* out)
{
    out[0] = 0x0400;
    for (int n = 1; n < kSub; ++n) {
        int32_t sum = LMsu(kLpcRound, out[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMsu(sum, out[n - k - 1], coef[k]);
        out[n] = Hi(LShl(sum, kAShift));
    }
}

void LpcZeroInputIir(const int16_t* coef, const int16_t* state, int16_t* out)
{
    int32_t sum = LMsu(kLpcRound, state[0], coef[0]);
    for (int k = 1; k < kOrder; ++k)
        sum = LMsu(sum, state[k], coef[k]);
    out[0] = Hi(LShl(sum, kAShift));
    for (int n = 1; n < kSub; ++n) {
        sum = LMsu(kLpcRound, out[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMsu(sum, out[n - k - 1], coef[k]);
        for (int k = n; k < kOrder; ++k)
            sum = LMsu(sum, state[k - n], coef[k]);
        out[n] = Hi(LShl(sum, kAShift));
    }
}

void LpcZeroStateFir(const int16_t* in, const int16_t* coef, int16_t* out)
{
    out[0] = in[0];
    for (int n = 1; n < kSub; ++n) {
        int32_t sum = LMac(kLpcRound, in[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMac(sum, in[n - k - 1], coef[k]);
        sum = LShl(sum, kAShift);
        out[n] = Hi(LMsu(sum, in[n], kMin16));
    }
}

void LpcZeroStateIir(const int16_t* in, const int16_t* coef, int16_t* out)
{
    out[0] = in[0];
    for (int n = 1; n < kSub; ++n) {
        int32_t sum = LMsu(kLpcRound, out[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMsu(sum, out[n - k - 1], coef[k]);
        sum = LShl(sum, kAShift);
        out[n] = Hi(LMsu(sum, in[n], kMin16));
    }
}

void LpcZeroStatePoleInPlace(int16_t* io, const int16_t* coef)
{
    for (int n = 1; n < kSub; ++n) {
        int32_t sum = LMac(kLpcRound, io[n - 1], coef[0]);
        for (int k = 1; n - k > 0 && k < kOrder; ++k)
            sum = LMac(sum, io[n - k - 1], coef[k]);
        sum = LShl(sum, kAShift);
        io[n] = Hi(LMsu(sum, io[n], kMin16));
    }
}

void AutocorrToRc(int32_t* r, int16_t* rc)
{
    // Lattice recursion on P and V sequences; V is indexed -(order-1)..order-1.
    int32_t pA[kOrder], pB[kOrder], vA[2 * kOrder - 1], vB[2 * kOrder - 1];
    int32_t* pOld = pA;
    int32_t* pNew = pB;
    int32_t* vOld = vA + kOrder - 1;
    int32_t* vNew = vB + kOrder - 1;

    int16_t num = Round(r[1]);
    int16_t den = Round(r[0]);
    int16_t absNum = Abs(num);
    if (den <= 0 || Sub(absNum, den) >= 0) {
        std::fill(rc, rc + kOrder, int16_t(0));
        return;
    }
    int16_t k = Div(absNum, den);
    if (Sub(num, absNum) == 0)
        k = Neg(k);
    rc[0] = k;

    for (int i = 0; i <= kOrder; ++i)
        r[i] = LShr(r[i], 2);
    for (int i = 0; i < kOrder; ++i) {
        pOld[i] = r[i];
        vOld[i] = r[i + 1];
    }
    for (int i = -1; i > -kOrder; --i)
        vOld[i] = r[-(i + 1)];

    int16_t kSq = MulR(k, k);
    for (int i = 0; i <= kOrder - 2; ++i) {
        int32_t sum = LAdd(LMul32x16(vOld[i], k), pOld[i]);
        sum = LAdd(LMul32x16(pOld[i], kSq), sum);
        pNew[i] = LAdd(sum, LMul32x16(vOld[-i], k));
    }
    for (int i = -kOrder + 2; i <= kOrder - 2; ++i) {
        int32_t sum = LAdd(LMul32x16(vOld[-i - 1], kSq), vOld[i + 1]);
        int32_t t = LShl(LMul32x16(pOld[i + 1 >= 0 ? i + 1 : -(i + 1)], k), 1);
        vNew[i] = LAdd(t, sum);
    }

    for (int j = 1; j < kOrder; ++j) {
        std::swap(pNew, pOld);
        std::swap(vNew, vOld);
        const int16_t shift = Norm32(pOld[0]);
        num = Round(LShl(vOld[0], shift));
        den = Round(LShl(pOld[0], shift));
        absNum = Abs(num);
        if (den <= 0 || Sub(absNum, den) >= 0) {
            std::fill(rc + j, rc + kOrder, int16_t(0));
            return;
        }
        k = Div(absNum, den);
        if (Sub(num, absNum) == 0)
            k = Neg(k);
        kSq = MulR(k, k);
        rc[j] = k;
        for (int i = 0; i <= kOrder - j - 2; ++i) {
            int32_t sum = LAdd(LMul32x16(vOld[i], k), pOld[i]);
            sum = LAdd(LMul32x16(pOld[i], kSq), sum);
            pNew[i] = LAdd(sum, LMul32x16(vOld[-i], k));
        }
        for (int i = -kOrder + j + 2; i <= kOrder - j - 2; ++i) {
            int32_t sum = LAdd(LMul32x16(vOld[-i - 1], kSq), vOld[i + 1]);
            int32_t t = LShl(LMul32x16(pOld[i + 1 >= 0 ? i + 1 : -(i + 1)], k), 1);
            vNew[i] = LAdd(t, sum);
        }
    }
}

bool DirectToRc(int16_t aShift, const int16_t* aIn, int16_t* rc)
{
    int16_t bufA[kOrder], bufB[kOrder];
    int16_t* a = bufA;
    int16_t* next = bufB;
    std::copy(aIn, aIn + kOrder, a);
    bool unstable = false;
    for (int i = kOrder - 1; i >= 1; --i) {
        rc[i] = Shl(a[i], aShift);
        unstable |= AtLimit16(rc[i]);
        int16_t rcOverE, div, actShift;
        if (rc[i] == kMin16) {
            unstable = true;
            rcOverE = 0;
            div = 0;
            actShift = 2;
        } else {
            int32_t l = LMsu(kMax32, rc[i], rc[i]);
            const int16_t ns = Norm32(l);
            l = LShl(l, ns);
            actShift = Add(2, ns);
            div = Div(0x2000, Hi(l));
            rcOverE = MulR(rc[i], div);
        }
        unstable |= AtLimit16(rcOverE);
        for (int j = 0; j <= i - 1; ++j) {
            int32_t l = LMul(a[j], div);
            l = LMsu(l, a[i - j - 1], rcOverE);
            next[j] = Round(LShl(l, actShift));
            unstable |= AtLimit16(next[j]);
        }
        std::swap(a, next);
    }
    rc[0] = Shl(a[0], aShift);
    unstable |= AtLimit16(rc[0]);
    return unstable;
}

bool RcToDirect(int16_t aScale, const int16_t* rc, int16_t* aOut)
{
    int32_t bufA[kOrder] = {}, bufB[kOrder] = {};
    int32_t* a = bufA;
    int32_t* next = bufB;
    bool limited = false;
    for (int i = 0; i < kOrder; ++i) {
        next[i] = LMul(aScale, rc[i]);
        for (int j = 0; j <= i - 1; ++j) {
            next[j] = LAdd(LMul32x16(a[i - j - 1], rc[i]), a[j]);
            limited |= AtLimit32(next[j]);
        }
        if (i != kOrder - 1)
            std::swap(next, a);
    }
    for (int i = 0; i < kOrder; ++i) {
        aOut[i] = Round(next[i]);
        limited |= AtLimit16(aOut[i]);
    }
    return limited;
}

void RcToAutocorr(int16_t aShift, int16_t aScale, const int16_t* rc, int32_t* r)
{
    int32_t bufA[kOrder] = {}, bufB[kOrder] = {};
    int32_t* a = bufA;
    int32_t* next = bufB;
    r[0] = kMax32;
    for (int i = 0; i < kOrder; ++i) {
        next[i] = LMul(aScale, rc[i]);
        for (int j = 0; j <= i - 1; ++j)
            next[j] = LAdd(LMul32x16(a[i - j - 1], rc[i]), a[j]);
        std::swap(a, next);
        int32_t sum = LNeg(LMul32x32(a[0], r[i]));
        for (int j = 1; j <= i; ++j)
            sum = LSub(sum, LMul32x32(a[j], r[i - j]));
        r[i + 1] = LShl(sum, aShift);
    }
}

void SmoothDirect(int16_t aShift, int16_t aScale, const int16_t* in, int16_t* out)
{
    static const int16_t kLagWindow[kOrder + 1] = {0x7FFF, 0x7F5C, 0x7D76, 0x7A5B, 0x7622, 0x70EC,
                                                   0x6ADD, 0x641F, 0x5CDD, 0x5546, 0x4D86};
    int16_t rcIn[kOrder], rcOut[kOrder];
    int32_t r[kOrder + 1];
    DirectToRc(aShift, in, rcIn);
    RcToAutocorr(aShift, aScale, rcIn, r);
    for (int i = 1; i <= kOrder; ++i)
        r[i] = LMul32x16(r[i], kLagWindow[i]);
    AutocorrToRc(r, rcOut);
    RcToDirect(aScale, rcOut, out);
}

void ResidualEnergy(const int16_t* rc, int16_t rq, Norm* out)
{
    int16_t product = kMin16;  // -1, the sign is dropped at the end
    int16_t productShift = -6; // offsets the 2^6 in the subframe energy
    for (int i = 0; i < kOrder; ++i) {
        const int16_t term = MacR(kMin32, rc[i], rc[i]);
        const int32_t l = LMul(term, product);
        const int16_t shift = Norm16(Hi(l));
        product = Round(LShl(l, shift));
        productShift = Add(productShift, shift);
    }
    product = Abs(product);
    int16_t root = SquareRoot(ToHi(product));
    const int32_t halfShift = LShr(ToHi(productShift), 1);
    const int16_t rootShift = Hi(halfShift);
    if (Lo(halfShift) != 0)
        root = MulR(root, kSqrtHalf);
    const int32_t l = LMul(rq, root);
    const int16_t shift = Norm32(l);
    out->man = Round(LShl(l, shift));
    out->shift = Add(rootShift, shift);
}

int16_t SquareRoot(int32_t v)
{
    // Taylor series of sqrt(1 + x) around 1 on a normalised input.
    int32_t t1 = LSub(LShr(v, 1), 0x40000000);
    const int16_t x = Hi(t1);
    t1 = LSub(t1, kMin32);
    int32_t t0 = LMsu(0, x, x);
    int16_t x2 = Hi(t0);
    t0 = LAdd(t1, LShr(t0, 1));
    t1 = LMsu(0, x, x2);
    const int16_t x3 = Hi(t1);
    t1 = LAdd(t0, LShr(t1, 1));
    const int16_t x4 = Round(LMul(x, x3));
    x2 = Round(LMsu(0, x2, x3));
    t1 = LAdd(LMsu(0, 0x5000, x4), t1);
    return MacR(t1, 0x7000, x2);
}

int16_t Energy(const int16_t* in, int32_t* out)
{
    int32_t sum = LMul(in[0], in[0]);
    for (int i = 1; i < kSub; ++i)
        sum = LMac(sum, in[i], in[i]);
    if (sum == 0) {
        *out = 0;
        return 0;
    }
    const int16_t shift = Norm32(sum);
    *out = LShl(sum, shift);
    return shift;
}

int16_t EnergyScaled(const int16_t* in, int16_t energyShift, int32_t* out)
{
    int32_t sum;
    if (Sub(energyShift, 1) <= 0) {
        sum = LMul(in[0], Shr(in[0], energyShift));
        for (int i = 1; i < kSub; ++i)
            sum = LMac(sum, in[i], Shr(in[i], energyShift));
    } else {
        const int16_t inputShift = ShrRound(energyShift, -1);
        energyShift = Shl(inputShift, 1);
        int16_t t = Shr(in[0], inputShift);
        sum = LMul(t, t);
        for (int i = 1; i < kSub; ++i) {
            t = Shr(in[i], inputShift);
            sum = LMac(sum, t, t);
        }
    }
    if (sum == 0) {
        *out = 0;
        return 0;
    }
    const int16_t shift = Norm32(sum);
    *out = LShl(sum, shift);
    return Sub(shift, energyShift);
}

int16_t Correlation(const int16_t* a, const int16_t* b, int32_t* out)
{
    int32_t sum = LMul(a[0], b[0]);
    for (int i = 1; i < kSub; ++i)
        sum = LMac(sum, a[i], b[i]);
    if (sum == 0) {
        *out = 0;
        return 0;
    }
    const int16_t shift = Norm32(sum);
    *out = LShl(sum, shift);
    return shift;
}

void SplitLag(int16_t lag, int16_t* whole, int16_t* phase)
{
    int32_t l = LMul(0x1555, lag);
    int16_t ip = Hi(l);
    int16_t t = static_cast<int16_t>(Shr(Lo(l), 1) & kMax16);
    t = Round(LMul(t, 6));
    if (Sub(t, 6) == 0) {
        *phase = 0;
        *whole = Add(ip, 1);
    } else {
        *phase = t;
        *whole = ip;
    }
}

void PitchVector(int16_t lag, int16_t* st)
{
    int16_t running = lag;
    int done = 0;
    while (done < kSub) {
        int16_t ip, phase;
        SplitLag(running, &ip, &phase);
        const int count = Sub(ip, kSub) < 0 ? ip - done : kSub - done;
        if (phase == 0) {
            for (int i = done; i < done + count; ++i)
                st[i] = st[i - ip];
        } else {
            for (int i = done; i < done + count; ++i) {
                int32_t l = LMac(32768, st[i - ip - 5], kGsmHrPitchInterp[0][phase]);
                for (int j = 1; j < 9; ++j)
                    l = LMac(l, st[i - ip - 5 + j], kGsmHrPitchInterp[j][phase]);
                st[i] = Hi(LMac(l, st[i - ip + 4], kGsmHrPitchInterp[9][phase]));
            }
        }
        done += count;
        running = Add(running, lag);
    }
}

void CodeBits(int16_t code, int bits, int16_t* signs)
{
    for (int i = 0; i < bits; ++i) {
        signs[i] = (code & 1) ? int16_t(0x4000) : int16_t(-0x4000);
        code = Shr(code, 1);
    }
}

void BuildCodeVector(const int16_t* basis, int16_t* out, const int16_t* signs, int bits)
{
    for (int s = 0; s < kSub; ++s) {
        int32_t l = LMul(signs[0], basis[s]);
        for (int c = 1; c < bits; ++c)
            l = LMac(l, signs[c], basis[c * kSub + s]);
        out[s] = Hi(LShl(l, 1));
    }
}

namespace {
void SqrtRatioFromEnergy(int16_t normShift, int32_t energy, Norm sqrtRs, Norm* out)
{
    int16_t root = SquareRoot(energy);
    int32_t l;
    if (normShift & 1) {
        normShift = Sub(normShift, 1);
        l = LMul(kSqrtHalf, root);
    } else {
        l = ToHi(root);
    }
    int16_t shift = Norm32(l);
    normShift = Add(Shr(normShift, 1), shift);
    l = LShl(l, shift);
    const int16_t quotient = Div(Shr(sqrtRs.man, 1), Round(l));
    normShift = Sub(Sub(sqrtRs.shift, normShift), 1);
    shift = Norm16(quotient);
    out->shift = Add(normShift, shift);
    out->man = Shl(quotient, shift);
}
} // namespace

void SqrtRatio(const int16_t* excitation, Norm sqrtRs, Norm* out)
{
    const int16_t energyShift = Sub(Shl(sqrtRs.shift, 1), 3);
    int32_t energy;
    int16_t normShift;
    if (energyShift < 0)
        normShift = EnergyScaled(excitation, Neg(energyShift), &energy);
    else
        normShift = Energy(excitation, &energy);
    SqrtRatioFromEnergy(normShift, energy, sqrtRs, out);
}

void SqrtRatioPlain(const int16_t* excitation, Norm sqrtRs, Norm* out)
{
    int32_t energy;
    const int16_t normShift = Energy(excitation, &energy);
    SqrtRatioFromEnergy(normShift, energy, sqrtRs, out);
}

int16_t ScaleExcitation(const int16_t* in, int16_t errorTerm, Norm rs, int16_t* out)
{
    int32_t gainUs = LMul(errorTerm, rs.man);
    const int16_t usShift = Norm16(Hi(gainUs));
    gainUs = LShl(gainUs, usShift);
    int16_t gainShift = Add(usShift, rs.shift);
    gainShift = Sub(gainShift, 1);
    int16_t gain;
    if (gainShift < 0) {
        // gain above one: scale in 32 bits, then shift up
        const int16_t g = Round(gainUs);
        const int32_t roundOff = LShl(32768, gainShift);
        for (int i = 0; i < kSub; ++i)
            out[i] = Hi(LShr(LMac(roundOff, g, in[i]), gainShift));
        gain = gainShift == 0 ? g : kMax16;
    } else {
        if (gainShift > 0)
            gainUs = LShr(gainUs, gainShift);
        gain = Round(gainUs);
        for (int i = 0; i < kSub; ++i)
            out[i] = Hi(LMac(32768, gain, in[i]));
    }
    return gain;
}

bool InterpolateCheck(const int16_t* refRc, const int16_t* refA, const int16_t* oldA, const int16_t* newA,
                      int16_t oldShare, int16_t newShare, int16_t rq, Norm* sqrtRs, int16_t* outA)
{
    int16_t rc[kOrder];
    for (int i = 0; i < kOrder; ++i)
        outA[i] = MacR(LMul(newA[i], newShare), oldA[i], oldShare);
    if (DirectToRc(kAShift, outA, rc)) {
        ResidualEnergy(refRc, rq, sqrtRs);
        std::copy(refA, refA + kOrder, outA);
        return false;
    }
    ResidualEnergy(rc, rq, sqrtRs);
    return true;
}

int16_t R0EnergyShift(int16_t r0)
{
    int16_t shift;
    if (Sub(r0, 26) <= 0) {
        if (Sub(r0, 23) <= 0)
            shift = Sub(r0, 21) <= 0 ? 0 : 1;
        else
            shift = Sub(r0, 24) <= 0 ? 2 : 3;
    } else {
        if (Sub(r0, 28) <= 0)
            shift = 4;
        else
            shift = Sub(r0, 29) <= 0 ? 5 : 6;
    }
    if (Sub(r0, 18) > 0)
        shift = Add(shift, 2);
    return shift;
}

void LookupRc(const int16_t* codes, int16_t* rc)
{
    for (int k = 0; k < 3; ++k) {
        rc[k] = kGsmHrRcLevels[kGsmHrRcVq1[codes[0] & 0x7ff][k]];
        rc[3 + k] = kGsmHrRcLevels[kGsmHrRcVq2[codes[1] & 0x1ff][k]];
    }
    for (int k = 0; k < 4; ++k)
        rc[6 + k] = kGsmHrRcLevels[kGsmHrRcVq3[codes[2] & 0xff][k]];
}

} // namespace gsmhr

namespace gsmhr {

int16_t QuantiseLag(int16_t rawLag, int16_t* code)
{
    int16_t low = 0;
    int16_t step = Shr(256, 1);
    int16_t probe = step;
    step = Shr(step, 1);
    while (Sub(probe, low) != 0) {
        if (Sub(rawLag, kGsmHrLags[probe]) >= 0)
            low = probe;
        probe = Add(low, step);
        step = Shr(step, 1);
    }
    *code = probe;
    return kGsmHrLags[probe];
}

// Index of the largest C*|C|/G, skipping non-positive G after the first.
int16_t BestSignedRatio(const int16_t* c, const int16_t* g, int16_t* ccMax, int16_t* gMax, int count)
{
    int16_t best = 0;
    int16_t bestG = g[0];
    int16_t bestCc = c[0] < 0 ? Neg(MulR(c[0], c[0])) : MulR(c[0], c[0]);
    for (int i = 1; i < count; ++i) {
        if (g[i] > 0) {
            int16_t cc = MulR(c[i], c[i]);
            if (c[i] < 0)
                cc = Neg(cc);
            int32_t l = LMul(cc, bestG);
            l = LMsu(l, g[i], bestCc);
            if (l > 0) {
                bestG = g[i];
                bestCc = cc;
                best = static_cast<int16_t>(i);
            }
        }
    }
    *gMax = bestG;
    *ccMax = bestCc;
    return best;
}

} // namespace gsmhr
