// Frame analysis of the encoder: high-pass filter, covariance lattice
// analysis, the three-stage reflection-coefficient vector quantiser searched
// through the lattice recursion, per-subframe filter interpolation and the
// perceptual weighting of the frame.
#include "GsmHrEncoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>

using namespace fx;
using namespace gsmhr;

namespace {

constexpr int kAflat = 4;       // longest vector quantiser segment
constexpr int16_t kCvShift = 2; // headroom of the covariance matrices
constexpr int16_t kRShift = 2;  // headroom of the lattice initial conditions
constexpr int32_t kRoundHalf = 0x8000;

// One biquad of the high-pass filter, run on sample pairs; y state is kept in
// double precision (high word, low 14 bits).
void Biquad(const int16_t* c, int16_t* io, int16_t* x, int16_t* y, int16_t preShift, int16_t postShift)
{
    int16_t y0 = y[0], y1 = y[1], y2 = y[2], y3 = y[3];
    int16_t x0 = x[0], x1 = x[1];
    for (int n = 0; n < kFrame; n += 2) {
        const int16_t in0 = Shr(io[n], preShift);
        const int16_t in1 = Shr(io[n + 1], preShift);

        int32_t b = LMul(y1, c[3]);
        b = LMac(b, y3, c[4]);
        b = LShr(b, 14);
        b = LMac(b, y0, c[3]);
        b = LMac(b, y2, c[4]);
        int32_t a = LMac(b, c[0], x0);
        a = LMac(a, c[1], x1);
        a = LMac(a, c[2], in0);
        a = LShl(a, 1);
        x0 = in0;
        y0 = Hi(a);
        y1 = static_cast<int16_t>(0x3fff & Shr(Lo(a), 2));
        io[n] = Round(LShl(a, postShift));

        b = LMul(y3, c[3]);
        b = LMac(b, y1, c[4]);
        b = LShr(b, 14);
        b = LMac(b, y2, c[3]);
        b = LMac(b, y0, c[4]);
        a = LMac(b, c[0], x1);
        a = LMac(a, c[1], x0);
        a = LMac(a, c[2], in1);
        a = LShl(a, 1);
        x1 = in1;
        y2 = Hi(a);
        y3 = static_cast<int16_t>(0x3fff & Shr(Lo(a), 2));
        io[n + 1] = Round(LShl(a, postShift));
    }
    y[0] = y0;
    y[1] = y1;
    y[2] = y2;
    y[3] = y3;
    x[0] = x0;
    x[1] = x1;
}

using Matrix = int32_t[kOrder][kOrder][2];

// Forward, backward and cross covariances of the window with end-point
// correction and lag windowing; returns the power's shift count. The voice
// activity detector takes the frame's autocorrelation (lags 0-8) from the same
// scaled signal, with the signal's shift count.
int16_t Covariances(const int16_t* in, Matrix& bm, Matrix& fm, Matrix& cm, int32_t* r0, GsmHrVadInput* vad)
{
    int32_t maxPower = 0;
    int32_t power = 0x117f0b;
    for (int i = 0; i < kFrame; ++i) {
        const int16_t t = Shr(in[i], 3);
        power = LMac(power, t, t);
    }
    maxPower |= power;
    for (int i = 1; i <= kOrder; ++i) {
        int16_t t = Shr(in[i - 1], 3);
        power = LMsu(power, t, t);
        t = Shr(in[kFrame + i - 1], 3);
        power = LMac(power, t, t);
        maxPower |= power;
    }
    int16_t norm = Sub(6, Norm32(maxPower));
    int16_t sigShift = 0;
    if (norm >= 0)
        sigShift = Add(Shr(Add(norm, 1), 1), 1);
    int16_t powShift = Shl(sigShift, 1);

    int16_t s[kFrame + kOrder];
    for (int i = 0; i < kFrame + kOrder; ++i)
        s[i] = Shr(in[i], sigShift);

    int32_t phi[kOrder + 1];
    power = LMul(s[kOrder], s[kOrder]);
    for (int n = 1; n < kFrame; ++n)
        power = LMac(power, s[kOrder + n], s[kOrder + n]);
    phi[0] = power;
    vad->scale = sigShift;
    vad->acf[0] = power;
    for (int i = 1; i <= kOrder; ++i) {
        power = LMsu(power, s[kOrder + kFrame - i], s[kOrder + kFrame - i]);
        power = LMac(power, s[kOrder - i], s[kOrder - i]);
        phi[i] = power;
    }
    int32_t orAll = 0;
    for (int i = 0; i <= kOrder; ++i)
        orAll |= phi[i];
    const int16_t phiNorm = Norm32(orAll);
    powShift = Sub(powShift, phiNorm);

    const int16_t halfShift = Sub(phiNorm, 1);
    *r0 = LAdd(LShl(phi[kOrder], halfShift), LShl(phi[0], halfShift));
    if (!(*r0 & 0x40000000)) {
        *r0 = LShl(*r0, 1);
        powShift = Sub(powShift, 1);
    }

    norm = Sub(phiNorm, kCvShift);
    fm[0][0][0] = LShl(phi[0], norm);
    for (int i = 1; i <= kOrder - 1; ++i) {
        const int32_t t = LShl(phi[i], norm);
        fm[i][i][0] = t;
        bm[i - 1][i - 1][0] = t;
        cm[i][i - 1][0] = t;
    }
    bm[kOrder - 1][kOrder - 1][0] = LShl(phi[kOrder], norm);

    for (int k = 1; k <= kOrder - 1; ++k) {
        power = LMul(s[kOrder], s[kOrder - k]);
        for (int n = 1; n < kFrame; ++n)
            power = LMac(power, s[kOrder + n], s[kOrder + n - k]);
        if (k < GsmHrVadInput::kLags) {
            // the covariance less its first k products is the autocorrelation
            int32_t acf = power;
            for (int kk = 0; kk < k; ++kk)
                acf = LMsu(acf, s[kOrder + kk], s[kOrder + kk - k]);
            vad->acf[k] = acf;
        }
        int32_t t = LMul32x32(LShl(power, norm), kGsmHrFlatSmoothing[k - 1]);
        fm[0][k][0] = t;
        cm[0][k - 1][0] = t;
        for (int kk = k + 1, i = 1; kk <= kOrder - 1; ++kk, ++i) {
            power = LMsu(power, s[kOrder + kFrame - i], s[kOrder + kFrame - kk]);
            power = LMac(power, s[kOrder - i], s[kOrder - kk]);
            t = LMul32x32(LShl(power, norm), kGsmHrFlatSmoothing[k - 1]);
            fm[i][kk][0] = t;
            bm[i - 1][kk - 1][0] = t;
            cm[i][kk - 1][0] = t;
            cm[kk][i - 1][0] = t;
        }
        power = LMsu(power, s[kFrame + k], s[kFrame]);
        power = LMac(power, s[k], s[0]);
        t = LMul32x32(LShl(power, norm), kGsmHrFlatSmoothing[k - 1]);
        bm[kOrder - k - 1][kOrder - 1][0] = t;
        cm[kOrder - k][kOrder - 1][0] = t;
    }
    power = LMul(s[kOrder], s[0]);
    for (int n = 1; n < kFrame; ++n)
        power = LMac(power, s[kOrder + n], s[n]);
    cm[0][kOrder - 1][0] = LMul32x32(LShl(power, norm), kGsmHrFlatSmoothing[kOrder - 1]);
    return powShift;
}

} // namespace

