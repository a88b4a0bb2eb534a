// Small MIDI files through the whole pipeline, every MSEQ word worked out by
// hand: time base, note lengths, delays, volumes and the budget.
#include "PolyraTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace PolyraTest;
using MidiTest::TrackBuilder;

namespace {

// A volume after the gain stage, scaled by the first render's factor less
// its 10 % margin.
int AfterWave(int volume, const PipelineRun& run)
{
    return std::min(127, int(std::floor(volume * double(run.results.firstFactor) * 0.9)));
}

uint32_t HeaderAtb(const PipelineRun& run)
{
    const auto* b = reinterpret_cast<const uint8_t*>(run.sequence.constData());
    return b[18] | (b[19] << 8) | (b[20] << 16);
}

TEST(PolyraPipelineTest, OneNoteGivesEveryWord)
{
    TrackBuilder music;
    music.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 64}).EndOfTrack();
    const PipelineRun run = RunPipeline(TwoTrackFile(music));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    // Deltas 96 and the merged end 350 share 2 with the division: 48 ticks
    // a quarter, ATB 500000 / 48; the note is one unit of 48 ticks; the
    // delay to the end is 48 + 175. One note at 100 peaks at 0.787: the
    // gain stage lifts 127 past the top.
    EXPECT_EQ(HeaderAtb(run), 10416u);
    EXPECT_EQ(run.Misc(), (Words{RtbWord(48), VolumeWord(0, AfterWave(127, run)), NoteWord(0, 60), NoteLength(1, 50),
                                 DelayWord(223)}));
    EXPECT_EQ(run.sequence.size(), 26 + 2 * (5 + 5));
    EXPECT_EQ(uint8_t(run.sequence[21]), 0x80);
    EXPECT_EQ(int(run.sequence[22]), 1);
    EXPECT_TRUE(run.log.contains(QStringLiteral("USER : Time base ATB=10416 microSeconds")));
}

TEST(PolyraPipelineTest, FiveThousandTicksApartIsOneExtendedDelay)
{
    TrackBuilder music;
    music.Event(0, {0x90, 60, 100})
        .Event(1, {0x80, 60, 0})
        .Event(4999, {0x90, 62, 100})
        .Event(1, {0x80, 62, 0})
        .EndOfTrack(1);
    const PipelineRun run = RunPipeline(TwoTrackFile(music));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    EXPECT_EQ(HeaderAtb(run), 500000u / 96);
    const int volume = AfterWave(127, run);
    EXPECT_EQ(run.Misc(), (Words{RtbWord(1), VolumeWord(0, volume), NoteWord(0, 60), NoteLength(1, 50),
                                 uint16_t(((5000 & 0x7FF) << 5) | 23), 5000 >> 11, NoteWord(0, 62), NoteLength(1, 50),
                                 DelayWord(2)}));
}

TEST(PolyraPipelineTest, ChordOverThePolyphonyLosesItsLowestNote)
{
    PolyraProfile profile = TestProfile();
    profile.loads[0].maximum = 2;
    TrackBuilder music;
    music.Event(0, {0x90, 60, 100})
        .Event(0, {0x90, 64, 100})
        .Event(0, {0x90, 67, 100})
        .Event(96, {0x80, 60, 0})
        .Event(0, {0x80, 64, 0})
        .Event(0, {0x80, 67, 0})
        .EndOfTrack(96);
    const PipelineRun run = RunPipeline(TwoTrackFile(music), profile);
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    // Two notes of 0.787 peak at 1.575: 127 / 1.575 = 80. Every delta is
    // 96, as is the division: one tick a quarter.
    EXPECT_EQ(run.Misc(), (Words{RtbWord(1), VolumeWord(0, AfterWave(80, run)), NoteWord(0, 64), NoteLength(1, 50),
                                 NoteWord(0, 67), NoteLength(1, 50), DelayWord(2)}));
    EXPECT_TRUE(run.log.contains(QStringLiteral("\tPolyphonie : 1 (100 %)\n")));
    EXPECT_FLOAT_EQ(run.results.peaksBefore[0], 3);
    EXPECT_FLOAT_EQ(run.results.peaksAfter[0], 2);
}

