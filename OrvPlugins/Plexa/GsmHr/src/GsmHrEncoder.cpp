#include "GsmHrEncoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>

using namespace gsmhr;

void GsmHrEncoder::Reset()
{
    const bool dtxOn = m_dtxOn;
    *this = GsmHrEncoder();
    m_dtxOn = dtxOn;
}

void GsmHrEncoder::Encode(const int16_t* samples, int16_t* params)
{
    int16_t frame[kFrame];
    std::copy(samples, samples + kFrame, frame);
    HighPass(frame);
    std::copy(frame, frame + kFrame, m_speech + kNewSpeech);

    int16_t ks[kOrder], as[kOrder], snw[kOrder], vq[3] = {};
    int32_t corr[kOrder + 1];
    int32_t unquantisedR0;
    GsmHrVadInput vadInput;
    int16_t r0Index = AnalyseLpc(&m_speech[kLpcStart], ks, corr, &unquantisedR0, &vadInput);
    int16_t vad = m_vad.Decide(vadInput, ks);
    if (!m_dtxOn)
        vad = 1;
    // a SID frame keeps the unquantised coefficients for its own analysis
    const int16_t sp = m_dtx.Update(vad, unquantisedR0, corr);
    if (sp)
        GsmHrQuantiseCorrelation(corr, ks, vq);
    const int16_t r0 = kGsmHrR0Levels[r0Index * 2];
    if (!RcToDirect(kAScale, ks, as)) {
        NoiseWeightCoefs(as, snw);
    } else {
        // the quantised filter overflowed: keep last frame's
        std::copy(m_oldKs, m_oldKs + kOrder, ks);
        std::copy(m_oldAs, m_oldAs + kOrder, as);
        std::copy(m_oldSnw, m_oldSnw + kOrder, snw);
    }

    Norm sqrtRs[kSubframes];
    int16_t synthAs[kSubframes][kOrder], snwAs[kSubframes][kOrder];
    const int16_t interpolated = SubframeFilters(r0, ks, as, snw, sqrtRs, synthAs, snwAs);
    WeightFrame(synthAs, snwAs);

    OpenLoop ol;
    int16_t vadLags[kSubframes];
    SearchOpenLoop(m_oldR0Index, r0Index, sp, &ol, vadLags);
    m_vad.UpdatePeriodicity(vadLags);

    SubframeCodes codes[kSubframes];
    const GsmHrDtxTransmit::Sid& sid = m_dtx.sid();
    const int16_t* lags = ol.lagList;
    for (int sub = 0; sub < kSubframes; ++sub) {
        if (sp == 0) {
            codes[sub].code1 = sid.code1[sub];
            codes[sub].code2 = sid.code2[sub];
            codes[sub].gain = sid.gain;
            NoiseSubframe(sqrtRs[sub], snwAs[sub], codes[sub]);
            continue;
        }
        AnalyseSubframe(sub, &m_weighted[kSearchMax + sub * kSub], ol.voicing, sqrtRs[sub], snwAs[sub], lags,
                        ol.lagCount[sub], ol.pitch[sub], ol.hnwCoef[sub], &codes[sub]);
        lags += ol.lagCount[sub];
    }
    if (sp == 0) {
        r0Index = sid.r0;
        std::copy(sid.vq, sid.vq + 3, vq);
    } else {
        const int16_t gains[kSubframes] = {codes[0].gain, codes[1].gain, codes[2].gain, codes[3].gain};
        m_dtx.RecordGains(ol.voicing, gains);
    }

    m_oldR0Index = r0Index;
    m_oldR0 = r0;
    std::copy(ks, ks + kOrder, m_oldKs);
    std::copy(as, as + kOrder, m_oldAs);
    std::copy(snw, snw + kOrder, m_oldSnw);

    params[0] = r0Index;
    params[1] = vq[0];
    params[2] = vq[1];
    params[3] = vq[2];
    params[4] = interpolated;
    params[5] = ol.voicing;
    for (int sub = 0; sub < kSubframes; ++sub) {
        int16_t* p = &params[6 + 3 * sub];
        if (ol.voicing > 0) {
            p[0] = codes[sub].lag;
            p[1] = codes[sub].code1;
        } else {
            p[0] = codes[sub].code1;
            p[1] = codes[sub].code2;
        }
        p[2] = codes[sub].gain;
    }
    if (sp == 0) {
        // the SID code word: every bit of the voiced layout's subframe
        // parameters, the interpolation flag and voicing mode 3
        params[4] = 1;
        params[5] = 3;
        for (int sub = 0; sub < kSubframes; ++sub) {
            int16_t* p = &params[6 + 3 * sub];
            p[0] = sub == 0 ? 0xff : 0x0f;
            p[1] = 0x1ff;
            p[2] = 0x1f;
        }
    }
    params[18] = vad;
    params[19] = sp;

    // the analysis runs one buffer offset behind the input
    std::copy(m_speech + kFrame, m_speech + kSpeechBuffer, m_speech);
}
