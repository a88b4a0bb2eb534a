#include "GsmHrVad.h"

#include "GsmHrArith.h"

using namespace fx;

namespace {

// Frames quieter than this set the threshold to a fixed level.
constexpr int16_t kQuietMan = 26250;
constexpr int16_t kQuietExp = 18;
constexpr int16_t kQuietThresholdMan = 17500;
constexpr int16_t kQuietThresholdExp = 20;
// The threshold never rises more than this above the noise energy.
constexpr int16_t kMarginMan = 27343;
constexpr int16_t kMarginExp = 27;
constexpr int32_t kStationaryLimit = 4456;
constexpr int16_t kPitchedLagPairs = 7;

// a < b for two pseudo-floats
template <typename P>
bool Less(P a, P b)
{
    return a.e < b.e || (a.e == b.e && a.m < b.m);
}

// Reflection coefficients of an autocorrelation by the Schur recursion, in
// 16-bit arithmetic; a failing step zeroes the rest.
void Schur(const int32_t* r, int16_t* k, int order)
{
    if (r[0] == 0) {
        for (int i = 0; i < order; ++i)
            k[i] = 0;
        return;
    }
    const int16_t norm = Norm32(r[0]);
    int16_t pp[9], kk[9];
    for (int i = 0; i <= order; ++i)
        pp[i] = Hi(LShl(r[i], norm));
    for (int i = 1; i < order; ++i)
        kk[order + 1 - i] = pp[i];
    for (int n = 0; n < order; ++n) {
        if (pp[0] < Abs(pp[1])) {
            for (int i = n; i < order; ++i)
                k[i] = 0;
            return;
        }
        k[n] = Div(Abs(pp[1]), pp[0]);
        if (pp[1] > 0)
            k[n] = Neg(k[n]);
        if (n == order - 1)
            return;
        pp[0] = Add(pp[0], MulR(pp[1], k[n]));
        for (int m = 1; m <= order - 1 - n; ++m) {
            pp[m] = Add(pp[1 + m], MulR(kk[order + 1 - m], k[n]));
            kk[order + 1 - m] = Add(kk[order + 1 - m], MulR(pp[1 + m], k[n]));
        }
    }
}

// Direct-form coefficients a[0..order] (a[0] = 1 in Q12) from reflection
// coefficients.
void StepUp(int order, const int16_t* k, int16_t* a)
{
    int32_t coef[9], work[9];
    coef[0] = LShl(0x4000, 15);
    coef[1] = LShl(int32_t(k[0]), 14);
    for (int m = 2; m <= order; ++m) {
        for (int i = 1; i < m; ++i)
            work[i] = LMac(coef[i], k[m - 1], Hi(coef[m - i]));
        for (int i = 1; i < m; ++i)
            coef[i] = work[i];
        coef[m] = LShl(int32_t(k[m - 1]), 14);
    }
    for (int i = 0; i <= order; ++i)
        a[i] = Hi(LShr(coef[i], 3));
}

// Autocorrelation of the filter coefficients, normalised.
void FilterAutocorr(const int16_t* a, int16_t* r, int16_t* norm)
{
    int32_t work[9];
    for (int i = 0; i <= 8; ++i) {
        work[i] = 0;
        for (int k = 0; k <= 8 - i; ++k)
            work[i] = LMac(work[i], a[k], a[k + i]);
    }
    *norm = work[0] == 0 ? int16_t(0) : Norm32(work[0]);
    for (int i = 0; i <= 8; ++i)
        r[i] = Hi(LShl(work[i], *norm));
}

// A strong low resonance (under about 385 Hz) with a small prediction error
// is a tone: information tones must not train the noise model.
bool IsTone(const int16_t* rc)
{
    int16_t a[3];
    StepUp(2, rc, a);
    const int16_t a1 = Shl(a[1], 3);
    const int32_t den = LMul(a1, a1);
    const int32_t num = LSub(LShl(ToHi(a[2]), 3), den);
    if (num <= 0)
        return false;
    if (a[1] < 0 && LMsu(num, Hi(den), 3189) < 0)
        return false;
    int16_t predErr = kMax16;
    for (int i = 0; i < 4; ++i)
        predErr = Mul(predErr, Sub(32767, Mul(rc[i], rc[i])));
    return Sub(predErr, 1464) < 0;
}

} // namespace