struct DetuneCase
{
    int shift;
    int lowNote;
    int pitch;
    int written;
};

TEST(PolyraPipelineTest, DetunesKeepPitchClassAndBand)
{
    const DetuneCase cases[] = {
        {2, 12, 60, 84},
        // 134 leaves the MIDI range and 122 the band: down by octaves.
        {2, 12, 110, 110},
        {-2, 12, 60, 36},
        // -19 is an F: whole octaves up keep it an F, then into the band.
        {-2, 0, 5, 5},
        {-2, 12, 5, 17},
        {-2, 12, 20, 20},
    };
    for (const DetuneCase& c : cases) {
        PolyraProfile profile = TestProfile();
        profile.lowNote = c.lowNote;
        PolyraParameters parameters = TestParameters();
        parameters.detune[0] = int8_t(c.shift * 12);
        TrackBuilder music;
        music.Event(0, {0x90, c.pitch, 100}).Event(96, {0x80, c.pitch, 0}).EndOfTrack(96);
        const PipelineRun run = RunPipeline(TwoTrackFile(music), profile, parameters);
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << c.pitch;
        const Words misc = run.Misc();
        ASSERT_GE(misc.size(), 3u);
        EXPECT_EQ(misc[2], NoteWord(0, c.written)) << c.shift << " " << c.pitch;
    }
}

struct DivisionCase
{
    int division;
    int delta;
    uint32_t atb;
    unsigned ticks; // the delta once divided
};

TEST(PolyraPipelineTest, TimeBaseDividesByACommonDivisorOfDivisionAndDeltas)
{
    const DivisionCase cases[] = {
        {96, 48, 500000 / 2, 1},
        // 40 does not divide 96: 8 divides both, so the piece keeps its pace.
        {96, 40, 500000 / 12, 5},
        // Deltas of 48 over a division of 24 change nothing.
        {24, 48, 500000 / 24, 48},
    };
    for (const DivisionCase& c : cases) {
        TrackBuilder music;
        music.Event(0, {0x90, 60, 100})
            .Event(uint32_t(c.delta), {0x80, 60, 0})
            .Event(uint32_t(c.delta), {0x90, 62, 100})
            .Event(uint32_t(c.delta), {0x80, 62, 0})
            .EndOfTrack(uint32_t(c.delta));
        const PipelineRun run = RunPipeline(TwoTrackFile(music, c.division));
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << c.division << " " << c.delta;
        EXPECT_EQ(HeaderAtb(run), c.atb) << c.division << " " << c.delta;
        const Words misc = run.Misc();
        ASSERT_EQ(misc.size(), 8u);
        EXPECT_EQ(misc[0], RtbWord(c.ticks));
        EXPECT_EQ(misc[4], DelayWord(2 * c.ticks));
        EXPECT_EQ(misc.back(), DelayWord(2 * c.ticks));
    }
}

