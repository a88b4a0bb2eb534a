// The adaptor against the codec library itself: its tables equal the ones
// inside the package's static archive, and every frame, frame type and
// decoded sample matches what the library makes on its own.
#include "PlexaTestSupport.h"

#include "AmrAdaptor.h"
#include "AmrTables.h"

#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrnb/interf_enc.h>

#include <gtest/gtest.h>

#include <cstring>

// The library's own tables, reachable only by linking its static archive.
extern "C" {
extern const short reorderBits_MR475[], reorderBits_MR515[], reorderBits_MR59[], reorderBits_MR67[], reorderBits_MR74[],
    reorderBits_MR795[], reorderBits_MR102[], reorderBits_MR122[];
extern const short bitno_MR475[], bitno_MR515[], bitno_MR59[], bitno_MR67[], bitno_MR74[], bitno_MR795[], bitno_MR102[],
    bitno_MR122[], bitno_MRDTX[];
extern const short prmno[];
extern const short numOfBits[];
}

using namespace PlexaTest;

namespace {
const short* const kLibrarySort[8] = {reorderBits_MR475, reorderBits_MR515, reorderBits_MR59,  reorderBits_MR67,
                                      reorderBits_MR74,  reorderBits_MR795, reorderBits_MR102, reorderBits_MR122};
const short* const kLibraryWidths[9] = {bitno_MR475, bitno_MR515, bitno_MR59,  bitno_MR67, bitno_MR74,
                                        bitno_MR795, bitno_MR102, bitno_MR122, bitno_MRDTX};
const char* const kModeNames[8] = {"gsm_amr_475", "gsm_amr_515", "gsm_amr_59",  "gsm_amr_67",
                                   "gsm_amr_74",  "gsm_amr_795", "gsm_amr_102", "gsm_amr_122"};

typedef std::vector<uint8_t> Frame;

int StorageBit(const Frame& frame, int i)
{
    return (frame[size_t(1 + i / 8)] >> (7 - i % 8)) & 1;
}

int FrameType(const Frame& frame)
{
    return (frame[0] >> 3) & 0x0F;
}

// The library on its own: one storage frame per 160 samples.
std::vector<Frame> LibraryEncode(const Samples& samples, int mode, bool dtx)
{
    void* encoder = Encoder_Interface_init(dtx ? 1 : 0);
    std::vector<Frame> frames;
    for (size_t at = 0; at + 160 <= samples.size(); at += 160) {
        short speech[160];
        std::memcpy(speech, samples.data() + at, sizeof(speech));
        Frame frame(32, 0);
        Encoder_Interface_Encode(encoder, static_cast<enum Mode>(mode), speech, frame.data(), 0);
        frames.push_back(frame);
    }
    Encoder_Interface_exit(encoder);
    return frames;
}

Samples LibraryDecode(std::vector<Frame> frames)
{
    void* decoder = Decoder_Interface_init();
    Samples samples;
    for (Frame& frame : frames) {
        // A SID_UPDATE message carries only its first 32 bits.
        if (FrameType(frame) == 8 && StorageBit(frame, 35))
            frame[5] &= 0x1F;
        short out[160];
        Decoder_Interface_Decode(decoder, frame.data(), out, 0);
        samples.insert(samples.end(), out, out + 160);
    }
    Decoder_Interface_exit(decoder);
    return samples;
}

// The payload bits of a message, first bit first.
std::vector<uint8_t> PayloadBits(const Words& message, int count)
{
    std::vector<uint8_t> bits;
    for (int i = 0; i < count; ++i)
        bits.push_back(uint8_t((message[size_t(1 + i / 16)] >> (i % 16)) & 1));
    return bits;
}
} // namespace

TEST(AmrTables, EqualTheLibraryTablesEntryByEntry)
{
    int total = 0;
    for (int mode = 0; mode < 8; ++mode) {
        const PlexaAmr::AmrModeTable& table = PlexaAmr::ModeTable(mode);
        ASSERT_EQ(table.bits, numOfBits[mode]) << mode;
        ASSERT_EQ(table.parameters, prmno[mode]) << mode;
        for (int i = 0; i < table.bits; ++i)
            ASSERT_EQ(table.sort[i], kLibrarySort[mode][i]) << "mode " << mode << " bit " << i;
        for (int p = 0; p < table.parameters; ++p)
            ASSERT_EQ(table.widths[p], kLibraryWidths[mode][p]) << "mode " << mode << " parameter " << p;
        total += table.bits;
    }
    EXPECT_EQ(total, 1205);
    const PlexaAmr::AmrModeTable& sid = PlexaAmr::ModeTable(PlexaAmr::kModeSid);
    ASSERT_EQ(sid.parameters, prmno[8]);
    for (int p = 0; p < sid.parameters; ++p)
        EXPECT_EQ(sid.widths[p], kLibraryWidths[8][p]);
    EXPECT_EQ(sid.bits, 35);
}

