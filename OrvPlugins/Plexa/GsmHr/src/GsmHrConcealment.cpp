#include "GsmHrConcealment.h"

#include "GsmHrArith.h"
#include "GsmHrDsp.h"

using namespace fx;
using namespace gsmhr;

namespace {

// Largest R0 rise (by last frame's R0 index) an unreliable frame may show
// before it is taken as bad, and before it may be muted.
constexpr int16_t kR0RepeatRise[32] = {15, 15, 15, 12, 12, 12, 12, 11, 10, 10, 9, 9, 9, 9, 8,  8,
                                       7,  6,  5,  5,  5,  4,  4,  3,  2,  2,  2, 2, 2, 2, 10, 10};
constexpr int16_t kR0MuteRise[32] = {14, 12, 11, 9, 9, 9, 9, 7, 7, 7, 7, 7, 6, 6, 6,  5,
                                     5,  4,  3,  3, 3, 3, 3, 2, 1, 1, 1, 1, 1, 1, 10, 10};
// Attenuation per dB of excess level, and the excess allowed by mean level.
constexpr int16_t kMuteGain[15] = {29205, 27571, 24573, 21900, 19519, 17396, 15504, 13818,
                                   12315, 10976, 9783,  8719,  7771,  6925,  6172};
constexpr int16_t kLevelRise[16] = {0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16};
constexpr int16_t kQuietest = -72;
constexpr int16_t kMinMuteLevel = -45;

// Level in dB of a subframe's (or with `frame`, four subframes') energy, from
// its top three bits; too quiet a level clamps the energy as well.
int16_t LevelOf(bool frame, int32_t* energy)
{
    int16_t pos = *energy != 0 ? Sub(29, Norm32(*energy)) : int16_t(0);
    int16_t level = Shl(pos, 2);
    if (pos >= 0 && (*energy & LShl(1, pos)) != 0)
        level = static_cast<int16_t>(level + 2);
    --pos;
    if (pos >= 0 && (*energy & LShl(1, pos)) != 0)
        ++level;
    level = static_cast<int16_t>(level + Shl(level, 1));
    level = static_cast<int16_t>(level - (frame ? 377 : 353));
    level = MulR(level, 0x2000);
    if (Sub(level, kQuietest) < 0) {
        level = kQuietest;
        *energy = frame ? 320 : 80;
    }
    return level;
}

} // namespace

bool GsmHrConcealment::ConcealParameters(bool bad, bool unreliable, int16_t* p)
{
    bool mutePermit = false;
    const int16_t rise = Sub(p[0], m_lastR0);
    if (!bad && unreliable) {
        if (Sub(rise, kR0RepeatRise[m_lastR0]) >= 0)
            bad = true;
        else if (Sub(p[0], 30) >= 0)
            mutePermit = true;
    }
    if (unreliable && !bad && Sub(rise, kR0MuteRise[m_lastR0]) >= 0)
        mutePermit = true;

    if (bad) {
        m_badRun = Add(m_badRun, 1);
        if (Sub(m_badRun, 6) > 0)
            m_badRun = 6;
    } else if (Sub(m_badRun, 6) < 0 || !m_lastBad) {
        m_badRun = 0;
    }
    m_lastBad = bad;

    if (m_badRun == 0) {
        for (int i = 0; i < 18; ++i)
            m_lastGood[i] = p[i];
    } else {
        // 4 dB down per frame from the third bad frame, silence from the sixth
        if (Sub(m_badRun, 3) >= 0 && Sub(m_badRun, 5) <= 0) {
            const int16_t r0 = Sub(m_lastGood[0], 2);
            m_lastGood[0] = r0 < 0 ? int16_t(0) : r0;
        }
        if (Sub(m_badRun, 6) >= 0)
            m_lastGood[0] = 0;

        // Energy, spectrum, interpolation and voicing come from the last good
        // frame, every subframe's gain from its last subframe; codes are
        // kept from the bad frame when its voicing agrees.
        const bool badVoiced = p[5] != 0;
        if (m_lastGood[5] == 0) {
            if (!badVoiced) {
                for (int i = 0; i < 5; ++i)
                    p[i] = m_lastGood[i];
                for (int i = 0; i < 4; ++i)
                    p[3 * i + 8] = m_lastGood[17];
            } else {
                for (int i = 0; i < 18; ++i)
                    p[i] = m_lastGood[i];
                for (int i = 0; i < 3; ++i)
                    p[3 * i + 8] = m_lastGood[17];
            }
        } else {
            // a voiced last good frame: its final lag held for every subframe
            int16_t lastLag = m_lastGood[6];
            for (int i = 0; i < 3; ++i) {
                const int16_t lag = Add(Sub(m_lastGood[3 * i + 9], 8), lastLag);
                lastLag = Sub(lag, 0xff) > 0 ? int16_t(0xff) : (lag < 0 ? int16_t(0) : lag);
            }
            m_lastGood[6] = lastLag;
            m_lastGood[9] = m_lastGood[12] = m_lastGood[15] = 8;
            if (badVoiced) {
                for (int i = 0; i < 6; ++i)
                    p[i] = m_lastGood[i];
                for (int i = 0; i < 4; ++i)
                    p[3 * i + 6] = m_lastGood[3 * i + 6];
                for (int i = 0; i < 4; ++i)
                    p[3 * i + 8] = m_lastGood[17];
            } else {
                for (int i = 0; i < 18; ++i)
                    p[i] = m_lastGood[i];
                for (int i = 0; i < 3; ++i)
                    p[3 * i + 8] = m_lastGood[17];
            }
        }
    }
    m_lastR0 = p[0];
    return mutePermit;
}