TEST(PolyraPipelineTest, RtbFitsItsWordAndShortNotesKeepTheirLength)
{
    {
        // One note of 4200 ticks (and the merged end of 350): the base 4200
        // does not fit 11 bits; its divisor 1400 does.
        TrackBuilder music;
        music.Event(0, {0x90, 60, 100}).Event(4200, {0x80, 60, 0}).EndOfTrack();
        const PipelineRun run = RunPipeline(TwoTrackFile(music));
        ASSERT_EQ(run.outcome, PolyraOutcome::Done);
        const Words misc = run.Misc();
        ASSERT_GE(misc.size(), 4u);
        EXPECT_EQ(misc[0], RtbWord(1400));
        EXPECT_EQ(misc[3], NoteLength(3, 50));
    }
    {
        // Notes of 960, 5 and 955 ticks, two of them ending together: every
        // one takes part, so the base is 5 ticks and each keeps its length.
        TrackBuilder music;
        music.Event(0, {0x90, 60, 100})
            .Event(0, {0x90, 64, 100})
            .Event(5, {0x90, 67, 100})
            .Event(0, {0x80, 64, 0})
            .Event(955, {0x80, 60, 0})
            .Event(0, {0x80, 67, 0})
            .EndOfTrack();
        const PipelineRun run = RunPipeline(TwoTrackFile(music));
        ASSERT_EQ(run.outcome, PolyraOutcome::Done);
        const Words misc = run.Misc();
        ASSERT_EQ(misc.size(), 10u);
        EXPECT_EQ(misc[0], RtbWord(5));
        EXPECT_EQ(misc[3], NoteLength(192, 50));
        EXPECT_EQ(misc[4], NoteWord(0, 64));
        EXPECT_EQ(misc[5], NoteLength(1, 50));
        EXPECT_EQ(misc[6], DelayWord(5));
        EXPECT_EQ(misc[7], NoteWord(0, 67));
        EXPECT_EQ(misc[8], NoteLength(191, 50));
    }
}

struct FailureCase
{
    const char* name;
    QByteArray midi;
    PolyraOutcome outcome;
    const char* text;
};

TEST(PolyraPipelineTest, BadInputFailsWithItsMessage)
{
    TrackBuilder note;
    note.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
    TrackBuilder silent;
    silent.Event(0, {0xB0, 7, 0}).Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
    TrackBuilder noNotes;
    noNotes.Event(0, {0xC0, 5}).EndOfTrack(96);
    MidiTest::FileBuilder smpte;
    smpte.Header(0, 1, 0xE728).Track(note);
    // One microsecond a quarter over 96 ticks: no whole microsecond a tick.
    TrackBuilder fastTempo;
    fastTempo.Meta(0, 0x51, ::Bytes({0, 0, 1})).Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
    MidiTest::FileBuilder fast;
    fast.Header(0, 1, 96).Track(fastTempo);
    MidiTest::FileBuilder zeroDivision;
    zeroDivision.Header(0, 1, 0).Track(note);
    const FailureCase cases[] = {
        {"cut in header", TwoTrackFile(note).left(10), PolyraOutcome::Failed, "FORMAT 1 TO FORMAT 0 CONVERSION ERROR"},
        {"smpte", smpte.Data(), PolyraOutcome::Failed, "MIDI TEMPO TOO BIG"},
        {"division 0", zeroDivision.Data(), PolyraOutcome::Failed, "MIDI TEMPO NULL"},
        {"time base 0", fast.Data(), PolyraOutcome::Failed, "MIDI TEMPO NULL"},
        {"all volumes 0", TwoTrackFile(silent), PolyraOutcome::Failed, "ALL VOLUMES NULL"},
        {"no notes", TwoTrackFile(noNotes), PolyraOutcome::NoClassKept, "Tous les instruments sont supprimes"},
        {"too big", TwoTrackFile(note) + QByteArray(128000, '\0'), PolyraOutcome::Failed, "MIDI INPUT FILE TOO BIG"},
    };
    for (const FailureCase& c : cases) {
        const PipelineRun run = RunPipeline(c.midi);
        EXPECT_EQ(run.outcome, c.outcome) << c.name;
        EXPECT_TRUE(run.log.contains(QString::fromLatin1(c.text))) << c.name << "\n" << run.log.toStdString();
    }
}