int16_t GsmHrQuantiseR0(int32_t r0)
{
    const int16_t value = Round(r0);
    for (int16_t index = 0; index < 31; ++index) {
        if (Sub(value, kGsmHrR0Levels[2 * index + 1]) < 0)
            return index;
    }
    return 31;
}

namespace {

// Unquantised reflection coefficients by the fixed-point lattice technique;
// returns the R0 index and gives the unquantised frame energy.
int16_t FlatLattice(const int16_t* in, int16_t* rc, int32_t* unquantisedR0, GsmHrVadInput* vad)
{
    Matrix F = {}, B = {}, C = {};
    int32_t r0;
    int16_t rShifts = Covariances(in, B, F, C, &r0, vad);

    const int16_t root = r0 != 0 ? SquareRoot(r0) : int16_t(0);
    rShifts = Sub(6 + 2, rShifts);
    int32_t t = (rShifts & 1) ? LMul(root, 0x5a82) : ToHi(root);
    rShifts = Shr(rShifts, 1);
    if (rShifts > 0)
        t = LShr(t, rShifts);
    else if (rShifts < 0)
        t = 0;
    const int16_t r0Index = GsmHrQuantiseR0(t);
    *unquantisedR0 = t;

    int16_t shift = 0;
    for (int j = 0; j < kOrder; ++j) {
        const int j0 = (j + 1) % 2;
        const int j1 = j % 2;
        const int e = kOrder - j - 1;
        int32_t num = LAdd(LShl(C[0][0][j1], shift), LShl(C[e][e][j1], shift));
        int32_t den = LAdd(LShl(F[0][0][j1], shift), LShl(B[0][0][j1], shift));
        const int32_t tmpA = LAdd(LShl(F[e][e][j1], shift), LShl(B[e][e][j1], shift));
        den = LShr(LAdd(tmpA, den), 1);
        const int16_t s1 = Norm16(Hi(den));
        den = LShl(den, s1);
        num = LShl(num, s1);
        int16_t n16 = Round(num);
        const int16_t d16 = Round(den);
        if (d16 <= 0 || Sub(Abs(n16), d16) >= 0) {
            std::fill(rc + j, rc + kOrder, int16_t(0));
            return r0Index;
        }
        if (n16 < 0) {
            n16 = Neg(n16);
            rc[j] = Div(n16, d16);
        } else {
            rc[j] = Neg(Div(n16, d16));
        }
        if (j == kOrder - 1)
            break;

        const int16_t k = rc[j];
        const int16_t kSq = MulR(k, k);
        int i = 0;
        int kk = 0;
        int32_t cik = LShl(C[i][kk][j1], shift);
        int32_t ta = LMul32x16(LAdd(cik, cik), k);
        int32_t fik = LShl(F[i][kk][j1], shift);
        int32_t bik = LShl(B[i][kk][j1], shift);
        F[i][kk][j0] = LAdd(LAdd(LMul32x16(bik, kSq), fik), ta);
        for (kk = i + 1; kk <= kOrder - j - 2; ++kk) {
            cik = LShl(C[i][kk][j1], shift);
            const int32_t cki = LShl(C[kk][i][j1], shift);
            ta = LMul32x16(LAdd(cik, cki), k);
            bik = LShl(B[i][kk][j1], shift);
            fik = LShl(F[i][kk][j1], shift);
            const int32_t tb = LMul32x16(LAdd(bik, fik), k);
            F[i][kk][j0] = LAdd(LAdd(LMul32x16(bik, kSq), fik), ta);
            C[i][kk - 1][j0] = LAdd(LAdd(LMul32x16(cki, kSq), cik), tb);
        }
        kk = kOrder - j - 1;
        bik = LShl(B[i][kk][j1], shift);
        fik = LShl(F[i][kk][j1], shift);
        int32_t tb = LMul32x16(LAdd(bik, fik), k);
        cik = LShl(C[i][kk][j1], shift);
        int32_t cki = LShl(C[kk][i][j1], shift);
        C[i][kk - 1][j0] = LAdd(LAdd(LMul32x16(cki, kSq), cik), tb);

        for (i = 1; i <= kOrder - j - 2; ++i) {
            kk = i;
            cik = LShl(C[i][kk][j1], shift);
            ta = LMul32x16(LAdd(cik, cik), k);
            bik = LShl(B[i][kk][j1], shift);
            fik = LShl(F[i][kk][j1], shift);
            tb = LMul32x16(LAdd(bik, fik), k);
            F[i][kk][j0] = LAdd(LAdd(LMul32x16(bik, kSq), fik), ta);
            B[i - 1][kk - 1][j0] = LAdd(LAdd(LMul32x16(fik, kSq), bik), ta);
            C[i][kk - 1][j0] = LAdd(LAdd(LMul32x16(cik, kSq), cik), tb);
            for (kk = i + 1; kk <= kOrder - j - 2; ++kk) {
                cik = LShl(C[i][kk][j1], shift);
                cki = LShl(C[kk][i][j1], shift);
                ta = LMul32x16(LAdd(cik, cki), k);
                bik = LShl(B[i][kk][j1], shift);
                fik = LShl(F[i][kk][j1], shift);
                tb = LMul32x16(LAdd(bik, fik), k);
                F[i][kk][j0] = LAdd(LAdd(LMul32x16(bik, kSq), fik), ta);
                B[i - 1][kk - 1][j0] = LAdd(LAdd(LMul32x16(fik, kSq), bik), ta);
                C[i][kk - 1][j0] = LAdd(LAdd(LMul32x16(cki, kSq), cik), tb);
                C[kk][i - 1][j0] = LAdd(LAdd(LMul32x16(cik, kSq), cki), tb);
            }
            kk = kOrder - j - 1;
            cik = LShl(C[i][kk][j1], shift);
            cki = LShl(C[kk][i][j1], shift);
            ta = LMul32x16(LAdd(cik, cki), k);
            bik = LShl(B[i][kk][j1], shift);
            fik = LShl(F[i][kk][j1], shift);
            tb = LMul32x16(LAdd(bik, fik), k);
            B[i - 1][kk - 1][j0] = LAdd(LAdd(LMul32x16(fik, kSq), bik), ta);
            C[i][kk - 1][j0] = LAdd(LAdd(LMul32x16(cki, kSq), cik), tb);
        }
        i = kOrder - j - 1;
        for (kk = i; kk <= kOrder - j - 1; ++kk) {
            cik = LShl(C[i][kk][j1], shift);
            ta = LMul32x16(LAdd(cik, cik), k);
            bik = LShl(B[i][kk][j1], shift);
            fik = LShl(F[i][kk][j1], shift);
            B[i - 1][kk - 1][j0] = LAdd(LAdd(LMul32x16(fik, kSq), bik), ta);
        }

        int32_t diag = 0;
        for (int l = 0; l <= kOrder - j - 2; ++l) {
            diag |= F[l][l][j0];
            diag |= B[l][l][j0];
        }
        shift = diag > 0 ? Sub(Norm32(diag), kCvShift) : int16_t(0);
    }
    return r0Index;
}

// The stages of the vector quantiser: segment position (0-based), length,
// pre-quantiser and quantiser tables.
struct Segment
{
    int first;
    int length;
    int preCount;
    int perPre; // quantiser vectors behind one pre-quantiser vector
};
constexpr Segment kSegments[3] = {{0, 3, 64, 32}, {3, 3, 32, 16}, {6, 4, 16, 16}};

void SegmentVector(int seg, bool pre, int index, int16_t* out)
{
    const uint8_t* row;
    if (seg == 0)
        row = pre ? kGsmHrRcPreVq1[index] : kGsmHrRcVq1[index];
    else if (seg == 1)
        row = pre ? kGsmHrRcPreVq2[index] : kGsmHrRcVq2[index];
    else
        row = pre ? kGsmHrRcPreVq3[index] : kGsmHrRcVq3[index];
    for (int k = 0; k < kSegments[seg].length; ++k)
        out[k] = kGsmHrRcLevels[row[k]];
}

// Residual energy of a candidate segment vector from the P/V initial
// conditions (V indexed -3..3); flags a possible limiter overflow.
int16_t LatticeError(const int16_t* rc, const int16_t* pBar, const int16_t* vBar, int order, bool* limit)
{
    int16_t pSpace[2][kAflat], vSpace[2][2 * kAflat - 1];
    const int16_t* pOld = pBar;
    const int16_t* vOld = vBar;
    int16_t* pNew = pSpace[1];
    int16_t* vNew = vSpace[1] + kAflat - 1;
    int16_t rcSq[kAflat];
    for (int j = 0; j < order; ++j)
        rcSq[j] = MulR(rc[j], rc[j]);
    for (int j = 0; j < order - 1; ++j) {
        const int bound = order - j - 2;
        for (int i = 0; i <= bound; ++i) {
            int32_t sum = LMac(kRoundHalf, vOld[i], rc[j]);
            sum = LMac(sum, vOld[-i], rc[j]);
            sum = LMac(sum, pOld[i], rcSq[j]);
            sum = LMsu(sum, pOld[i], kMin16);
            pNew[i] = Hi(sum);
        }
        if (Sub(pNew[0], 0x4000) >= 0)
            *limit = true;
        for (int i = -bound; i < 0; ++i) {
            int32_t sum = LMsu(kRoundHalf, vOld[i + 1], kMin16);
            sum = LMac(sum, rcSq[j], vOld[-i - 1]);
            sum = LMac(sum, rc[j], pOld[-i - 1]);
            sum = LMac(sum, rc[j], pOld[-i - 1]);
            vNew[i] = Hi(sum);
        }
        for (int i = 0; i <= bound; ++i) {
            int32_t sum = LMsu(kRoundHalf, vOld[i + 1], kMin16);
            sum = LMac(sum, rcSq[j], vOld[-i - 1]);
            sum = LMac(sum, rc[j], pOld[i + 1]);
            sum = LMac(sum, rc[j], pOld[i + 1]);
            vNew[i] = Hi(sum);
        }
        if (j < order - 2) {
            pOld = pSpace[(j + 1) % 2];
            pNew = pSpace[j % 2];
            vOld = vSpace[(j + 1) % 2] + kAflat - 1;
            vNew = vSpace[j % 2] + kAflat - 1;
        }
    }
    const int j = order - 1;
    int32_t sum = LMac(kRoundHalf, vNew[0], rc[j]);
    sum = LMac(sum, vNew[0], rc[j]);
    sum = LMac(sum, pNew[0], rcSq[j]);
    sum = LMsu(sum, pNew[0], kMin16);
    return Hi(sum);
}

// Carries the full-order P/V conditions through a chosen segment vector and
// derives the short conditions of the next segment.
void AdvanceConditions(const int16_t* rc, int seg, int32_t* pFull, int32_t* vFull, int16_t* pBar, int16_t* vBar)
{
    int32_t pSpace[2][kOrder], vSpace[2][2 * kOrder - 1];
    int32_t* pOld = pFull;
    int32_t* vOld = vFull;
    int32_t* pNew = pSpace[1];
    int32_t* vNew = vSpace[1] + kOrder - 1;
    const int length = kSegments[seg].length;
    for (int j = 0; j < length; ++j) {
        const int bound = kOrder - (kSegments[seg].first + 1) - j - 1;
        const int16_t k = rc[j];
        const int16_t kSq = MulR(k, k);
        int32_t sum = LAdd(LMul32x16(vOld[0], k), pOld[0]);
        sum = LAdd(LMul32x16(pOld[0], kSq), sum);
        int32_t t = LAdd(sum, LMul32x16(vOld[0], k));
        const int16_t nShift = Sub(Norm16(Hi(t)), kRShift);
        pNew[0] = LShl(t, nShift);
        for (int i = 1; i <= bound; ++i) {
            sum = LAdd(LMul32x16(vOld[i], k), pOld[i]);
            sum = LAdd(LMul32x16(pOld[i], kSq), sum);
            t = LAdd(sum, LMul32x16(vOld[-i], k));
            pNew[i] = LShl(t, nShift);
        }
        for (int i = -bound; i < 0; ++i) {
            sum = LAdd(LMul32x16(vOld[-i - 1], kSq), vOld[i + 1]);
            t = LShl(LMul32x16(pOld[-i - 1], k), 1);
            vNew[i] = LShl(LAdd(t, sum), nShift);
        }
        for (int i = 0; i <= bound; ++i) {
            sum = LAdd(LMul32x16(vOld[-i - 1], kSq), vOld[i + 1]);
            t = LShl(LMul32x16(pOld[i + 1], k), 1);
            vNew[i] = LShl(LAdd(t, sum), nShift);
        }
        if (j < length - 2) {
            pOld = pSpace[(j + 1) % 2];
            pNew = pSpace[j % 2];
            vOld = vSpace[(j + 1) % 2] + kOrder - 1;
            vNew = vSpace[j % 2] + kOrder - 1;
        } else if (j == length - 2) {
            pOld = pSpace[(j + 1) % 2];
            pNew = pFull;
            vOld = vSpace[(j + 1) % 2] + kOrder - 1;
            vNew = vFull;
        }
    }
    const int bound = kSegments[seg + 1].length - 1;
    for (int i = 0; i <= bound; ++i) {
        pBar[i] = Round(pFull[i]);
        vBar[i] = Round(vFull[i]);
    }
    for (int i = -bound; i < 0; ++i)
        vBar[i] = Round(vFull[i]);
}

struct Candidate
{
    int index = 0;
    int16_t error = kMax16;
};

// Keeps the `count` smallest errors in order; a later equal error does not
// displace an earlier one.
void KeepBest(const int16_t* errors, int num, int baseIndex, int count, Candidate* best)
{
    for (int b = 0; b < count; ++b) {
        best[b].index = baseIndex;
        best[b].error = kMax16;
    }
    for (int q = 0; q < num; ++q) {
        int b = 0;
        while (b < count && Sub(errors[q], best[b].error) >= 0)
            ++b;
        if (b < count) {
            for (int i = count - 1; i > b; --i)
                best[i] = best[i - 1];
            best[b].error = errors[q];
            best[b].index = baseIndex + q;
        }
    }
}

} // namespace

