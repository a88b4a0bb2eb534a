// EncodeVox and DecodeVox: clips worked out by hand, homing, lost frames,
// the header checks, the trace, and the faults of short or foreign messages.
#include "PlexaTestSupport.h"

#include "AmrAdaptor.h"
#include "Wave/CDocumentWave.h"

#include <opencore-amrnb/interf_dec.h>

#include <gtest/gtest.h>

using namespace PlexaTest;

namespace {
class VoxCodec : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadLanguage()); }
    LogScope m_Log;
};

const Words kHoming122 = {0x1190, 0x2A10, 0x69DB, 0xB555, 0x0006, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0F00};
const Words kHoming475 = {0x0890, 0xB91F, 0x331C, 0x14C0, 0x0000, 0x0000, 0x0000, 0x0800};
const Words kNoData122 = {0x0290, 0x0FE0};

Words Concat(std::initializer_list<Words> parts)
{
    Words all;
    for (const Words& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Samples Frames(const Samples& samples, size_t from, size_t count)
{
    return Samples(samples.begin() + long(from * 160), samples.begin() + long((from + count) * 160));
}

// What a fresh library decoder makes of the given storage frames.
Samples LibraryDecode(std::initializer_list<std::vector<uint8_t>> frames)
{
    void* decoder = Decoder_Interface_init();
    Samples samples;
    for (std::vector<uint8_t> frame : frames) {
        frame.resize(32);
        short out[160];
        Decoder_Interface_Decode(decoder, frame.data(), out, 0);
        samples.insert(samples.end(), out, out + 160);
    }
    Decoder_Interface_exit(decoder);
    return samples;
}
} // namespace

TEST_F(VoxCodec, EncoderHomingFrameGivesTheStartOfTheDecoderHomingFrame)
{
    EXPECT_EQ(Encode(Constant(160, 8), "gsm_amr_122", true).vox, VoxFile(kHoming122));
    EXPECT_EQ(Encode(Constant(160, 8), "gsm_amr_475", true).vox, VoxFile(kHoming475));
    EXPECT_EQ(Encode(Constant(480, 8), "gsm_amr_122", false).vox,
              VoxFile(Concat({kHoming122, kHoming122, kHoming122})));
}

TEST_F(VoxCodec, EncoderStartsAfreshAfterAHomingFrame)
{
    const Samples speech = SpeechLike(1);
    Samples input = speech;
    input.insert(input.begin(), 160, 8);
    for (const char* vocoder : {"gsm_amr_475", "gsm_amr_795", "gsm_amr_122"})
        for (bool noDtx : {true, false}) {
            const Messages afterHoming = MessagesOf(Encode(input, vocoder, noDtx).vox);
            const Messages fresh = MessagesOf(Encode(speech, vocoder, noDtx).vox);
            ASSERT_EQ(afterHoming.size(), fresh.size() + 1);
            EXPECT_EQ(Messages(afterHoming.begin() + 1, afterHoming.end()), fresh) << vocoder << noDtx;
        }
}

TEST_F(VoxCodec, HomingFramesDecodeToTheHomingSampleFromTheFirst)
{
    for (const Words& homing : {kHoming122, kHoming475}) {
        const DecodeResult decoded = Decode(VoxFile(Concat({homing, homing, homing})));
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.samples, Constant(480, 8));
    }
}

TEST_F(VoxCodec, OnlyASpeechFrameOfItsOwnCanBeAHomingFrame)
{
    // After a homing frame the decoder starts afresh; a lost frame that
    // follows is concealed by the codec, not muted by stale parameters.
    const DecodeResult decoded = Decode(VoxFile(Concat({kHoming122, kNoData122, kNoData122})));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(Frames(decoded.samples, 0, 1), Constant(160, 8));
    EXPECT_EQ(Frames(decoded.samples, 1, 2), LibraryDecode({{0x7C}, {0x7C}}));
}

TEST_F(VoxCodec, DtxSilenceEndsInNoDataMessages)
{
    Samples input = SpeechLike(1);
    input.resize(input.size() + 8000, 0);
    const Messages messages = MessagesOf(Encode(input, "gsm_amr_122", false).vox);
    ASSERT_EQ(messages.size(), 100u);
    EXPECT_EQ(messages.back(), kNoData122);
}

