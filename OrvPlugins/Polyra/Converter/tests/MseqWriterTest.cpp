// The MSEQ writer's bytes, worked out by hand from the format.
#include "MseqWriter.h"
#include "PolyraTestSupport.h"
#include "PolyraTrace.h"

#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <gtest/gtest.h>

using namespace PolyraTest;

namespace {

Words MiscWords(const MseqWriter& writer)
{
    return BytesToWords(writer.GetTrackBytes(0), writer.GetTrackLength(0));
}

// The commands after the open word, size and 0xFFFF of the MISC track.
Words CommandsOf(const MseqWriter& writer)
{
    Words words = MiscWords(writer);
    return Words(words.begin() + 4, words.end());
}

class MseqWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writer.Reset();
        ASSERT_TRUE(writer.OpenTrack(Mseq::TrackNote));
    }
    MseqWriter writer;
};

TEST_F(MseqWriterTest, EmptyConversionIsTwentySixBytesAndItsTrack)
{
    ASSERT_TRUE(writer.WriteRtb(1));
    ASSERT_TRUE(writer.CloseTrack(Mseq::TrackNote));
    CMemFile out;
    ASSERT_TRUE(writer.WriteFile(out, 500000 / 96, 1, 0));
    // 12 track bytes: 6 words, plus 13 for the header and the end word.
    const QByteArray expected = QByteArray(".SEQ", 4)
                                + QByteArray::fromHex("21"
                                                      "130000"
                                                      "0000"
                                                      "1c000000"
                                                      "1c000000"
                                                      "581400"
                                                      "80"
                                                      "01"
                                                      "ff")
                                + WordBytes({0x019E, 0x0601, 0x0000, 0xFFFF, 0x003B, 0x01FE, 0x001F});
    EXPECT_EQ(FileBytes(out).toHex(), expected.toHex());
    EXPECT_EQ(out.GetSize(), 26u + 12u);
}

struct DelayCase
{
    uint64_t ticks;
    Words words;
};

TEST_F(MseqWriterTest, PendingDelaysTakeTheSmallestForm)
{
    const DelayCase cases[] = {
        {0, {}},
        {1, {0x0036}},
        {2047, {0xFFF6}},
        {2048, {0x0017, 0x0001}},
        {5000, {uint16_t(((5000 & 0x7FF) << 5) | 23), 5000 >> 11}},
        {(1u << 27) - 1, {0xFFF7, 0xFFFF}},
        // The second word holds 16 bits: a longer pause takes more pairs.
        {(1u << 27) + 5, {0xFFF7, 0xFFFF, uint16_t((6 << 5) | 23), 0x0000}},
    };
    for (const DelayCase& c : cases) {
        SetUp();
        writer.AddDelay(c.ticks);
        ASSERT_TRUE(writer.FlushDelay()) << c.ticks;
        EXPECT_EQ(CommandsOf(writer), c.words) << c.ticks;
        EXPECT_EQ(writer.GetPendingDelay(), 0u);
    }
}

struct NoteCase
{
    unsigned duration;
    unsigned velocity;
    Words words;
    bool userLine;
};

TEST_F(MseqWriterTest, NotesHoldLongDurationsToTheFieldAndHalveVelocities)
{
    const uint16_t note = NoteWord(3, 69);
    const NoteCase cases[] = {
        {1, 100, {note, NoteLength(1, 50)}, false},
        {1023, 127, {note, NoteLength(1023, 63)}, false},
        {1024, 1, {note, NoteLength(1023, 0)}, false},
        {2046, 20, {note, NoteLength(1023, 10)}, false},
        {0, 100, {}, false},
        {5, 128, {note, NoteLength(5, 63)}, true},
        {5, 255, {note, NoteLength(5, 63)}, true},
    };
    for (const NoteCase& c : cases) {
        SetUp();
        CConversionLog log;
        PolyraTrace trace(&log, true);
        ASSERT_TRUE(writer.WriteNote(3, 69, c.velocity, c.duration, &trace));
        EXPECT_EQ(CommandsOf(writer), c.words) << c.duration << " " << c.velocity;
        EXPECT_EQ(log.GetSummaryText(),
                  c.userLine ? QStringLiteral("\nUSAGER : velocite > 127 (DATA INCOHERENTE), reduite a 63\n")
                             : QString());
    }
}

TEST_F(MseqWriterTest, CommandWordsCarryTheirFields)
{
    ASSERT_TRUE(writer.WriteInstrument(9, 16 & 15, 7));
    ASSERT_TRUE(writer.WriteInstrument(2, 4, 3));
    ASSERT_TRUE(writer.WriteVolume(15, 127));
    ASSERT_TRUE(writer.WriteSynchro(0, 258));
    ASSERT_TRUE(writer.WriteRtb(2047));
    EXPECT_EQ(CommandsOf(writer), (Words{0x0F23, 0x4643, 0xFFE4, 0x0059, 0xFFFB}));
}

