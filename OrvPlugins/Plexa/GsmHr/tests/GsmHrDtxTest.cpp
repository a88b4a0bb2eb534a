// Discontinuous transmission and comfort noise through the VOX adaptor: a
// pause in a clip becomes SID messages on TAF frames with two-word
// untransmitted messages between them, and the preview fills it with noise of
// the pause's level.
#include "PlexaTestSupport.h"

#include "GsmHrFrame.h"
#include "GsmHrSpeechSignal.h"
#include "VoxVocoders.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace PlexaTest;

namespace {

constexpr size_t kFrame = 160;
const Words kNotSent = {0x0290, 0xA200};

class GsmHrDtx : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadLanguage()); }
    LogScope m_Log;
};

Samples Concat(Samples a, const Samples& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two seconds of speech, then ten of steady noise at RMS 300.
const Samples& SpeechThenNoise()
{
    static const Samples signal = Concat(MakeSpeechLikeSignal(2.0), MakeWhiteNoise(10.0, 300));
    return signal;
}

bool TafOf(const Words& message) { return (message.back() & 0x4000) != 0; }

// The parameters of a message's payload read with one layout's bit order.
std::array<int16_t, kGsmHrSpeechParams> ReadAs(const Words& message, const BitSlot* order)
{
    std::array<int16_t, kGsmHrSpeechParams> p{};
    for (int i = 0; i < kGsmHrFrameBits; ++i) {
        if ((message[1 + i / 16] >> (i % 16)) & 1)
            p[order[i].param] = static_cast<int16_t>(p[order[i].param] | (1 << order[i].bit));
    }
    return p;
}

double LevelDb(double rms) { return 20 * std::log10(std::max(rms, 1e-3)); }

} // namespace

TEST_F(GsmHrDtx, PauseBecomesSidMessagesOnTafFramesWithNothingSentBetween)
{
    const EncodeResult r = Encode(SpeechThenNoise(), "gsm_hr", false);
    ASSERT_TRUE(r.ok);
    const Messages messages = MessagesOf(r.vox);
    ASSERT_EQ(messages.size(), SpeechThenNoise().size() / kFrame);

    size_t firstSid = 0;
    while (firstSid < messages.size() && RxOf(messages[firstSid]) != 2)
        ++firstSid;
    ASSERT_LT(firstSid, messages.size()) << "no SID message";
    // after the speech, and once the detector has adapted (within 5 s)
    EXPECT_GT(firstSid, 100u);
    EXPECT_LT(firstSid, 100u + 250u);

    int sids = 0;
    for (size_t i = firstSid; i < messages.size(); ++i) {
        const Words& m = messages[i];
        if (m == kNotSent)
            continue;
        ASSERT_EQ(m.size(), 9u) << "message " << i;
        ASSERT_EQ(RxOf(m), 2) << "message " << i;
        EXPECT_EQ((m.back() >> 8) & 0xF, VocoderGsmHr);
        EXPECT_EQ(m.back() & 0xA000, 0) << "bfi or ufi on a sent SID";
        if (i != firstSid)
            EXPECT_TRUE(TafOf(m)) << "SID " << i << " outside a TAF frame";
        // the whole code word, whichever layout reads it
        const auto unvoiced = ReadAs(m, kUnvoicedOrder);
        const auto voiced = ReadAs(m, kVoicedOrder);
        for (int p = 0; p < kGsmHrSpeechParams; ++p) {
            EXPECT_EQ(unvoiced[p] & kGsmHrSidMask[0][p], kGsmHrSidMask[0][p]) << "message " << i << " param " << p;
            EXPECT_EQ(voiced[p] & kGsmHrSidMask[1][p], kGsmHrSidMask[1][p]) << "message " << i << " param " << p;
        }
        ++sids;
    }
    // one SID every 12 frames over the rest of the clip
    EXPECT_NEAR(sids, int((messages.size() - firstSid) / 12) + 1, 1);
}

TEST_F(GsmHrDtx, WithDtxOffEveryMessageIsSpeech)
{
    const EncodeResult r = Encode(SpeechThenNoise(), "gsm_hr", true);
    ASSERT_TRUE(r.ok);
    const Messages messages = MessagesOf(r.vox);
    ASSERT_EQ(messages.size(), SpeechThenNoise().size() / kFrame);
    for (size_t i = 0; i < messages.size(); ++i) {
        ASSERT_EQ(messages[i].size(), 9u) << i;
        ASSERT_EQ(RxOf(messages[i]), 0) << i;
    }
}
