// The half-rate vocoder behind the VOX frame record: the TAF counter and the
// DTX schedule on crafted parameters, the mended faults (an invalid SID is
// sent as it is; a short or foreign message decodes as a bad one), homing on
// both sides, and whole clips through EncodeVox and DecodeVox.
#include "PlexaTestSupport.h"

#include "GsmHr/GsmHrAdaptor.h"
#include "GsmHrDecoder.h"
#include "GsmHrEncoder.h"
#include "GsmHrFrame.h"
#include "GsmHrSpeechSignal.h"
#include "VoxFormat.h"
#include "VoxVocoders.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace PlexaTest;

namespace {

class GsmHrAdaptor : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadLanguage()); }
    LogScope m_Log;
};

using Params = std::array<int16_t, kGsmHrSpeechParams>;

Params SpeechParams()
{
    return {20, 100, 200, 30, 1, 2, 80, 300, 12, 9, 100, 14, 7, 4, 15, 8, 80, 20};
}

Params ValidSid()
{
    Params p{};
    for (int i = 0; i < kGsmHrSpeechParams; ++i)
        p[i] = static_cast<int16_t>(kGsmHrSidMask[1][i]);
    return p;
}

Params InvalidSid()
{
    Params p = ValidSid();
    p[7] = 0x1f8; // three zeros in the code word
    return p;
}

// Runs the schedule on one frame from a fresh record and returns the words
// WriteVoxMessage puts on file.
struct Scheduled
{
    int result;
    Words message;
    uint16_t flags;
};

class Schedule
{
public:
    Scheduled Next(const Params& p)
    {
        VoxFrame frame;
        frame.words[0] = kVoxDataPlay;
        Scheduled s;
        s.result = GsmHrScheduleFrame(p.data(), m_taf, m_dtx, frame);
        s.flags = frame.flags;
        CMemFile file;
        WriteVoxMessage(file, frame);
        s.message = WordsOf(Contents(file));
        return s;
    }
    int DtxState() const { return m_dtx; }

private:
    int m_taf = 1;
    int m_dtx = 1;
};

const Words kHomingMessage = {0x0990, 0x1F4A, 0x0196, 0x84A0, 0x48F2, 0x4308, 0x01A1, 0x0000, 0x0200};
const Words kNotSent = {0x0290, 0xA200};

Samples Speech(double seconds)
{
    return MakeSpeechLikeSignal(seconds);
}

} // namespace

TEST_F(GsmHrAdaptor, TafMarksEveryTwelfthFrameFromTheSecondOnward)
{
    Schedule schedule;
    for (int n = 1; n <= 30; ++n) {
        const Scheduled s = schedule.Next(SpeechParams());
        EXPECT_EQ(VoxFlags::Taf(s.flags), n == 12 || n == 24) << "frame " << n;
        ASSERT_EQ(s.message.size(), 9u);
        EXPECT_EQ(s.message[8] & 0x4000, VoxFlags::Taf(s.flags) ? 0x4000 : 0) << n;
        EXPECT_EQ((s.message[8] >> 8) & 0xF, VocoderGsmHr);
    }
}

TEST_F(GsmHrAdaptor, SidRunIsSentFirstThenOnlyOnTafFrames)
{
    Schedule schedule;
    for (int n = 1; n <= 3; ++n)
        schedule.Next(SpeechParams());
    for (int n = 4; n <= 26; ++n) {
        const Scheduled s = schedule.Next(ValidSid());
        if (n == 4 || n == 12 || n == 24) {
            ASSERT_EQ(s.message.size(), 9u) << n;
            EXPECT_EQ(RxOf(s.message), 2) << n;
            EXPECT_FALSE(VoxFlags::Bfi(s.flags)) << n;
        } else {
            EXPECT_EQ(s.message, kNotSent) << n;
        }
    }
    // speech brings the schedule back to its first state: the next SID is sent
    const Scheduled speech = schedule.Next(SpeechParams());
    EXPECT_EQ(speech.message.size(), 9u);
    EXPECT_EQ(RxOf(speech.message), 0);
    EXPECT_EQ(schedule.DtxState(), 1);
    EXPECT_EQ(schedule.Next(ValidSid()).message.size(), 9u);
    EXPECT_EQ(schedule.Next(ValidSid()).message, kNotSent);
}

