#pragma once
// The half-rate speech decoder: 22 input words (18 speech parameters, bfi,
// ufi, SID class, taf) in, 160 samples out. State lives in the object.
// Bad and unreliable speech frames are substituted and muted; SID frames
// start or update comfort noise, which goes on through the untransmitted
// frames between them and fades out when SID updates stop arriving.
#include "GsmHrComfortNoise.h"
#include "GsmHrConcealment.h"
#include "GsmHrDsp.h"

#include <cstdint>

class GsmHrDecoder
{
public:
    static constexpr int kInputs = 22;

    void Reset() { *this = GsmHrDecoder(); }
    void Decode(const int16_t* in, int16_t* samples);

private:
    enum class Mode
    {
        Speech,
        FirstSid,
        NextSid,
        LostInNoise
    };
    enum class FrameType
    {
        GoodSpeech,
        Unusable,
        ValidSid,
        InvalidSid
    };

    // Comfort noise: the frame's R0 index, reflection coefficients and R0
    // level, and its subframe parameters (random codes, averaged gain).
    void NoiseParameters(FrameType type, bool taf, int16_t* params, int16_t* r0Index, int16_t* ks, int16_t* r0);
    void InterpolateNoise(FrameType type, int16_t* ks, int16_t* r0);

    void SubframeFilters(int16_t si, int16_t newR0, const int16_t* ks, const int16_t* as, const int16_t* pfNum,
                         const int16_t* pfDen, gsmhr::Norm* sqrtRs, int16_t synthAs[][gsmhr::kOrder],
                         int16_t pfNumAs[][gsmhr::kOrder], int16_t pfDenAs[][gsmhr::kOrder]);
    int16_t DecodeLag(int sub, int16_t code);
    void PitchPrefilter(const int16_t* excite, int16_t gainCode, int16_t lag, int16_t mode, int16_t semiBeta,
                        gsmhr::Norm sqrtRs, int16_t* out);
    void PostFilter(const int16_t* in, const int16_t* num, const int16_t* den, int16_t energyShift, int16_t* out);

    int16_t m_agcGain = 0;
    int16_t m_postNumState[gsmhr::kOrder] = {};
    int16_t m_postDenState[gsmhr::kOrder] = {};
    int16_t m_emphasisState = 0;
    int16_t m_synthState[gsmhr::kOrder] = {};
    int16_t m_oldKs[gsmhr::kOrder] = {};
    int16_t m_oldAs[gsmhr::kOrder] = {};
    int16_t m_oldPfNum[gsmhr::kOrder] = {};
    int16_t m_oldPfDen[gsmhr::kOrder] = {};
    int16_t m_oldR0 = 0;
    int16_t m_ltp[gsmhr::kLtpHistory + gsmhr::kSub] = {};
    int16_t m_prefilter[gsmhr::kLtpHistory + gsmhr::kSub] = {};
    int16_t m_lastLag = 0;
    int16_t m_oldR0Index = 0;

    GsmHrConcealment m_conceal;
    bool m_mutedBefore = false;

    Mode m_mode = Mode::Speech;
    int16_t m_sidPhase = gsmhr::kSidPeriod - 1; // frames since the last SID update, at most 11
    bool m_noiseMuting = false;
    int16_t m_lostInNoise = 0;
    int32_t m_gains[gsmhr::kGainHistory] = {};
    int m_gainsAt = 0;
    int32_t m_seed = 0;
    int16_t m_noiseGain = 0;
    int16_t m_r0NewNoise = 0;
    int16_t m_r0OldNoise = 0;
    int32_t m_oldCorr[gsmhr::kOrder + 1] = {};
    int32_t m_newCorr[gsmhr::kOrder + 1] = {};
    int32_t m_corr[gsmhr::kOrder + 1] = {};
};