void GsmHrVad::Energies(const GsmHrVadInput& in, Pseudo* pvad, Pseudo* acf0) const
{
    if (in.acf[0] == 0) {
        *pvad = {0, kMin16};
        *acf0 = {0, kMin16};
        return;
    }
    const int16_t normAcf = Norm32(in.acf[0]);
    const int16_t shift = Sub(normAcf, 3);
    int16_t sacf[kOrder + 1];
    for (int i = 0; i <= kOrder; ++i)
        sacf[i] = Hi(LShl(in.acf[i], shift));

    acf0->e = Sub(Add(32, Shl(in.scale, 1)), normAcf);
    acf0->m = Shl(sacf[0], 3);

    // energy of the frame through the adaptive inverse filter
    int32_t t = 0;
    for (int i = 1; i <= kOrder; ++i)
        t = LMac(t, sacf[i], m_rvad[i]);
    t = LAdd(t, LShr(LMul(sacf[0], m_rvad[0]), 1));
    if (t <= 0)
        t = 1;
    const int16_t normProd = Norm32(t);
    pvad->e = Sub(Sub(Add(acf0->e, 14), m_normRvad), normProd);
    pvad->m = Hi(LShl(t, normProd));
}

void GsmHrVad::AverageAcf(const GsmHrVadInput& in, int32_t* av0, int32_t* av1)
{
    const int16_t scale = Sub(10, Shl(in.scale, 1));
    for (int i = 0; i <= kOrder; ++i) {
        const int32_t t = LShr(in.acf[i], scale);
        av0[i] = LAdd(m_sacf[i], t);
        av0[i] = LAdd(m_sacf[i + 9], av0[i]);
        av0[i] = LAdd(m_sacf[i + 18], av0[i]);
        m_sacf[m_sacfAt + i] = t;
        av1[i] = m_sav0[m_sav0At + i];
        m_sav0[m_sav0At + i] = av0[i];
    }
    m_sacfAt = m_sacfAt == 18 ? int16_t(0) : Add(m_sacfAt, 9);
    m_sav0At = m_sav0At == 27 ? int16_t(0) : Add(m_sav0At, 9);
}

bool GsmHrVad::Stationary(const int16_t* rav1, int16_t normRav1, const int32_t* av0)
{
    int16_t sav0[kOrder + 1];
    if (av0[0] == 0) {
        for (int i = 0; i <= kOrder; ++i)
            sav0[i] = 4095;
    } else {
        const int16_t shift = Sub(Norm32(av0[0]), 3);
        for (int i = 0; i <= kOrder; ++i)
            sav0[i] = Hi(LShl(av0[i], shift));
    }
    int32_t sump = 0;
    for (int i = 1; i <= kOrder; ++i)
        sump = LMac(sump, rav1[i], sav0[i]);

    // distance measure: partial sum over sav0[0], plus rav1[0]
    const int32_t magnitude = sump < 0 ? LNeg(sump) : sump;
    int32_t dm = 0;
    int16_t shift = 0;
    if (magnitude != 0) {
        sav0[0] = Shl(sav0[0], 3);
        shift = Norm32(magnitude);
        int16_t t = Hi(LShl(magnitude, shift));
        int32_t whole = 0;
        if (sav0[0] >= t) {
            t = Div(t, sav0[0]);
        } else {
            t = Div(Sub(t, sav0[0]), sav0[0]);
            whole = 0x8000;
        }
        dm = LShl(LAdd(whole, int32_t(t)), 1);
        if (sump < 0)
            dm = LSub(0, dm);
    }
    dm = LShl(dm, 14);
    dm = LShr(dm, shift);
    dm = LAdd(dm, LShl(int32_t(rav1[0]), 11));
    dm = LShr(dm, normRav1);

    int32_t change = LSub(dm, m_lastDm);
    m_lastDm = dm;
    if (change < 0)
        change = LNeg(change);
    return LSub(change, kStationaryLimit) < 0;
}

