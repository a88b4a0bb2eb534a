#pragma once
// The half-rate speech encoder: 160 samples of 13-bit PCM in, 18 speech
// parameters plus the VAD and SP flags out. All state lives in the object; a
// coding run owns one and resets it at the start and after a homing frame.
// With discontinuous transmission on, frames of a pause become SID frames
// (SP 0) carrying comfort-noise parameters under the all-ones SID code word;
// with it off the detector still runs but every frame is coded as speech.
#include "GsmHrComfortNoise.h"
#include "GsmHrDsp.h"
#include "GsmHrVad.h"

#include <cstdint>

class GsmHrEncoder
{
public:
    static constexpr int kParams = 20;

    GsmHrEncoder() = default;
    // Back to the initial state; the DTX switch stays as set.
    void Reset();
    void SetDtx(bool on) { m_dtxOn = on; }
    void Encode(const int16_t* samples, int16_t* params);

private:
    static constexpr int kLpcStart = 25; // where the analysis window starts in the buffer
    static constexpr int kWindow = 170;  // analysis window: a frame plus the filter order
    static constexpr int kSpeechBuffer = kLpcStart + kWindow;
    static constexpr int kNewSpeech = kSpeechBuffer - gsmhr::kFrame;
    static constexpr int kLagMax = 142;
    static constexpr int kLagMin = 21;
    static constexpr int kSearchMax = kLagMax + 3; // reach of the lag interpolator
    static constexpr int kSearchMin = kLagMin - 3;
    static constexpr int kHnwHistory = kSearchMax;

    struct OpenLoop
    {
        int16_t voicing = 0;
        int16_t lagList[gsmhr::kSubframes * 3] = {};
        int16_t lagCount[gsmhr::kSubframes] = {};
        int16_t pitch[gsmhr::kSubframes] = {};
        int16_t hnwCoef[gsmhr::kSubframes] = {};
    };

    struct SubframeCodes
    {
        int16_t lag = 0;
        int16_t code1 = 0;
        int16_t code2 = 0;
        int16_t gain = 0;
    };

    // frame analysis (GsmHrEncoderLpc.cpp)
    void HighPass(int16_t* io);
    int16_t AnalyseLpc(const int16_t* window, int16_t* flatRc, int32_t* corr, int32_t* unquantisedR0,
                       GsmHrVadInput* vad);
    int16_t SubframeFilters(int16_t newR0, const int16_t* newKs, const int16_t* newAs, const int16_t* newSnw,
                            gsmhr::Norm* sqrtRs, int16_t synthAs[][gsmhr::kOrder], int16_t snwAs[][gsmhr::kOrder]);
    bool ResidualPrefersInterpolation(int16_t interpAs[][gsmhr::kOrder], const int16_t* newAs,
                                      const gsmhr::Norm* sqrtRs);
    static void NoiseWeightCoefs(const int16_t* a, int16_t* h);
    void WeightFrame(int16_t numAs[][gsmhr::kOrder], int16_t denAs[][gsmhr::kOrder]);

    // open-loop lag search (GsmHrEncoderLag.cpp)
    // A SID frame (sp 0) is always unvoiced; `vadLags` gets each subframe's
    // best integer lag for the detector's periodicity check.
    void SearchOpenLoop(int16_t prevR0Index, int16_t r0Index, int16_t sp, OpenLoop* result, int16_t* vadLags);

    // subframe analysis (GsmHrEncoderSubframe.cpp)
    void AnalyseSubframe(int sub, const int16_t* weighted, int16_t voicing, gsmhr::Norm sqrtRs, const int16_t* hCoefs,
                         const int16_t* lagList, int lagCount, int16_t pitch, int16_t hnwCoef, SubframeCodes* codes);
    // A SID frame's subframe: the comfort-noise codes in `codes` excite the
    // weighting filters' states instead of a search.
    void NoiseSubframe(gsmhr::Norm sqrtRs, const int16_t* hCoefs, const SubframeCodes& codes);
    void AdvanceSubframeState(const int16_t* excitation, const int16_t* hCoefs);

    int16_t m_oldR0 = 0;
    int16_t m_oldR0Index = 0;
    gsmhr::Norm m_weightedEnergy[2 * gsmhr::kSubframes]; // last frame's subframes, then this frame's
    int16_t m_hpX[4] = {};
    int16_t m_hpY[8] = {};
    int16_t m_oldKs[gsmhr::kOrder] = {};
    int16_t m_oldAs[gsmhr::kOrder] = {};
    int16_t m_oldSnw[gsmhr::kOrder] = {};
    int16_t m_weighted[gsmhr::kFrame + kSearchMax] = {};
    int16_t m_speech[kSpeechBuffer] = {};
    int16_t m_analysisState[gsmhr::kOrder] = {};
    int16_t m_weightNumState[gsmhr::kOrder] = {};
    int16_t m_weightDenState[gsmhr::kOrder] = {};
    int16_t m_ltp[gsmhr::kLtpHistory + gsmhr::kSub] = {};
    int16_t m_hState[gsmhr::kOrder] = {};
    int16_t m_hnwState[kHnwHistory] = {};
    int16_t m_prevLagCode = 0;
    GsmHrVad m_vad;
    GsmHrDtxTransmit m_dtx;
    bool m_dtxOn = false;
};