void GsmHrConcealment::Levels(int16_t* mean, int16_t* max) const
{
    int32_t sum = 0;
    for (int i = 0; i < 4; ++i)
        sum = LAdd(sum, m_energy[i]);
    *mean = LevelOf(true, &sum);
    *max = kQuietest;
    for (int i = 0; i < 4; ++i) {
        if (Sub(m_level[i], *max) > 0)
            *max = m_level[i];
    }
}

void GsmHrConcealment::RecordLevel(const int16_t* subframe)
{
    int32_t sum = 0;
    for (int i = 0; i < kSub; ++i) {
        const int16_t t = Shr(subframe[i], 3);
        sum = LMac(sum, t, t);
    }
    const int16_t level = LevelOf(false, &sum);
    for (int i = 0; i < 3; ++i) {
        m_energy[i] = m_energy[i + 1];
        m_level[i] = m_level[i + 1];
    }
    m_energy[3] = sum;
    m_level[3] = level;
}

bool GsmHrConcealment::ConcealSubframe(int16_t* excitation, const int16_t* synthAs, int16_t* synthState,
                                       int16_t* ltpState, int16_t* prefilterState, bool unreliable, bool mutedBefore,
                                       bool permit) const
{
    int16_t mean, max;
    Levels(&mean, &max);

    int16_t state[kOrder], trial[kSub];
    for (int i = 0; i < kOrder; ++i)
        state[i] = synthState[i];
    LpcIir(excitation, synthAs, state, trial);
    int32_t sum = 0;
    for (int i = 0; i < kSub; ++i) {
        const int16_t t = Shr(trial[i], 2);
        sum = LMac(sum, t, t);
    }
    const int16_t level = LevelOf(false, &sum);

    int16_t index = Mul(Neg(mean), 1638); // one step per 5 dB below full scale
    if (Sub(index, 15) > 0)
        index = 15;

    bool mute = permit || mutedBefore;
    int16_t excess = 0;
    if (mute) {
        if (Sub(level, kMinMuteLevel) <= 0)
            mute = false;
        excess = Sub(level, Add(max, kLevelRise[index]));
        if (excess <= 0)
            mute = false;
    }
    if (!mute)
        return false;

    if (Sub(excess, 15) > 0)
        excess = 15;
    const int16_t gain = kMuteGain[excess - 1];
    for (int i = 0; i < kOrder; ++i)
        synthState[i] = MulR(synthState[i], gain);
    for (int i = 0; i < kSub; ++i) {
        excitation[i] = MulR(excitation[i], gain);
        ltpState[i] = MulR(ltpState[i], gain);
        prefilterState[i] = MulR(prefilterState[i], gain);
    }
    return unreliable;
}