TEST_F(GsmHrAdaptor, InvalidSidIsSentAsItIsAndLeavesTheScheduleAlone)
{
    Schedule schedule;
    schedule.Next(SpeechParams());
    schedule.Next(ValidSid());
    ASSERT_EQ(schedule.DtxState(), 2);
    const Scheduled s = schedule.Next(InvalidSid());
    EXPECT_EQ(s.result, 1);
    ASSERT_EQ(s.message.size(), 9u);
    EXPECT_EQ(RxOf(s.message), 1);
    EXPECT_FALSE(VoxFlags::Bfi(s.flags));
    EXPECT_EQ(schedule.DtxState(), 2);
    EXPECT_EQ(m_Log.Detailed(), QStringLiteral("Error in SID detection\n"));
    // the payload is this frame's, not a stale one
    int16_t back[kGsmHrSpeechParams];
    GsmHrUnpackFrame(&s.message[1], back);
    EXPECT_TRUE(std::equal(back, back + kGsmHrSpeechParams, InvalidSid().begin()));
}

TEST_F(GsmHrAdaptor, EncoderHomingFrameBecomesTheDecoderHomingMessage)
{
    for (bool noDtx : {true, false}) {
        const EncodeResult r = Encode(Constant(480, kGsmHrHomingSample), "gsm_hr", noDtx);
        ASSERT_TRUE(r.ok);
        const Messages messages = MessagesOf(r.vox);
        ASSERT_EQ(messages.size(), 3u);
        for (const Words& m : messages)
            EXPECT_EQ(m, kHomingMessage) << noDtx;
    }
}

TEST_F(GsmHrAdaptor, DecoderHomingFramesGiveTheHomingSamples)
{
    const Words twice = [] {
        Words w = kHomingMessage;
        w.insert(w.end(), kHomingMessage.begin(), kHomingMessage.end());
        return w;
    }();
    const DecodeResult r = Decode(VoxFile(twice));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.samples, Samples(320, kGsmHrHomingSample));

    // after init only the first 9 parameters count
    Words partial = kHomingMessage;
    partial[7] = 0x0100; // a later subframe's bits
    EXPECT_EQ(Decode(VoxFile(partial)).samples, Samples(160, kGsmHrHomingSample));
}

TEST_F(GsmHrAdaptor, HomingFrameAfterSpeechDecodesNormallyThenResets)
{
    const QByteArray speech = Encode(Speech(0.4), "gsm_hr", true).vox;
    const QByteArray more = Encode(Speech(0.2), "gsm_hr", true).vox;
    const Samples afterReset = Decode(more).samples;
    const Samples speechAlone = Decode(speech).samples;

    const DecodeResult r = Decode(speech + BytesOf(kHomingMessage) + more.mid(4));
    ASSERT_TRUE(r.ok);
    const size_t n = speechAlone.size();
    ASSERT_EQ(r.samples.size(), n + 160 + afterReset.size());
    EXPECT_TRUE(std::equal(speechAlone.begin(), speechAlone.end(), r.samples.begin()));
    // decoded by the speech decoder, not muted to the homing samples
    EXPECT_NE(Samples(r.samples.begin() + long(n), r.samples.begin() + long(n + 160)),
              Samples(160, kGsmHrHomingSample));
    EXPECT_TRUE(std::equal(afterReset.begin(), afterReset.end(), r.samples.begin() + long(n + 160)));
}