struct HeaderCase
{
    int booster;
    int equalizer;
    int trackCount;
    uint8_t flags;
};

TEST_F(MseqWriterTest, HeaderCountsWordsAndCarriesSoundFlagsAndTracks)
{
    const HeaderCase cases[] = {
        {1, 0, 1, 0x80},
        {2, 0, 1, 0x88},
        {1, 7, 2, 0x87},
        {2, 5, 3, 0x8D},
    };
    for (const HeaderCase& c : cases) {
        writer.Reset();
        ASSERT_TRUE(writer.OpenTrack(0));
        ASSERT_TRUE(writer.WriteRtb(4));
        ASSERT_TRUE(writer.CloseTrack(0));
        if (c.trackCount == 3) {
            for (int track : {1, 2}) {
                ASSERT_TRUE(writer.OpenTrack(track));
                ASSERT_TRUE(writer.CloseTrack(track));
            }
        }
        writer.SetTrackCount(c.trackCount);
        CMemFile out;
        ASSERT_TRUE(writer.WriteFile(out, 0x123456, c.booster, c.equalizer));
        const QByteArray bytes = FileBytes(out);
        // Track 1 counted but never opened adds no bytes.
        const int trackBytes = 12 + (c.trackCount == 3 ? 2 * 10 : 0);
        ASSERT_EQ(bytes.size(), 26 + trackBytes);
        const int words = trackBytes / 2 + 13;
        EXPECT_EQ(bytes.mid(4, 4).toHex(), QByteArray("21") + QByteArray::number(words, 16) + QByteArray("0000"));
        EXPECT_EQ(bytes.mid(18, 3).toHex(), QByteArray("563412"));
        EXPECT_EQ(uint8_t(bytes[21]), c.flags);
        EXPECT_EQ(int(bytes[22]), c.trackCount);
        EXPECT_EQ(bytes.right(2).toHex(), QByteArray("1f00"));
        if (c.trackCount == 3) {
            EXPECT_EQ(bytes.mid(36, 10), WordBytes({0x029E, 0x0510, 0x0000, 0xFFFF, 0x02FE}));
        }
    }
}

TEST_F(MseqWriterTest, LongTextStoresBackslashAsCarriageReturnAndPadsOddCounts)
{
    ASSERT_TRUE(writer.WriteLongText(0, "a\\b", 3));
    ASSERT_TRUE(writer.WriteLongText(0, "xy", 2));
    EXPECT_EQ(CommandsOf(writer), (Words{0x0601, 0x0D61, 0xFF62, 0x0401, 0x7978}));

    SetUp();
    const QByteArray longText(200, 'z');
    ASSERT_TRUE(writer.WriteLongText(0, longText.constData(), longText.size()));
    const Words words = CommandsOf(writer);
    ASSERT_EQ(words.size(), 1u + 64u);
    EXPECT_EQ(words[0], (127 << 9) | 1);
    EXPECT_EQ(words.back(), 0xFF7A);
}

TEST_F(MseqWriterTest, FullTrackRefusesWritesBeforePassingItsSize)
{
    // 8 bytes of opening; 64992 more fill the buffer exactly.
    for (int i = 0; i < (Mseq::TrackBufferSize - 8) / 2; ++i)
        ASSERT_TRUE(writer.Write16(0, 0x0036));
    const int full = writer.GetTrackLength(0);
    EXPECT_EQ(full, Mseq::TrackBufferSize);
    EXPECT_FALSE(writer.Write16(0, 0x0036));
    EXPECT_FALSE(writer.CloseTrack(0));
    EXPECT_FALSE(writer.WriteNote(0, 60, 100, 1, nullptr));
    EXPECT_EQ(writer.GetTrackLength(0), full);
}

TEST_F(MseqWriterTest, HugeDelaysFailAtOnceAndANoteNeedsRoomForBothWords)
{
    writer.AddDelay(uint64_t(1) << 50);
    EXPECT_FALSE(writer.FlushDelay());
    // Room for one word only: the note does not start.
    SetUp();
    for (int i = 0; i < (Mseq::TrackBufferSize - 8 - 2) / 2; ++i)
        ASSERT_TRUE(writer.Write16(0, 0x0036));
    const int before = writer.GetTrackLength(0);
    EXPECT_FALSE(writer.WriteNote(0, 60, 100, 1, nullptr));
    EXPECT_EQ(writer.GetTrackLength(0), before);
    EXPECT_TRUE(writer.WriteNote(0, 60, 100, 0, nullptr));
}

} // namespace
