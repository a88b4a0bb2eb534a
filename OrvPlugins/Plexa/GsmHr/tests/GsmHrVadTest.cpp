// The voice activity detector through the encoder's VAD flag: silence after
// speech ends activity once the hangover has run out, steady noise once the
// detector has adapted to it, and the syllables of the speech-like signal
// count as activity.
#include "GsmHrCodec.h"
#include "GsmHrEncoder.h"
#include "GsmHrSpeechSignal.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr size_t kFrame = 160;

std::vector<int16_t> Concat(std::vector<int16_t> a, const std::vector<int16_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The VAD flag of every frame, DTX on.
std::vector<int> VadFlags(const std::vector<int16_t>& signal)
{
    GsmHrEncoder encoder;
    encoder.SetDtx(true);
    std::vector<int> flags;
    int16_t params[GsmHrEncoder::kParams];
    for (size_t at = 0; at + kFrame <= signal.size(); at += kFrame) {
        encoder.Encode(&signal[at], params);
        flags.push_back(params[18]);
    }
    return flags;
}

} // namespace

TEST(GsmHrVad, SilenceAfterSpeechEndsActivityOnceTheHangoverHasRunOut)
{
    const auto speech = MakeSpeechLikeSignal(2.0);
    const size_t firstSilent = speech.size() / kFrame;
    const auto flags = VadFlags(Concat(speech, std::vector<int16_t>(8000, 0)));
    // the burst's five frames of hangover keep the first silent frames active
    for (size_t i = firstSilent; i < firstSilent + 5; ++i)
        EXPECT_EQ(flags[i], 1) << "frame " << i;
    for (size_t i = firstSilent + 8; i < flags.size(); ++i)
        ASSERT_EQ(flags[i], 0) << "frame " << i;
}

TEST(GsmHrVad, SteadyNoiseEndsActivityOnceTheDetectorHasAdapted)
{
    const auto speech = MakeSpeechLikeSignal(2.0);
    const size_t firstNoise = speech.size() / kFrame;
    const auto flags = VadFlags(Concat(speech, MakeWhiteNoise(10.0, 300)));
    // noise of this level is activity until the threshold has followed it
    EXPECT_EQ(flags[firstNoise + 10], 1);
    for (size_t i = firstNoise + 250; i < flags.size(); ++i)
        ASSERT_EQ(flags[i], 0) << "frame " << i << ", " << (i - firstNoise) * 20 << " ms into the noise";
}

TEST(GsmHrVad, SyllablesAreActivity)
{
    const auto speech = MakeSpeechLikeSignal(10.0);
    const auto flags = VadFlags(speech);
    int syllableFrames = 0;
    for (size_t i = 0; i < flags.size(); ++i) {
        if (Rms(speech, i * kFrame, kFrame) < 300)
            continue;
        ++syllableFrames;
        EXPECT_EQ(flags[i], 1) << "frame " << i;
    }
    EXPECT_GT(syllableFrames, 300);
}

TEST(GsmHrVad, WithDtxOffEveryFrameIsActiveSpeech)
{
    const auto signal = Concat(MakeSpeechLikeSignal(1.0), std::vector<int16_t>(16000, 0));
    GsmHrEncoder encoder;
    int16_t params[GsmHrEncoder::kParams];
    for (size_t at = 0; at + kFrame <= signal.size(); at += kFrame) {
        encoder.Encode(&signal[at], params);
        ASSERT_EQ(params[18], 1) << at;
        ASSERT_EQ(params[19], 1) << at;
    }
}

TEST(GsmHrVad, ResetForgetsTheAdaptationButKeepsTheDtxSwitch)
{
    const auto signal = Concat(MakeSpeechLikeSignal(2.0), MakeWhiteNoise(6.0, 300));
    GsmHrEncoder encoder;
    encoder.SetDtx(true);
    std::vector<std::vector<int16_t>> runs;
    for (int run = 0; run < 2; ++run) {
        GsmHrResetEncoder(encoder);
        std::vector<int16_t> all;
        int16_t params[GsmHrEncoder::kParams];
        for (size_t at = 0; at + kFrame <= signal.size(); at += kFrame) {
            encoder.Encode(&signal[at], params);
            all.insert(all.end(), params, params + GsmHrEncoder::kParams);
        }
        runs.push_back(all);
    }
    EXPECT_EQ(runs[0], runs[1]);
    // the run ends in SID frames (SP 0)
    EXPECT_EQ(runs[1].back(), 0);
}
