// The VOX file on the byte level: magic, message reader and writer, the bit
// operations of the payload, and the vocoder table.
#include "PlexaTestSupport.h"

#include "VoxBits.h"
#include "VoxFormat.h"
#include "VoxVocoders.h"

#include <gtest/gtest.h>

using namespace PlexaTest;

namespace {
VoxFrame FrameWith(std::initializer_list<uint16_t> words, uint16_t flags)
{
    VoxFrame frame;
    int i = 0;
    for (uint16_t word : words)
        frame.words[i++] = word;
    frame.flags = flags;
    return frame;
}

uint16_t Flags(int vocoder, int rx, bool bfi = false, bool taf = false, bool ufi = false)
{
    uint16_t flags = VoxFlags::WithRxType(VoxFlags::WithVocoderId(0, vocoder), rx);
    return uint16_t(flags | (bfi ? VoxFlags::kBfi : 0) | (taf ? VoxFlags::kTaf : 0) | (ufi ? VoxFlags::kUfi : 0));
}

Words Written(VoxFrame frame)
{
    CMemFile file;
    EXPECT_TRUE(WriteVoxMessage(file, frame));
    return WordsOf(Contents(file));
}

// Every message the reader hands out, as (accepted, words 0..17, flags).
struct Read
{
    bool accepted;
    Words words;
    uint16_t flags;
};

std::vector<Read> ReadAll(const Words& words)
{
    CMemFile file;
    Fill(file, BytesOf(words));
    std::vector<Read> reads;
    VoxFrame frame;
    std::fill(frame.words, frame.words + kVoxMaxWords, uint16_t(0xDEAD));
    while (ReadVoxMessage(file, frame))
        reads.push_back({VoxMessageAccepted(frame), Words(frame.words, frame.words + kVoxMaxWords), frame.flags});
    return reads;
}
} // namespace

TEST(VoxMagic, WrittenAndChecked)
{
    CMemFile file;
    WriteVoxMagic(file);
    EXPECT_EQ(Contents(file), QByteArrayLiteral(".VOX"));
    for (const QByteArray& bytes : {QByteArrayLiteral(".VOX"), QByteArrayLiteral(".VO"), QByteArrayLiteral(".vox"),
                                    QByteArrayLiteral("RIFF"), QByteArray()}) {
        CMemFile input;
        Fill(input, bytes);
        EXPECT_EQ(CheckVoxMagic(input), bytes == ".VOX") << bytes.constData();
    }
}

TEST(VoxMessageWriter, ComposesTheFlagWord)
{
    // A half-rate frame the DTX logic did not send: bfi and ufi set.
    EXPECT_EQ(Written(FrameWith({0x0290, 0x1234}, Flags(2, 0, true, false, true))), (Words{0x0290, 0xA200}));
    // NO_DATA in 12.2.
    EXPECT_EQ(Written(FrameWith({0x0290, 0}, Flags(15, 7))), (Words{0x0290, 0x0FE0}));
    // 7.4 and 12.2 keep their last payload bits in the flag word, others do not.
    EXPECT_EQ(Written(FrameWith({0x0390, 0xFFFF, 0x001F}, Flags(12, 0, false, true))), (Words{0x0390, 0xFFFF, 0x4C1F}));
    EXPECT_EQ(Written(FrameWith({0x0390, 0xFFFF, 0x001F}, Flags(8, 5))), (Words{0x0390, 0xFFFF, 0x08A0}));
    EXPECT_EQ(Written(FrameWith({0x0390, 0xFFFF, 0x001F}, Flags(15, 0, true))), (Words{0x0390, 0xFFFF, 0x8F00}));
    EXPECT_EQ(Written(FrameWith({0x0390, 0xFFFF, 0x001F}, Flags(0, 0))), (Words{0x0390, 0xFFFF, 0x001F}));
    // The flag word's low five bits, not more, come from the payload.
    EXPECT_EQ(Written(FrameWith({0x0290, 0xFFFF}, Flags(1, 3))), (Words{0x0290, 0x017F}));
}

TEST(VoxMessageWriter, RefusesMessagesWithoutAFlagWord)
{
    for (uint16_t header : {uint16_t(0x0090), uint16_t(0x0190), uint16_t(0x1390)}) {
        VoxFrame frame = FrameWith({header}, 0);
        CMemFile file;
        EXPECT_FALSE(WriteVoxMessage(file, frame)) << header;
        EXPECT_EQ(file.GetSize(), 0u);
    }
}

TEST(VoxMessageReader, TakesFlagsAndPayloadApart)
{
    const std::vector<Read> reads = ReadAll({0x0390, 0x1234, 0xEFFF});
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_TRUE(reads[0].accepted);
    EXPECT_EQ(reads[0].words[1], 0x1234);
    EXPECT_EQ(reads[0].words[2], 0x001F);
    EXPECT_EQ(reads[0].flags & 0x03FF, Flags(15, 7, true, true, true));
    for (size_t i = 3; i < reads[0].words.size(); ++i)
        EXPECT_EQ(reads[0].words[i], 0) << "word " << i << " is left from no message";
}

