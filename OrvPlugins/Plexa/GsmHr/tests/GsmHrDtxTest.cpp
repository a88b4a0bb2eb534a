// Discontinuous transmission and comfort noise through the VOX adaptor: a
// pause in a clip becomes SID messages on TAF frames with two-word
// untransmitted messages between them, and the preview fills it with noise of
// the pause's level.
#include "PlexaTestSupport.h"

#include "GsmHrFrame.h"
#include "GsmHrSpeechSignal.h"
#include "VoxVocoders.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

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

bool TafOf(const Words& message)
{
    return (message.back() & 0x4000) != 0;
}

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

double LevelDb(double rms)
{
    return 20 * std::log10(std::max(rms, 1e-3));
}

// Level in dB of `frames` frames from frame `at`.
double FramesDb(const Samples& s, size_t at, size_t frames)
{
    return LevelDb(Rms(s, at * kFrame, frames * kFrame));
}

// The DTX clip of SpeechThenNoise, its messages and the first SID's index.
struct DtxClip
{
    QByteArray vox;
    Messages messages;
    size_t firstSid = 0;
};

const DtxClip& Clip()
{
    static const DtxClip clip = [] {
        DtxClip c;
        c.vox = Encode(SpeechThenNoise(), "gsm_hr", false).vox;
        c.messages = MessagesOf(c.vox);
        while (c.firstSid < c.messages.size() && RxOf(c.messages[c.firstSid]) != 2)
            ++c.firstSid;
        return c;
    }();
    return clip;
}

// The clip again with every SID message after the first `keep` rewritten.
QByteArray WithLaterSids(size_t keep, const std::function<Words(const Words&)>& rewrite)
{
    QByteArray vox = Clip().vox.left(4);
    size_t sids = 0;
    for (const Words& m : Clip().messages) {
        const bool sid = m.size() == 9 && RxOf(m) == 2;
        vox += BytesOf(sid && sids++ >= keep ? rewrite(m) : m);
    }
    return vox;
}

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
        if (i != firstSid) {
            EXPECT_TRUE(TafOf(m)) << "SID " << i << " outside a TAF frame";
        }
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

TEST_F(GsmHrDtx, ComfortNoiseFillsThePauseAtTheNoiseLevel)
{
    const DtxClip& clip = Clip();
    ASSERT_LT(clip.firstSid, clip.messages.size());
    const DecodeResult d = Decode(clip.vox);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.samples.size(), SpeechThenNoise().size());
    const size_t frames = clip.messages.size();
    const double input = FramesDb(SpeechThenNoise(), frames - 100, 100);
    EXPECT_NEAR(FramesDb(d.samples, frames - 100, 100), input, 4.0);
    // no gap at the untransmitted frames
    for (size_t i = clip.firstSid; i < frames; ++i)
        ASSERT_NEAR(FramesDb(d.samples, i, 1), input, 6.0) << "frame " << i;
    // the noise generator starts afresh with every run
    EXPECT_EQ(Decode(clip.vox).samples, d.samples);
}

TEST_F(GsmHrDtx, LostSidUpdatesLetTheNoiseGoOnThenFadeIt)
{
    const DtxClip& clip = Clip();
    size_t lostFrom = clip.firstSid + 1; // the third SID, on a TAF frame
    for (int sids = 1; sids < 3; ++lostFrom)
        sids += RxOf(clip.messages[lostFrom]) == 2 ? 1 : 0;
    --lostFrom;
    ASSERT_TRUE(TafOf(clip.messages[lostFrom]));
    // each lost SID is a bad frame that still carries its TAF
    const Samples out = Decode(WithLaterSids(2, [](const Words&) { return Words{0x0290, 0xE200}; })).samples;
    const Samples reference = Decode(clip.vox).samples;
    ASSERT_EQ(out.size(), reference.size());
    EXPECT_TRUE(std::equal(reference.begin(), reference.begin() + long(lostFrom * kFrame), out.begin()));

    const double before = FramesDb(out, lostFrom - 12, 12);
    // the noise goes on with the last parameters for two update periods
    for (size_t i = lostFrom; i < lostFrom + 24; ++i)
        ASSERT_NEAR(FramesDb(out, i, 1), before, 4.0) << "frame " << i;
    // then falls 4 dB a frame, down to the quietest level
    EXPECT_LT(FramesDb(out, lostFrom + 40, 4), before - 20.0);
    EXPECT_LT(FramesDb(out, clip.messages.size() - 50, 50), before - 24.0);
}

TEST_F(GsmHrDtx, InvalidSidsKeepTheNoiseGoingWithoutFading)
{
    // three zeros among the code word's class-1 bits make a SID invalid
    std::vector<int> class1;
    for (int i = 0; i < 93 && class1.size() < 3; ++i) {
        const BitSlot slot = kVoicedOrder[i];
        if ((kGsmHrSidMask[1][slot.param] >> slot.bit) & 1)
            class1.push_back(i);
    }
    ASSERT_EQ(class1.size(), 3u);
    const auto invalidate = [&](const Words& m) {
        Words w = m;
        for (int bit : class1)
            w[1 + bit / 16] = uint16_t(w[1 + bit / 16] & ~(1u << (bit % 16)));
        int16_t params[kGsmHrSpeechParams];
        GsmHrUnpackFrame(&w[1], params);
        EXPECT_EQ(GsmHrSidClass(params), 1);
        w.back() = uint16_t((w.back() & ~0x00E0) | (1 << 5));
        return w;
    };
    const DtxClip& clip = Clip();
    const Samples out = Decode(WithLaterSids(1, invalidate)).samples;
    const size_t frames = clip.messages.size();
    // the last valid parameters hold to the end: no fade as for lost updates
    EXPECT_NEAR(FramesDb(out, frames - 100, 100), FramesDb(SpeechThenNoise(), frames - 100, 100), 4.0);
}

TEST_F(GsmHrDtx, FuzzSeedsGainAClipWithComfortNoise)
{
    const QString folder = QStringLiteral(ORV_CORPUS_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/decode-gsmhr-dtx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // the decoder's selector byte, then the clip: speech, its pause and lost SIDs
    const QByteArray seed = '\0' + WithLaterSids(3, [](const Words&) { return Words{0x0290, 0xE200}; });
    ASSERT_EQ(file.write(seed), seed.size());
}