void GsmHrEncoder::HighPass(int16_t* io)
{
    Biquad(&kGsmHrHighPass[0], io, &m_hpX[0], &m_hpY[0], 1, 0);
    Biquad(&kGsmHrHighPass[5], io, &m_hpX[2], &m_hpY[4], 0, 1);
}

int16_t GsmHrEncoder::AnalyseLpc(const int16_t* window, int16_t* flatRc, int32_t* corr, int32_t* unquantisedR0,
                                 GsmHrVadInput* vad)
{
    const int16_t r0Index = FlatLattice(window, flatRc, unquantisedR0, vad);
    RcToAutocorr(kAShift, kAScale, flatRc, corr);
    return r0Index;
}

void GsmHrQuantiseCorrelation(const int32_t* corr, int16_t* finalRc, int16_t* vqCodes)
{
    int32_t pFull[kOrder];
    int32_t vFullSpace[2 * kOrder - 1];
    int32_t* vFull = vFullSpace + kOrder - 1;
    for (int i = 0; i <= kOrder - 1; ++i)
        pFull[i] = LShr(corr[i], kRShift);
    for (int i = -(kOrder - 1); i < 0; ++i)
        vFull[i] = pFull[-i - 1];
    for (int i = 0; i < kOrder - 1; ++i)
        vFull[i] = pFull[i + 1];
    vFull[kOrder - 1] = LShr(corr[kOrder], kRShift);

    int16_t pBar[kAflat];
    int16_t vBarSpace[2 * kAflat - 1];
    int16_t* vBar = vBarSpace + kAflat - 1;
    for (int i = 0; i <= 2; ++i)
        pBar[i] = Round(pFull[i]);
    for (int i = -2; i < 0; ++i)
        vBar[i] = pBar[-i - 1];
    for (int i = 0; i < 2; ++i)
        vBar[i] = pBar[i + 1];
    vBar[2] = Round(pFull[3]);

    int16_t errors[64];
    int16_t vec[kAflat];
    for (int seg = 0; seg < 3; ++seg) {
        const Segment& sg = kSegments[seg];
        for (int q = 0; q < sg.preCount; ++q) {
            SegmentVector(seg, true, q, vec);
            bool limit = false;
            errors[q] = LatticeError(vec, pBar, vBar, sg.length, &limit);
            if (limit)
                errors[q] = kMax16;
        }
        Candidate pre[4];
        KeepBest(errors, sg.preCount, 0, 4, pre);

        Candidate chosen;
        for (int v = 0; v < 4; ++v) {
            const int base = pre[v].index * sg.perPre;
            for (int q = 0; q < sg.perPre; ++q) {
                SegmentVector(seg, false, base + q, vec);
                bool limit = false;
                errors[q] = LatticeError(vec, pBar, vBar, sg.length, &limit);
                if (limit)
                    errors[q] = kMax16;
            }
            Candidate best;
            KeepBest(errors, sg.perPre, base, 1, &best);
            if (v == 0 || Sub(chosen.error, best.error) > 0)
                chosen = best;
        }
        SegmentVector(seg, false, chosen.index, finalRc + sg.first);
        vqCodes[seg] = static_cast<int16_t>(chosen.index);
        if (seg < 2)
            AdvanceConditions(finalRc + sg.first, seg, pFull, vFull, pBar, vBar);
    }
}

