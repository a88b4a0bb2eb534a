// Substitution and muting of lost frames in the speech decoder: a run of bad
// frames repeats the last good one and fades to silence, good frames bring the
// speech straight back, and an unreliable frame is judged by its energy jump.
#include "GsmHrDecoder.h"
#include "GsmHrEncoder.h"
#include "GsmHrFrame.h"
#include "GsmHrSpeechSignal.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr size_t kFrame = 160;
using Input = std::array<int16_t, GsmHrDecoder::kInputs>;

const std::vector<int16_t>& Speech()
{
    static const std::vector<int16_t> speech = MakeSpeechLikeSignal(2.0);
    return speech;
}

// Decoder input of every frame of the speech, all good.
std::vector<Input> Frames()
{
    GsmHrEncoder encoder;
    std::vector<Input> frames;
    int16_t params[GsmHrEncoder::kParams];
    for (size_t at = 0; at + kFrame <= Speech().size(); at += kFrame) {
        encoder.Encode(&Speech()[at], params);
        Input in{};
        std::copy(params, params + kGsmHrSpeechParams, in.begin());
        frames.push_back(in);
    }
    return frames;
}

std::vector<int16_t> DecodeAll(const std::vector<Input>& frames)
{
    GsmHrDecoder decoder;
    std::vector<int16_t> out(frames.size() * kFrame);
    for (size_t i = 0; i < frames.size(); ++i)
        decoder.Decode(frames[i].data(), &out[i * kFrame]);
    return out;
}

double FrameDb(const std::vector<int16_t>& s, size_t frame)
{
    return 20 * std::log10(std::max(Rms(s, frame * kFrame, kFrame), 1e-3));
}

} // namespace

TEST(GsmHrConceal, BadFramesRepeatTheLastGoodOneThenMuteAndSpeechComesBack)
{
    // frames 20-43: both ends inside syllables (250 ms each, a pause every fifth)
    constexpr size_t kFirstBad = 20, kBad = 24;
    std::vector<Input> frames = Frames();
    for (size_t i = kFirstBad; i < kFirstBad + kBad; ++i)
        frames[i][18] = 1;
    const std::vector<int16_t> out = DecodeAll(frames);

    const double lastGood = FrameDb(out, kFirstBad - 1);
    ASSERT_GT(lastGood, 50.0);
    // the first bad frame is a repetition, not a gap
    EXPECT_GT(FrameDb(out, kFirstBad), lastGood - 10.0);
    for (size_t i = kFirstBad + 6; i < kFirstBad + kBad; ++i)
        EXPECT_LT(FrameDb(out, i), lastGood - 20.0) << "bad frame " << i - kFirstBad + 1;
    const size_t second = kFirstBad + kBad + 1;
    EXPECT_NEAR(FrameDb(out, second), FrameDb(Speech(), second), 6.0);
}

TEST(GsmHrConceal, UnreliableFrameIsJudgedByItsEnergyJump)
{
    constexpr size_t kAt = 30;
    const std::vector<Input> good = Frames();
    const std::vector<int16_t> reference = DecodeAll(good);

    // no jump: decoded as it is
    std::vector<Input> frames = good;
    frames[kAt][19] = 1;
    EXPECT_EQ(DecodeAll(frames), reference);

    // a jump to the loudest R0 is an error: substituted like a bad frame
    frames[kAt][0] = 31;
    std::vector<Input> bad = good;
    bad[kAt][18] = 1;
    const std::vector<int16_t> substituted = DecodeAll(bad);
    EXPECT_EQ(DecodeAll(frames), substituted);
    EXPECT_NE(substituted, reference);
}