TEST_F(VoxCodec, DecodedWaveHasOneFrameOfSamplesPerMessage)
{
    const Samples input = SpeechLike(1);
    const Words bad = {0x1190, 0x1234, 0x5678, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x8F00};
    for (bool noDtx : {true, false}) {
        const QByteArray vox = Encode(input, "gsm_amr_122", noDtx).vox + BytesOf(bad) + BytesOf({0x0591, 1, 2, 3, 4});
        const DecodeResult decoded = Decode(vox);
        ASSERT_TRUE(decoded.ok);
        const int n = 51;
        ASSERT_EQ(decoded.wav.size(), 44 + 320 * n);
        EXPECT_EQ(WordsOf(decoded.wav.left(44)), (Words{0x4952, 0x4646, uint16_t(36 + 320 * n),
                                                        0,      0x4157, 0x4556,
                                                        0x6D66, 0x2074, 16,
                                                        0,      1,      1,
                                                        8000,   0,      16000,
                                                        0,      2,      16,
                                                        0x6164, 0x6174, uint16_t(320 * n),
                                                        0}));
    }
}

TEST_F(VoxCodec, BadFrameIsConcealedLikeALostOne)
{
    const QByteArray vox = Encode(SpeechLike(1), "gsm_amr_122", true).vox;
    const Words lastAsBad = {0x1190, 0x1234, 0x5678, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x8F00};
    const Samples withBad = Decode(vox + BytesOf(lastAsBad)).samples;
    const Samples withLost = Decode(vox + BytesOf(kNoData122)).samples;
    ASSERT_EQ(withBad.size(), 51u * 160);
    EXPECT_EQ(withBad, withLost);
}

TEST_F(VoxCodec, ShortOrForeignMessagesDecodeAsLostFrames)
{
    const QByteArray vox = Encode(SpeechLike(1), "gsm_amr_122", true).vox;
    const Samples withLost = Decode(vox + BytesOf(kNoData122)).samples;
    const std::vector<std::pair<Words, const char*>> cases = {
        {{0x0590, 0x1234, 0x5678, 0x9ABC, 0x0F00}, "12.2 speech in five words"},
        {{0x0390, 0x1234, 0x0FA0}, "SID_UPDATE in three words"},
        {{0x1190, 0x1234, 0x5678, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0200}, "a half-rate frame"},
        {{0x1190, 0x1234, 0x5678, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0060}, "gsm_fr, speech bad"},
    };
    for (const auto& c : cases) {
        const DecodeResult decoded = Decode(vox + BytesOf(c.first));
        ASSERT_TRUE(decoded.ok) << c.second;
        EXPECT_EQ(decoded.samples, withLost) << c.second;
    }
}

TEST_F(VoxCodec, FirstAcceptedMessageChoosesTheDecoder)
{
    Words oversized = {0x1390};
    oversized.insert(oversized.end(), 18, 0x0000);
    const DecodeResult skipped = Decode(VoxFile(Concat({oversized, kHoming122})));
    EXPECT_TRUE(skipped.ok) << "a skipped message names no vocoder";
    EXPECT_EQ(skipped.samples, Constant(160, 8));

    const DecodeResult efr = Decode(VoxFile(Concat({{0x0290, 0x0100}, kHoming122})));
    EXPECT_FALSE(efr.ok);
    EXPECT_EQ(m_Log.Detailed(), LogLine("id_vocoder_not_implemented"));
}

TEST_F(VoxCodec, DecoderRefusals)
{
    const std::vector<std::pair<QByteArray, const char*>> cases = {
        {QByteArrayLiteral(".VOX"), "id_no_vocoder_in_vox_file"},
        {VoxFile({0x0591, 1, 2, 3, 4}), "id_no_vocoder_in_vox_file"},
        {QByteArrayLiteral(".VO"), "id_not_proper_vox_file"},
        {QByteArrayLiteral("RIFF") + BytesOf(kHoming122), "id_not_proper_vox_file"},
        {VoxFile(Concat({{0x0290, 0x0100}, kHoming122})), "id_vocoder_not_implemented"},
    };
    for (const auto& c : cases) {
        LogScope log;
        EXPECT_FALSE(Decode(c.first).ok) << c.second;
        EXPECT_EQ(log.Detailed(), LogLine(c.second)) << c.second;
    }
}

TEST_F(VoxCodec, EncoderRefusalsWriteNothing)
{
    const Samples input = Constant(320, 100);
    const std::vector<std::tuple<QByteArray, const char*, const char*>> cases = {
        {PcmHeader(22050), "gsm_amr_122", "id_sampling_rate"},
        {PcmHeader(8000, 8), "gsm_amr_122", "id_13_bits"},
        {PcmHeader(8000, 24), "gsm_amr_122", "id_16_bits"},
        {PcmHeader(8000, 16, 2), "gsm_amr_122", "id_only_mono_wav_files"},
        {PcmHeader(8000, 16, 1, 3), "gsm_amr_122", "id_only_pcm_type"},
        {QByteArray(PcmHeader()).replace(0, 4, "RIFX"), "gsm_amr_122", "id_not_proper_wav_file"},
        {QByteArray(PcmHeader()).replace(36, 4, "fact"), "gsm_amr_122", "id_not_proper_wav_file"},
        {PcmHeader(), "gsm_fr", "id_vocoder_not_implemented"},
        {PcmHeader(), "gsm_efr", "id_vocoder_not_implemented"},
    };
    for (const auto& c : cases) {
        LogScope log;
        const EncodeResult result = Encode(input, std::get<1>(c), true, std::get<0>(c));
        EXPECT_FALSE(result.ok) << std::get<2>(c);
        EXPECT_TRUE(result.vox.isEmpty()) << std::get<2>(c);
        EXPECT_EQ(log.Detailed(), LogLine(std::get<2>(c))) << std::get<2>(c);
    }
}