TEST(AmrTables, FreshLibraryEncoderAnswersAnEncoderHomingFrameWithOurDecoderHomingFrame)
{
    for (int mode = 0; mode < 8; ++mode) {
        const Frame frame = LibraryEncode(Constant(160, 0x0008), mode, false).at(0);
        ASSERT_EQ(FrameType(frame), mode);
        const PlexaAmr::AmrModeTable& table = PlexaAmr::ModeTable(mode);
        std::vector<uint8_t> bits(size_t(table.bits));
        for (int i = 0; i < table.bits; ++i)
            bits[size_t(kLibrarySort[mode][i])] = uint8_t(StorageBit(frame, i));
        uint16_t parameters[PlexaAmr::kMaxParameters];
        PlexaAmr::AmrBitsToParameters(mode, bits.data(), parameters);
        for (int p = 0; p < table.parameters; ++p)
            EXPECT_EQ(parameters[p], table.homing[p]) << "mode " << mode << " parameter " << p;
    }
}

class AmrAgainstLibrary : public ::testing::TestWithParam<int>
{
protected:
    static const Samples& Input()
    {
        static const Samples samples = SpeechLike(10);
        return samples;
    }
};

TEST_P(AmrAgainstLibrary, WithoutDtxEveryMessageResortedIsTheLibraryFrame)
{
    const int mode = GetParam();
    LogScope log;
    const EncodeResult ours = Encode(Input(), kModeNames[mode], true);
    ASSERT_TRUE(ours.ok);
    const Messages messages = MessagesOf(ours.vox);
    const std::vector<Frame> frames = LibraryEncode(Input(), mode, false);
    ASSERT_EQ(messages.size(), frames.size());
    const PlexaAmr::AmrModeTable& table = PlexaAmr::ModeTable(mode);
    for (size_t f = 0; f < frames.size(); ++f) {
        ASSERT_EQ(FrameType(frames[f]), mode);
        ASSERT_EQ(messages[f].size(), size_t(table.payloadWords + 1)) << f;
        ASSERT_EQ(RxOf(messages[f]), PlexaAmr::RX_SPEECH_GOOD) << f;
        const std::vector<uint8_t> bits = PayloadBits(messages[f], table.bits);
        for (int i = 0; i < table.bits; ++i)
            ASSERT_EQ(bits[size_t(kLibrarySort[mode][i])], StorageBit(frames[f], i)) << "frame " << f << " bit " << i;
    }
}

TEST_P(AmrAgainstLibrary, WithDtxTheFrameTypesFollowTheLibraryAndTheSidSchedule)
{
    const int mode = GetParam();
    LogScope log;
    const EncodeResult ours = Encode(Input(), kModeNames[mode], false);
    ASSERT_TRUE(ours.ok);
    const Messages messages = MessagesOf(ours.vox);
    const std::vector<Frame> frames = LibraryEncode(Input(), mode, true);
    ASSERT_EQ(messages.size(), frames.size());
    int sidFirsts = 0;
    long lastSidFirst = -1; // -1: speech since
    for (size_t f = 0; f < frames.size(); ++f) {
        const Words& message = messages[f];
        const int type = FrameType(frames[f]);
        const int rx = RxOf(message);
        if (type < 8) {
            ASSERT_EQ(rx, PlexaAmr::RX_SPEECH_GOOD) << f;
            lastSidFirst = -1;
        } else if (type == 8 && !StorageBit(frames[f], 35)) {
            ASSERT_EQ(rx, PlexaAmr::RX_SID_FIRST) << f;
            ASSERT_EQ(message.size(), 2u) << f;
            ++sidFirsts;
            lastSidFirst = long(f);
        } else if (type == 8) {
            ASSERT_EQ(rx, PlexaAmr::RX_SID_UPDATE) << f;
            ASSERT_EQ(message.size(), 4u) << f;
            EXPECT_EQ(message[3] & 0x1F, 0) << f;
            const std::vector<uint8_t> bits = PayloadBits(message, 32);
            for (int i = 0; i < 32; ++i)
                ASSERT_EQ(bits[size_t(i)], StorageBit(frames[f], i)) << "frame " << f << " bit " << i;
            // The first update three frames after SID_FIRST, then every eighth.
            const long since = long(f) - lastSidFirst;
            if (lastSidFirst >= 0) {
                EXPECT_TRUE(since >= 3 && (since - 3) % 8 == 0) << f << " " << since;
            }
        } else {
            ASSERT_EQ(type, 15) << f;
            ASSERT_EQ(rx, PlexaAmr::RX_NO_DATA) << f;
            ASSERT_EQ(message.size(), 2u) << f;
        }
    }
    EXPECT_GE(sidFirsts, 3) << "the test signal must fall silent more than once";
}

TEST_P(AmrAgainstLibrary, PreviewEqualsTheLibraryDecodingItsOwnFrames)
{
    const int mode = GetParam();
    LogScope log;
    for (bool dtx : {false, true}) {
        const EncodeResult ours = Encode(Input(), kModeNames[mode], !dtx);
        ASSERT_TRUE(ours.ok);
        const DecodeResult preview = Decode(ours.vox);
        ASSERT_TRUE(preview.ok);
        const Samples expected = LibraryDecode(LibraryEncode(Input(), mode, dtx));
        ASSERT_EQ(preview.samples.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(preview.samples[i], expected[i]) << "dtx " << dtx << " sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, AmrAgainstLibrary, ::testing::Range(0, 8));
