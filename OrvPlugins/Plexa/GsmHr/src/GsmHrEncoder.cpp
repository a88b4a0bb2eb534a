#include "GsmHrEncoder.h"

#include "GsmHrArith.h"
#include "GsmHrTables.h"

#include <algorithm>

using namespace gsmhr;

void GsmHrEncoder::Reset()
{
    *this = GsmHrEncoder();
}

void GsmHrEncoder::Encode(const int16_t* samples, int16_t* params)
{
    int16_t frame[kFrame];
    std::copy(samples, samples + kFrame, frame);
    HighPass(frame);
    std::copy(frame, frame + kFrame, m_speech + kNewSpeech);

    int16_t ks[kOrder], as[kOrder], snw[kOrder], vq[3];
    const int16_t r0Index = AnalyseLpc(&m_speech[kLpcStart], ks, vq);
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
    SearchOpenLoop(m_oldR0Index, r0Index, &ol);

    SubframeCodes codes[kSubframes];
    const int16_t* lags = ol.lagList;
    for (int sub = 0; sub < kSubframes; ++sub) {
        AnalyseSubframe(sub, &m_weighted[kSearchMax + sub * kSub], ol.voicing, sqrtRs[sub], snwAs[sub], lags,
                        ol.lagCount[sub], ol.pitch[sub], ol.hnwCoef[sub], &codes[sub]);
        lags += ol.lagCount[sub];
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
    params[18] = 1;   // voice activity
    params[19] = 1;   // speech frame

    // the analysis runs one buffer offset behind the input
    std::copy(m_speech + kFrame, m_speech + kSpeechBuffer, m_speech);
}
