// The speech codec on its own: the homing reaction (the one bit-exact check
// available without the standard's test sequences), determinism after a
// reset, and the quality of a round trip against the AMR 4.75 codec of the
// same rate class on the same speech-like signal.
#include "GsmHrCodec.h"
#include "GsmHrDecoder.h"
#include "GsmHrEncoder.h"
#include "GsmHrFrame.h"
#include "GsmHrSpeechSignal.h"

#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrnb/interf_enc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Params = std::array<int16_t, GsmHrEncoder::kParams>;

std::vector<Params> EncodeAll(GsmHrEncoder& encoder, const std::vector<int16_t>& signal)
{
    std::vector<Params> frames;
    for (size_t at = 0; at + 160 <= signal.size(); at += 160) {
        Params p{};
        encoder.Encode(&signal[at], p.data());
        frames.push_back(p);
    }
    return frames;
}

std::vector<int16_t> DecodeAll(GsmHrDecoder& decoder, const std::vector<Params>& frames)
{
    std::vector<int16_t> out(frames.size() * 160);
    for (size_t i = 0; i < frames.size(); ++i) {
        int16_t in[GsmHrDecoder::kInputs] = {};
        std::copy(frames[i].begin(), frames[i].begin() + kGsmHrSpeechParams, in);
        decoder.Decode(in, &out[i * 160]);
    }
    return out;
}

std::vector<int16_t> HomingSamples()
{
    return std::vector<int16_t>(160, kGsmHrHomingSample);
}

void ExpectDecoderHomingFrame(const Params& p)
{
    for (int i = 0; i < kGsmHrSpeechParams; ++i)
        EXPECT_EQ(p[i], kGsmHrDecoderHomingFrame[i]) << "parameter " << i;
}

// The library's AMR decoder puts out about twice the level it was given, which
// alone holds its plain score near 0 dB; `levelled` halves its output first.
double AmrRoundTripSnr(const std::vector<int16_t>& signal, bool levelled)
{
    void* enc = Encoder_Interface_init(0);
    void* dec = Decoder_Interface_init();
    std::vector<int16_t> out(signal.size());
    for (size_t at = 0; at + 160 <= signal.size(); at += 160) {
        unsigned char frame[64];
        Encoder_Interface_Encode(enc, MR475, &signal[at], frame, 0);
        Decoder_Interface_Decode(dec, frame, &out[at], 0);
        if (levelled)
            for (size_t i = at; i < at + 160; ++i)
                out[i] = static_cast<int16_t>(out[i] / 2);
    }
    Encoder_Interface_exit(enc);
    Decoder_Interface_exit(dec);
    return SegmentalSnr(signal, out);
}

} // namespace

TEST(GsmHrCodec, HomedEncoderAnswersTheHomingFrameWithTheDecoderHomingFrame)
{
    GsmHrEncoder encoder;
    const auto homing = HomingSamples();
    for (int round = 0; round < 2; ++round) {
        const auto frames = EncodeAll(encoder, homing);
        ASSERT_EQ(frames.size(), 1u);
        ExpectDecoderHomingFrame(frames[0]);
        EXPECT_EQ(frames[0][18], 1); // VAD
        EXPECT_EQ(frames[0][19], 1); // SP
        encoder.Reset();
    }
}

TEST(GsmHrCodec, ResetAfterHomingGivesTheSameCodesAsAFreshEncoder)
{
    const auto speech = MakeSpeechLikeSignal(0.5);
    GsmHrEncoder fresh;
    const auto expected = EncodeAll(fresh, speech);

    GsmHrEncoder homed;
    EncodeAll(homed, MakeSpeechLikeSignal(0.3));
    homed.Encode(HomingSamples().data(), Params{}.data());
    homed.Reset();
    EXPECT_EQ(EncodeAll(homed, speech), expected);
    // and the encoder homing frame again gives the homing answer
    Params again{};
    homed.Reset();
    homed.Encode(HomingSamples().data(), again.data());
    ExpectDecoderHomingFrame(again);
}