int16_t GsmHrEncoder::SubframeFilters(int16_t newR0, const int16_t* newKs, const int16_t* newAs, const int16_t* newSnw,
                                      Norm* sqrtRs, int16_t synthAs[][kOrder], int16_t snwAs[][kOrder])
{
    // Subframes 1-3 blend last frame's filter into this one's where the blend
    // is stable; subframe 4 always takes this frame's.
    for (int sub = 0; sub < kSubframes - 1; ++sub) {
        const bool stable = InterpolateCheck(sub == 0 ? m_oldKs : newKs, sub == 0 ? m_oldAs : newAs, m_oldAs, newAs,
                                             kGsmHrOldShare[sub], kGsmHrNewShare[sub], sub == 0 ? m_oldR0 : newR0,
                                             &sqrtRs[sub], synthAs[sub]);
        for (int i = 0; i < kOrder; ++i) {
            if (stable)
                snwAs[sub][i] = MacR(LMul(newSnw[i], kGsmHrNewShare[sub]), m_oldSnw[i], kGsmHrOldShare[sub]);
            else
                snwAs[sub][i] = sub == 0 ? m_oldSnw[i] : newSnw[i];
        }
    }
    for (int i = 0; i < kOrder; ++i) {
        snwAs[3][i] = newSnw[i];
        synthAs[3][i] = newAs[i];
    }
    ResidualEnergy(newKs, newR0, &sqrtRs[3]);

    const bool interpolate = ResidualPrefersInterpolation(synthAs, newAs, sqrtRs);
    if (!interpolate) {
        for (int i = 0; i < kOrder; ++i) {
            snwAs[0][i] = m_oldSnw[i];
            synthAs[0][i] = m_oldAs[i];
        }
        ResidualEnergy(m_oldKs, m_oldR0, &sqrtRs[0]);
        ResidualEnergy(newKs, newR0, &sqrtRs[1]);
        sqrtRs[2] = sqrtRs[1];
        sqrtRs[3] = sqrtRs[1];
        for (int sub = 1; sub < kSubframes; ++sub) {
            for (int i = 0; i < kOrder; ++i) {
                snwAs[sub][i] = newSnw[i];
                synthAs[sub][i] = newAs[i];
            }
        }
    }
    return interpolate ? 1 : 0;
}

