// Comfort noise at the decoder: the parameters of SID frames, interpolated
// over the twelve frames between updates, drive the unvoiced codebooks with
// pseudo-random codes; lost frames in a pause keep the noise going and, once
// no SID update has come for 25 frames, fade it by 4 dB a frame.
#include "GsmHrDecoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>

using namespace fx;
using namespace gsmhr;

namespace {

// Share of the new end point after n + 1 frames of twelve.
constexpr int16_t kNewShare[kSidPeriod] = {0x0aaa, 0x1554, 0x1ffe, 0x2aa8, 0x3552, 0x3ffc,
                                           0x4aa6, 0x5550, 0x5ffa, 0x6aa4, 0x754e, 0x7fff};

int16_t OldShare(int16_t phase)
{
    return Add(Sub(0x7fff, kNewShare[phase]), 1);
}

int32_t Interpolate(int32_t newValue, int32_t oldValue, int16_t phase)
{
    return LAdd(LMul32x16(newValue, kNewShare[phase]), LMul32x16(oldValue, OldShare(phase)));
}

int16_t Interpolate(int16_t newValue, int16_t oldValue, int16_t phase)
{
    return Round(LAdd(LMul(newValue, kNewShare[phase]), LMul(oldValue, OldShare(phase))));
}

} // namespace

void GsmHrDecoder::NoiseParameters(FrameType type, bool taf, int16_t* p, int16_t* r0Index, int16_t* ks, int16_t* r0)
{
    *r0Index = p[0];
    if (m_mode == Mode::FirstSid) {
        m_lostInNoise = 0;
        m_noiseMuting = false;
        m_sidPhase = kSidPeriod - 1;
        if (type == FrameType::ValidSid) {
            m_r0NewNoise = kGsmHrR0Levels[*r0Index * 2];
            LookupRc(&p[1], ks);
        } else {
            // an invalid first SID frame: the last frame's energy and spectrum
            m_r0NewNoise = kGsmHrR0Levels[m_oldR0Index * 2];
            *r0Index = m_oldR0Index;
            std::copy(m_oldKs, m_oldKs + kOrder, ks);
        }
    } else if (m_mode == Mode::NextSid) {
        m_lostInNoise = 0;
        m_noiseMuting = false;
        if (type == FrameType::ValidSid) {
            m_sidPhase = 0;
            m_r0NewNoise = kGsmHrR0Levels[*r0Index * 2];
            LookupRc(&p[1], ks);
        } else {
            if (m_sidPhase < kSidPeriod - 1)
                m_sidPhase = Add(m_sidPhase, 1);
            *r0Index = m_oldR0Index;
        }
    } else {
        if (m_sidPhase < kSidPeriod - 1)
            m_sidPhase = Add(m_sidPhase, 1);
        *r0Index = m_oldR0Index;
        if (m_noiseMuting) {
            m_oldR0Index = Sub(m_oldR0Index, 2);
            if (m_oldR0Index < 0)
                m_oldR0Index = 0;
            *r0Index = m_oldR0Index;
            m_r0NewNoise = kGsmHrR0Levels[m_oldR0Index * 2];
        }
        m_lostInNoise = Add(m_lostInNoise, 1);
        if (taf && m_lostInNoise >= 2 * kSidPeriod + 1)
            m_noiseMuting = true;
    }

    if (m_mode == Mode::FirstSid) {
        m_seed = kNoiseSeed;
        m_noiseGain = QuantiseGainEnergy(AverageGainEnergy(m_gains));
    }
    for (int i = 0; i < kSubframes; ++i) {
        p[3 * i + 8] = m_noiseGain;
        p[3 * i + 6] = NoiseBits(7, &m_seed);
        p[3 * i + 7] = NoiseBits(7, &m_seed);
    }
    InterpolateNoise(type, ks, r0);
}

void GsmHrDecoder::InterpolateNoise(FrameType type, int16_t* ks, int16_t* r0)
{
    if (m_mode == Mode::FirstSid) {
        // no interpolation yet: both end points from the first SID
        m_r0OldNoise = m_oldR0;
        RcToAutocorr(kAShift, kAScale, m_oldKs, m_oldCorr);
        RcToAutocorr(kAShift, kAScale, ks, m_newCorr);
    } else if (m_mode == Mode::NextSid && type == FrameType::ValidSid) {
        // a new update: interpolate onward from where the noise is now
        m_r0OldNoise = m_oldR0;
        std::copy(m_corr, m_corr + kOrder + 1, m_oldCorr);
        RcToAutocorr(kAShift, kAScale, ks, m_newCorr);
    }
    *r0 = Interpolate(m_r0NewNoise, m_r0OldNoise, m_sidPhase);
    for (int i = 0; i <= kOrder; ++i)
        m_corr[i] = Interpolate(m_newCorr[i], m_oldCorr[i], m_sidPhase);
    // the conversion scales m_corr down in place, as the next update expects
    AutocorrToRc(m_corr, ks);
}