TEST(GsmHrCodec, SameInputAfterResetGivesSameParameters)
{
    const auto speech = MakeSpeechLikeSignal(1.0);
    GsmHrEncoder encoder;
    const auto first = EncodeAll(encoder, speech);
    encoder.Reset();
    EXPECT_EQ(EncodeAll(encoder, speech), first);

    GsmHrDecoder decoder;
    const auto once = DecodeAll(decoder, first);
    decoder.Reset();
    EXPECT_EQ(DecodeAll(decoder, first), once);
}

TEST(GsmHrCodec, SpeechUsesEveryVoicingMode)
{
    GsmHrEncoder encoder;
    std::array<int, 4> modes{};
    for (const auto& p : EncodeAll(encoder, MakeSpeechLikeSignal(3.0)))
        ++modes[p[5]];
    for (int mode = 0; mode < 4; ++mode)
        EXPECT_GT(modes[mode], 0) << "voicing mode " << mode;
}

TEST(GsmHrCodec, BadAndSidFramesLeaveNothingBehindAReset)
{
    GsmHrEncoder encoder;
    const auto frames = EncodeAll(encoder, MakeSpeechLikeSignal(0.4));
    GsmHrDecoder plain, interrupted;
    const auto expected = DecodeAll(plain, frames);

    // substitution, muting and comfort noise all keep state of their own
    std::vector<int16_t> out(160);
    for (int flag : {18, 19, 20}) {
        int16_t in[GsmHrDecoder::kInputs] = {};
        std::copy(frames[0].begin(), frames[0].begin() + kGsmHrSpeechParams, in);
        in[flag] = flag == 20 ? 2 : 1;
        for (int n = 0; n < 8; ++n)
            interrupted.Decode(in, out.data());
    }
    GsmHrResetDecoder(interrupted);
    EXPECT_EQ(DecodeAll(interrupted, frames), expected);
}

TEST(GsmHrCodec, RoundTripKeepsTheSpeechOfItsRateClass)
{
    const auto speech = MakeSpeechLikeSignal(10.0);
    GsmHrEncoder encoder;
    GsmHrDecoder decoder;
    const double halfRate = SegmentalSnr(speech, DecodeAll(decoder, EncodeAll(encoder, speech)));
    const double amr475 = AmrRoundTripSnr(speech, false);
    const double amr475Levelled = AmrRoundTripSnr(speech, true);
    std::printf("segmental SNR: half rate %.2f dB, AMR 4.75 %.2f dB (%.2f dB at the input's level)\n", halfRate, amr475,
                amr475Levelled);
    EXPECT_GE(halfRate, 2.0);
    EXPECT_GE(halfRate, amr475 - 3.0);
    EXPECT_GE(halfRate, amr475Levelled - 3.0);
}

TEST(GsmHrCodec, SilenceAndFullScaleStayBounded)
{
    // No input may crash the fixed-point search: digital silence, a full-scale
    // square wave and alternating extremes.
    std::vector<int16_t> signal(160 * 30, 0);
    for (size_t i = 160 * 10; i < 160 * 20; ++i)
        signal[i] = (i / 20) % 2 ? 32767 : -32768;
    for (size_t i = 160 * 20; i < signal.size(); ++i)
        signal[i] = i % 2 ? 32767 : -32768;
    GsmHrEncoder encoder;
    GsmHrDecoder decoder;
    const auto frames = EncodeAll(encoder, signal);
    for (const auto& p : frames) {
        const uint8_t* widths = p[5] ? kGsmHrVoicedWidths : kGsmHrUnvoicedWidths;
        for (int i = 0; i < kGsmHrSpeechParams; ++i) {
            EXPECT_GE(p[i], 0);
            EXPECT_LT(p[i], 1 << widths[i]) << "parameter " << i;
        }
    }
    EXPECT_EQ(DecodeAll(decoder, frames).size(), signal.size());
}