bool GsmHrEncoder::ResidualPrefersInterpolation(int16_t interpAs[][kOrder], const int16_t* newAs, const Norm* sqrtRs)
{
    // Compare the frame's residual energy through the interpolated filters
    // with that through the plain ones (which also advance the analysis state).
    int16_t minShift = kMax16;
    for (int i = 0; i < kSubframes; ++i) {
        if (Sub(sqrtRs[i].shift, minShift) < 0 && sqrtRs[i].man > 0)
            minShift = sqrtRs[i].shift;
    }
    bool overflowPossible = true;
    int16_t factor = 0;
    if (Sub(minShift, 1) >= 0)
        overflowPossible = false;
    else if (minShift == 0)
        factor = 0x4000;
    else if (Sub(minShift, -1) == 0)
        factor = 0x2000;
    else
        factor = 0x1000;

    int16_t state[kOrder];
    std::copy(m_analysisState, m_analysisState + kOrder, state);
    int16_t residual[kSub];
    int32_t energy = 0;
    const int16_t* speech = m_speech;
    for (int sub = 0; sub < kSubframes; ++sub) {
        LpcFir(&speech[sub * kSub], interpAs[sub], state, residual);
        for (int j = 0; j < kSub; ++j) {
            const int16_t v = overflowPossible ? MulR(factor, residual[j]) : residual[j];
            energy = LMac(energy, v, v);
        }
    }
    for (int sub = 0; sub < kSubframes; ++sub) {
        const int16_t* coef = sub == 0 ? m_oldAs : newAs;
        LpcFir(&speech[sub * kSub], coef, m_analysisState, residual);
        for (int j = 0; j < kSub; ++j) {
            const int16_t v = overflowPossible ? MulR(factor, residual[j]) : residual[j];
            energy = LMsu(energy, v, v);
        }
    }
    return energy < 0;
}

