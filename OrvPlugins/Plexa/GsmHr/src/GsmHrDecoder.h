#pragma once
// The half-rate speech decoder: 22 input words (18 speech parameters, bfi,
// ufi, SID class, taf) in, 160 samples out. State lives in the object.
// Substitution of lost frames and comfort noise are not part of this decoder
// yet: a bad frame or a SID frame decodes to silence and leaves the state alone.
#include "GsmHrDsp.h"

#include <cstdint>

class GsmHrDecoder {
public:
    static constexpr int kInputs = 22;

    void Reset() { *this = GsmHrDecoder(); }
    void Decode(const int16_t* in, int16_t* samples);

private:
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
};