TEST(PolyraPipelineTest, TooManyCommandsOverflowTheTable)
{
    // Running status keeps the file under the source limit.
    TrackBuilder music;
    music.Event(1, {0x90, 60, 100}).Event(1, {60, 0});
    for (int i = 0; i < 17600; ++i)
        music.Event(1, {60, 100}).Event(1, {60, 0});
    music.EndOfTrack();
    const PipelineRun run = RunPipeline(TwoTrackFile(music));
    EXPECT_EQ(run.outcome, PolyraOutcome::Failed);
    EXPECT_TRUE(run.log.contains(QStringLiteral("WORKSPACE OVERFLOW")));
    EXPECT_TRUE(run.log.contains(QStringLiteral("USER : MIDI file too large (too much MIDI commands)")));
}

TEST(PolyraPipelineTest, RemovedClassesAndBassMuteShapeTheLog)
{
    TrackBuilder music;
    music.Event(0, {0xC0, 33}).Event(0, {0x90, 40, 100}).Event(96, {0x80, 40, 0}).EndOfTrack();
    PolyraParameters parameters = TestParameters();
    parameters.keep[4] = 0;
    const PipelineRun removed = RunPipeline(TwoTrackFile(music), TestProfile(), parameters);
    EXPECT_EQ(removed.outcome, PolyraOutcome::NoClassKept);
    EXPECT_TRUE(removed.log.contains(QStringLiteral("Basse")));

    const PipelineRun quiet = RunPipeline(TwoTrackFile(music), TestProfile(), TestParameters(), true);
    ASSERT_EQ(quiet.outcome, PolyraOutcome::Done);
    // Only user lines: no stage heading.
    EXPECT_FALSE(quiet.log.contains(QStringLiteral("***")));
    EXPECT_TRUE(quiet.log.startsWith(QStringLiteral("\tProcessing...\n\n")));
    EXPECT_TRUE(quiet.dest.isEmpty());
}

TEST(PolyraPipelineTest, LoneSynthLeadPlaysAsQuietSineWithBooster)
{
    TrackBuilder music;
    music.Event(0, {0xC0, 80}).Event(0, {0x90, 69, 100}).Event(96, {0x80, 69, 0}).EndOfTrack();
    PolyraParameters parameters = TestParameters();
    parameters.equalizer = 5;
    parameters.booster = 0;
    const PipelineRun run = RunPipeline(TwoTrackFile(music), TestProfile(), parameters);
    ASSERT_EQ(run.outcome, PolyraOutcome::Done);
    EXPECT_EQ(uint8_t(run.sequence[21]), 0x88);
    const Words misc = run.Misc();
    ASSERT_GE(misc.size(), 3u);
    EXPECT_EQ(misc[1], uint16_t((10 << 12) | 3));
    EXPECT_LE((misc[2] >> 9) & 0x7F, 32);
}

} // namespace

namespace {
TEST(PolyraPipelineTest, ProgramByteWithTopBitStillNamesAClass)
{
    // The merge copies a program change's data byte as it stands.
    TrackBuilder music;
    music.Event(0, {0xC0, 0xF8}).Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
    const PipelineRun run = RunPipeline(TwoTrackFile(music));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done);
    const Words misc = run.Misc();
    ASSERT_GE(misc.size(), 2u);
    EXPECT_EQ(misc[1], uint16_t((15 << 12) | 3));
}
} // namespace

namespace {
TEST(PolyraPipelineTest, TextEventsLeaveNoCountedTrackWithoutBytes)
{
    // The merge keeps only tempo, time and key signatures of the meta
    // events, so a text never reaches the table, whatever the text flag.
    for (int keep : {0, 1}) {
        TrackBuilder music;
        music.Meta(0, 0x05, QByteArray("hi")).Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
        PolyraParameters parameters = TestParameters();
        parameters.textTrack = uint8_t(keep);
        const PipelineRun run = RunPipeline(TwoTrackFile(music), TestProfile(), parameters);
        ASSERT_EQ(run.outcome, PolyraOutcome::Done);
        EXPECT_EQ(int(run.sequence[22]), 1) << keep;
        EXPECT_EQ(run.sequence.size(), 26 + 2 * int(run.Misc().size() + 5)) << keep;
    }
}
} // namespace