TEST_F(GsmHrAdaptor, ShortAndForeignMessagesDecodeAsBadFrames)
{
    const QByteArray speech = Encode(Speech(0.2), "gsm_hr", true).vox;
    const Samples reference = Decode(speech).samples;
    const Words shortMessage = {0x0590, 0x1234, 0x5678, 0x9abc, 0x0200};
    Words foreign = MessagesOf(speech).back();
    foreign.back() = 0x0800; // names AMR 4.75
    for (const Words& odd : {shortMessage, foreign}) {
        const DecodeResult r = Decode(speech + BytesOf(odd));
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.samples.size(), reference.size() + 160);
        EXPECT_TRUE(std::equal(reference.begin(), reference.end(), r.samples.begin()));
        // substituted like a lost frame
        EXPECT_EQ(r.samples, Decode(speech + BytesOf(kNotSent)).samples);
    }
}

TEST_F(GsmHrAdaptor, ClipsAreSpeechMessagesAndTheirPreviewHasEveryFrame)
{
    const Samples speech = Speech(2.0);
    for (bool noDtx : {true, false}) {
        const EncodeResult r = Encode(speech, "gsm_hr", noDtx);
        ASSERT_TRUE(r.ok);
        const Messages messages = MessagesOf(r.vox);
        ASSERT_EQ(messages.size(), speech.size() / 160);
        for (const Words& m : messages) {
            ASSERT_EQ(m.size(), 9u);
            EXPECT_EQ(m[0], 0x0990);
            EXPECT_EQ((m.back() >> 8) & 0xF, VocoderGsmHr);
            EXPECT_EQ(m.back() & 0xA01F, 0); // no bfi, no ufi, no payload bits in the flag word
        }
        const DecodeResult d = Decode(r.vox);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.wav.size(), 44 + 320 * int(messages.size()));
        EXPECT_GE(SegmentalSnr(speech, d.samples), 2.0);
    }
}

TEST_F(GsmHrAdaptor, SameInputGivesSameBytesEveryRun)
{
    const Samples speech = Speech(1.0);
    const EncodeResult first = Encode(speech, "gsm_hr", false);
    const EncodeResult second = Encode(speech, "gsm_hr", false);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.vox, second.vox);
    EXPECT_EQ(Decode(first.vox).wav, Decode(second.vox).wav);
}

TEST_F(GsmHrAdaptor, ArbitraryPayloadsDecodeToAFrameEach)
{
    // Any 112 bits are a frame: every lag, code and gain index is in range.
    uint32_t noise = 2024;
    Words words;
    for (int m = 0; m < 200; ++m) {
        words.push_back(0x0990);
        for (int w = 0; w < 7; ++w) {
            noise = noise * 1664525u + 1013904223u;
            words.push_back(uint16_t(noise >> 16));
        }
        noise = noise * 1664525u + 1013904223u;
        words.push_back(uint16_t(0x0200 | ((noise >> 16) & 0x40e0))); // taf and RX type vary
    }
    const DecodeResult r = Decode(VoxFile(words));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.samples.size(), 200u * 160);
}

TEST_F(GsmHrAdaptor, FuzzSeedsGainHalfRateClips)
{
    const QByteArray clip = Encode(Speech(0.5), "gsm_hr", true).vox;
    const QByteArray homing = VoxFile(kHomingMessage) + BytesOf(kNotSent) + BytesOf(kHomingMessage);
    const std::vector<std::pair<const char*, QByteArray>> seeds = {
        {"decode-gsmhr", '\0' + clip}, {"decode-gsmhr-homing", '\0' + homing}, {"trace-gsmhr", '\1' + clip}};
    const QString folder = QStringLiteral(ORV_CORPUS_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const auto& seed : seeds) {
        QFile file(folder + QLatin1Char('/') + QString::fromLatin1(seed.first));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << seed.first;
        ASSERT_EQ(file.write(seed.second), seed.second.size()) << seed.first;
    }
}