void GsmHrEncoder::NoiseWeightCoefs(const int16_t* a, int16_t* h)
{
    int16_t zeros[kOrder], poles[kOrder];
    for (int i = 0; i < kOrder; ++i)
        zeros[i] = MulR(kGsmHrNoiseWeight[i], a[i]);
    for (int i = 0; i < kOrder; ++i)
        poles[i] = MsuR(0, kGsmHrNoiseWeight[i + kOrder], a[i]);
    int16_t impulse[kSub], response[kSub];
    LpcImpulseIir(a, impulse);
    LpcZeroStateFir(impulse, zeros, response);
    LpcZeroStatePoleInPlace(response, poles);

    int32_t corr[kOrder + 1];
    int32_t e;
    const int16_t shift = Energy(response, &e);
    corr[0] = e;
    for (int k = 1; k <= kOrder; ++k) {
        int32_t sum = LMul(response[0], response[k]);
        for (int n = 1; n < kSub - k; ++n)
            sum = LMac(sum, response[n], response[n + k]);
        corr[k] = LShl(sum, shift);
    }
    int16_t rc[kOrder];
    AutocorrToRc(corr, rc);
    RcToDirect(kAScale, rc, h);
}

void GsmHrEncoder::WeightFrame(int16_t numAs[][kOrder], int16_t denAs[][kOrder])
{
    for (int i = 0; i < kSearchMax; ++i)
        m_weighted[i] = m_weighted[i + kFrame];
    int16_t scratch[kFrame];
    int16_t* out = m_weighted + kSearchMax;
    for (int sub = 0; sub < kSubframes; ++sub)
        LpcFir(&m_speech[sub * kSub], numAs[sub], m_weightNumState, &scratch[sub * kSub]);
    for (int sub = 0; sub < kSubframes; ++sub)
        LpcIir(&scratch[sub * kSub], denAs[sub], m_weightDenState, &out[sub * kSub]);
}