TEST(VoxMessageReader, SkipsForeignAndOversizedMessagesByTheirLength)
{
    Words oversized = {0x1390};
    oversized.insert(oversized.end(), 18, 0x0F00);
    const std::vector<std::pair<Words, const char*>> cases = {
        {{0x0591, 1, 2, 3, 4}, "foreign type"},
        {oversized, "L = 19"},
        {{0x0190}, "DATA_PLAY of one word"},
    };
    for (const auto& c : cases) {
        Words file = c.first;
        file.insert(file.end(), {0x0290, 0x0FE0});
        const std::vector<Read> reads = ReadAll(file);
        ASSERT_EQ(reads.size(), 2u) << c.second;
        EXPECT_FALSE(reads[0].accepted) << c.second;
        EXPECT_TRUE(reads[1].accepted) << c.second;
        EXPECT_EQ(VoxFlags::RxType(reads[1].flags), 7) << c.second;
        EXPECT_EQ(VoxFlags::VocoderId(reads[1].flags), 15) << c.second;
    }
}

TEST(VoxMessageReader, EndsAtAZeroLengthOrATruncatedMessage)
{
    EXPECT_EQ(ReadAll({0x0290, 0x0FE0, 0x0090, 0x0290, 0x0FE0}).size(), 1u);
    EXPECT_EQ(ReadAll({0x0290, 0x0FE0, 0x0490, 1, 2}).size(), 1u);
    EXPECT_EQ(ReadAll({0x0290, 0x0FE0, 0x0591, 1}).size(), 1u);
    EXPECT_EQ(ReadAll({}).size(), 0u);
    CMemFile odd;
    Fill(odd, QByteArrayLiteral("\x90"));
    VoxFrame frame;
    EXPECT_FALSE(ReadVoxMessage(odd, frame));
}

TEST(VoxMessage, AmrFrameKeepsItsBitsAndFlagsThroughWriteAndRead)
{
    VoxFrame frame;
    frame.words[0] = VoxHeader(17);
    uint32_t seed = 7;
    for (int i = 1; i <= 15; ++i) {
        seed = seed * 1103515245u + 12345u;
        frame.words[i] = uint16_t(seed >> 16);
    }
    frame.words[16] = 0x000B;
    frame.flags = uint16_t(Flags(15, 0) | 0xFC00);
    CMemFile file;
    ASSERT_TRUE(WriteVoxMessage(file, frame));
    file.Rewind();
    VoxFrame back;
    back.flags = 0xFC00;
    ASSERT_TRUE(ReadVoxMessage(file, back));
    EXPECT_EQ(Words(back.words, back.words + 17), Words(frame.words, frame.words + 17));
    EXPECT_EQ(back.flags, frame.flags);
}

TEST(VoxBits, PackAndUnpack)
{
    std::vector<uint8_t> bits(21);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = uint8_t((0x1B5A3Cu >> i) & 1);
    uint16_t words[2] = {0xFFFF, 0xFFFF};
    PackBits(21, bits.data(), words);
    EXPECT_EQ(words[0], 0x5A3C);
    EXPECT_EQ(words[1], 0x001B);
    std::vector<uint8_t> back(21, 9);
    UnpackBits(21, words, back.data());
    EXPECT_EQ(back, bits);
    EXPECT_EQ(PackWord(bits.data()), 0x5A3C);
}

TEST(VoxBits, ValuesMostSignificantFirst)
{
    const struct
    {
        uint32_t value;
        int n;
        std::vector<uint8_t> bits;
    } cases[] = {
        {0x5, 3, {1, 0, 1}},
        {0x5, 5, {0, 0, 1, 0, 1}},
        {0x1FF, 9, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {0xF3, 4, {0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bits(size_t(c.n));
        ValueToBits(c.value, c.n, bits.data());
        EXPECT_EQ(bits, c.bits) << c.value;
        EXPECT_EQ(BitsToValue(c.n, bits.data()), c.value & ((1u << c.n) - 1)) << c.value;
    }
}

TEST(VoxVocoderTable, NamesAndIds)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"gsm_fr", 0},       {"gsm_efr", 1},      {"gsm_hr", 2},      {"gsm_amr_475", 8},  {"gsm_amr_515", 9},
        {"gsm_amr_59", 10},  {"gsm_amr_67", 11},  {"gsm_amr_74", 12}, {"gsm_amr_795", 13}, {"gsm_amr_102", 14},
        {"gsm_amr_122", 15}, {"GSM_AMR_122", -1}, {"", -1},           {"gsm_amr", -1},     {" gsm_hr", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindVocoder(QString::fromLatin1(c.first)), c.second) << c.first;
    LogScope log;
    ListVocoders();
    EXPECT_EQ(log.Summary(), QStringLiteral("\tgsm_fr\n\tgsm_efr\n\tgsm_hr\n\tgsm_amr_475\n\tgsm_amr_515\n"
                                            "\tgsm_amr_59\n\tgsm_amr_67\n\tgsm_amr_74\n\tgsm_amr_795\n"
                                            "\tgsm_amr_102\n\tgsm_amr_122\n"));
    EXPECT_EQ(log.Detailed(), QString());
    EXPECT_EQ(CompatibilityKey(2), QStringLiteral("gsm_hrVocoderCompatible"));
    EXPECT_EQ(CompatibilityKey(10), QStringLiteral("gsm_amr_122VocoderCompatible"));
}