TEST_F(VoxCodec, UnknownVocoderListsTheKnownOnes)
{
    const EncodeResult result = Encode(Constant(320, 100), "GSM_AMR_122", true);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.vox.isEmpty());
    EXPECT_EQ(m_Log.Detailed(), LogLine("id_not_in_list"));
    EXPECT_TRUE(m_Log.Summary().startsWith(LogLine("id_not_in_list") + QStringLiteral("\tgsm_fr\n\tgsm_efr\n")));
    EXPECT_TRUE(m_Log.Summary().endsWith(QStringLiteral("\tgsm_amr_122\n")));
}

TEST_F(VoxCodec, LessThanOneFrameGivesTheMagicAlone)
{
    const EncodeResult result = Encode(Constant(159, 100), "gsm_amr_122", true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.vox, QByteArrayLiteral(".VOX"));
    const Messages tail = MessagesOf(Encode(Constant(1000, 8), "gsm_amr_122", true).vox);
    EXPECT_EQ(tail.size(), 6u) << "the last 40 samples are not coded";
}

TEST_F(VoxCodec, TraceListsEveryMessage)
{
    const QByteArray vox = VoxFile(Concat({kHoming122, {0x0591, 1, 2, 3, 4}, {0x0290, 0xE2E0}}));
    const DecodeResult traced = Decode(vox, true);
    ASSERT_TRUE(traced.ok);
    EXPECT_TRUE(traced.wav.isEmpty());
    EXPECT_EQ(m_Log.Summary(), QStringLiteral("########  Frame #0 #######\n"
                                              "msg_length   : 17\n"
                                              "msg_type     : DATA_PLAY\n"
                                              "bfi          : 0\n"
                                              "taf          : 0\n"
                                              "ufi          : 0\n"
                                              "vocoder_type : gsm_amr_122\n"
                                              "rx_type      : RX_SPEECH_GOOD\n"
                                              "###########################\n\n"
                                              "########  Frame #1 #######\n"
                                              "msg_length   : 2\n"
                                              "msg_type     : DATA_PLAY\n"
                                              "bfi          : 1\n"
                                              "taf          : 1\n"
                                              "ufi          : 1\n"
                                              "vocoder_type : gsm_hr\n"
                                              "rx_type      : 7\n"
                                              "###########################\n\n"));
    EXPECT_EQ(m_Log.Detailed(), QString());
}

// The converter's roads, which hold a long sound once: coding samples where they lie gives the clip the memory
// file gives, and decoding into a wave document gives the header and samples of the decoded WAV file.
TEST_F(VoxCodec, InPlaceCodingAndDecodingGiveTheSameBytes)
{
    const QByteArray header = PcmHeader();
    for (const char* vocoder : {"gsm_amr_122", "gsm_amr_475", "gsm_hr"}) {
        for (bool noDtx : {true, false}) {
            SCOPED_TRACE(std::string(vocoder) + (noDtx ? " without DTX" : " with DTX"));
            const Samples input = SpeechLike(2);
            const QByteArray samples = SampleBytes(input);
            CMemFile vox;
            ASSERT_TRUE(EncodeVox(reinterpret_cast<const unsigned char*>(header.constData()),
                                  reinterpret_cast<const unsigned char*>(samples.constData()), uint32_t(samples.size()),
                                  vox, QString::fromLatin1(vocoder), noDtx, nullptr));
            const QByteArray clip = Contents(vox);
            EXPECT_EQ(clip, Encode(input, vocoder, noDtx).vox);

            CDocumentWave wave;
            ASSERT_TRUE(DecodeVox(vox, wave));
            const QByteArray wav = Decode(clip).wav;
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&wave.m_WAVEheader), 44), wav.left(44));
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wave.m_pInputData), int(wave.m_WAVEheader.data_ckSize)),
                      wav.mid(44));
        }
    }
    // Refusals are those of the file road, with nothing in the document.
    CMemFile notVox;
    Fill(notVox, QByteArray("RIFF"));
    CDocumentWave wave;
    EXPECT_FALSE(DecodeVox(notVox, wave));
    EXPECT_EQ(wave.m_pInputData, nullptr);
}