void GsmHrVad::AdaptThreshold(bool stationary, bool tone, const int16_t* rav1, int16_t normRav1, Pseudo pvad,
                              Pseudo acf0)
{
    if (Less(acf0, Pseudo{kQuietMan, kQuietExp})) {
        m_threshold = {kQuietThresholdMan, kQuietThresholdExp};
        return;
    }
    if (m_periodic || !stationary || tone) {
        m_adaptCount = 0;
        return;
    }
    m_adaptCount = Add(m_adaptCount, 1);
    if (m_adaptCount <= 8)
        return;

    // decay the threshold by 1/32
    m_threshold.m = Sub(m_threshold.m, Shr(m_threshold.m, 5));
    if (m_threshold.m < 0x4000) {
        m_threshold.m = Shl(m_threshold.m, 1);
        m_threshold.e = Sub(m_threshold.e, 1);
    }

    // noise energy times 3 dB
    int32_t t = LShr(LMul(pvad.m, 20889), 15);
    Pseudo scaled{0, Add(pvad.e, 1)};
    if (t > 0x7fff) {
        t = LShr(t, 1);
        scaled.e = Add(scaled.e, 1);
    }
    scaled.m = Lo(t);

    // below that: grow by 1/16, but not past it
    if (Less(m_threshold, scaled)) {
        t = LAdd(int32_t(m_threshold.m), int32_t(Shr(m_threshold.m, 4)));
        if (t > 0x7fff) {
            m_threshold.m = Lo(LShr(t, 1));
            m_threshold.e = Add(m_threshold.e, 1);
        } else {
            m_threshold.m = Lo(t);
        }
        if (Less(scaled, m_threshold))
            m_threshold = scaled;
    }

    // and never more than the margin above the noise energy
    Pseudo ceiling;
    if (pvad.e == kMarginExp) {
        ceiling.m = Lo(LShr(LAdd(int32_t(pvad.m), int32_t(kMarginMan)), 1));
        ceiling.e = Add(pvad.e, 1);
    } else if (pvad.e > kMarginExp) {
        t = LAdd(int32_t(pvad.m), int32_t(Shr(kMarginMan, Sub(pvad.e, kMarginExp))));
        if (t > 0x7fff) {
            ceiling.e = Add(pvad.e, 1);
            ceiling.m = Lo(LShr(t, 1));
        } else {
            ceiling.e = pvad.e;
            ceiling.m = Lo(t);
        }
    } else {
        t = LAdd(int32_t(kMarginMan), int32_t(Shr(pvad.m, Sub(kMarginExp, pvad.e))));
        if (t > 0x7fff) {
            ceiling.e = kMarginExp + 1;
            ceiling.m = Lo(LShr(t, 1));
        } else {
            ceiling.e = kMarginExp;
            ceiling.m = Lo(t);
        }
    }
    if (Less(ceiling, m_threshold))
        m_threshold = ceiling;

    // the noise model takes this frame's spectrum
    m_normRvad = normRav1;
    for (int i = 0; i <= kOrder; ++i)
        m_rvad[i] = rav1[i];
    m_adaptCount = 9;
}

int16_t GsmHrVad::Hangover(bool active)
{
    m_burstCount = active ? Add(m_burstCount, 1) : int16_t(0);
    if (m_burstCount >= 3) {
        m_hangCount = 5;
        m_burstCount = 3;
    }
    int16_t flag = active ? 1 : 0;
    if (m_hangCount >= 0) {
        flag = 1;
        m_hangCount = Sub(m_hangCount, 1);
    }
    return flag;
}

int16_t GsmHrVad::Decide(const GsmHrVadInput& in, const int16_t* rc)
{
    Pseudo pvad, acf0;
    Energies(in, &pvad, &acf0);

    int32_t av0[kOrder + 1], av1[kOrder + 1];
    AverageAcf(in, av0, av1);

    // the spectrum of the older average, as an inverse filter's autocorrelation
    int16_t k[kOrder], a[kOrder + 1], rav1[kOrder + 1], normRav1;
    Schur(av1, k, kOrder);
    StepUp(kOrder, k, a);
    FilterAutocorr(a, rav1, &normRav1);

    const bool stationary = Stationary(rav1, normRav1, av0);
    const bool tone = IsTone(rc);
    AdaptThreshold(stationary, tone, rav1, normRav1, pvad, acf0);
    return Hangover(Less(m_threshold, pvad));
}

void GsmHrVad::UpdatePeriodicity(const int16_t* lags)
{
    // count the subframes whose lag is (nearly) a multiple of the one before
    int16_t count = 0;
    for (int i = 0; i < 4; ++i) {
        const int16_t minLag = m_oldLag > lags[i] ? lags[i] : m_oldLag;
        const int16_t maxLag = m_oldLag > lags[i] ? m_oldLag : lags[i];
        int16_t small = maxLag;
        for (int j = 0; j < 3; ++j) {
            if (small >= minLag)
                small = Sub(small, minLag);
        }
        const int16_t other = Sub(minLag, small);
        if (other < small)
            small = other;
        if (small < 2)
            count = Add(count, 1);
        m_oldLag = lags[i];
    }
    m_veryOldLagCount = m_oldLagCount;
    m_oldLagCount = count;
    m_periodic = Add(m_oldLagCount, m_veryOldLagCount) >= kPitchedLagPairs;
}
