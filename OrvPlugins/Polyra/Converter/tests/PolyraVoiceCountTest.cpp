// The phone's voices counted one way: short notes are written exactly where
// the removal of overloads, run on the notes as written, finds room for
// them, and the gain stage counts releases in the table's own ticks.
#include "PolyraNotePairs.h"
#include "PolyraStages.h"
#include "PolyraTestSupport.h"
#include "PolyraWorkspace.h"
#include "PolyraWrittenNotes.h"

#include "MseqRender.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace PolyraTest;

namespace {

// A phone like Model C: 16 voices, drums released in 225 ms and costing 2.5
// of the processing budget.
PolyraProfile DrumPhone()
{
    PolyraProfile profile = TestProfile();
    profile.release[Polyra::DrumClass] = 225;
    profile.loads[1].perClass[Polyra::DrumClass] = 2.5f;
    return profile;
}

QByteArray NoteOn(int channel, int pitch, int velocity = 100)
{
    return ::Bytes({0x90 | channel, pitch, velocity});
}

QByteArray NoteOff(int channel, int pitch)
{
    return ::Bytes({0x80 | channel, pitch, 0});
}

void AddNote(std::vector<TimedEvent>& events, int channel, int pitch, uint32_t start, uint32_t ticks)
{
    events.push_back({start, NoteOn(channel, pitch)});
    events.push_back({start + ticks, NoteOff(channel, pitch)});
}

TEST(PolyraVoiceCountTest, FifteenHeldNotesLeaveTheHiHatItsVoice)
{
    // 15 piano notes held two bars at 480 ticks a quarter and a one-tick
    // closed hi-hat on every sixteenth: 16 voices, the key struck again
    // ending its earlier hit. The unit (4 ticks, for the held notes to fit
    // the duration field) is longer than a hit.
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    std::vector<TimedEvent> events;
    for (int n = 0; n < 15; ++n)
        AddNote(events, 0, 48 + n, 0, 3840);
    for (uint32_t hit = 0; hit < 32; ++hit)
        AddNote(events, 9, 42, hit * 120, 1);
    const PipelineRun run = RunPipeline(FileOf(events, 480), DrumPhone());
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    EXPECT_TRUE(run.log.contains(QStringLiteral("Passe 1 : 0 surcharges"))) << run.log.toStdString();
    int hits = 0;
    for (const WrittenNote& note : WrittenNotes(run.Misc()))
        hits += note.channel == 9 && note.pitch == 42 && note.length == 4;
    EXPECT_EQ(hits, 32);
    // The notice without its count ("0.\n").
    const QString leftOut = NoticeLine("id_short_notes_left_out", QStringLiteral("0"));
    EXPECT_FALSE(run.log.contains(leftOut.left(leftOut.size() - 3))) << run.log.toStdString();
}

// A tune of chords, repeated keys, drum hits of a few ticks (many inside the
// release of the last hit of their key) and short notes struck again inside
// their own release, over a pad held long enough to make the unit 31 ticks.
QByteArray GeneratedTune(unsigned seed)
{
    std::mt19937 rng(seed);
    auto below = [&rng](unsigned n) { return unsigned(rng() % n); };
    std::vector<TimedEvent> events = {{0, ::Bytes({0xC1, 40})}, {0, ::Bytes({0xC2, 80})}};
    AddNote(events, 3, 36, 0, 30720);
    const uint32_t span = 7680;
    for (int chord = 0, chords = 4 + int(below(8)); chord < chords; ++chord) {
        const uint32_t start = below(span / 120) * 120;
        const uint32_t ticks = (1 + below(8)) * 120;
        const int channel = int(below(3));
        for (int n = 0, size = 3 + int(below(8)); n < size; ++n)
            AddNote(events, channel, 50 + 2 * n + int(below(2)), start, ticks);
    }
    for (int repeat = 0, repeats = int(below(6)); repeat < repeats; ++repeat) {
        const uint32_t start = below(span / 60) * 60;
        for (int again = 0; again < 4; ++again)
            AddNote(events, 0, 72, start + uint32_t(again) * 60, 30 + below(30));
    }
    for (int hit = 0, hits = 20 + int(below(60)); hit < hits; ++hit)
        AddNote(events, 9, 36 + int(below(4)), below(span / 10) * 10, 1 + below(20));
    for (int hit = 0, hits = int(below(12)); hit < hits; ++hit)
        AddNote(events, int(below(3)), 80 + int(below(3)), below(span / 40) * 40, 1 + below(25));
    return FileOf(events, 480, span + 960);
}

class PolyraPlacementTest : public ::testing::Test
{
protected:
    // The stages up to the duration unit, as the pipeline runs them.
    void Convert(const QByteArray& midi, const PolyraProfile& profile)
    {
        MseqSetStop(false);
        ws.Init(profile, TestParameters(), &trace, nullptr);
        CMemFile format0;
        bool cancelled = false;
        using namespace PolyraStages;
        ASSERT_TRUE(MergeToFormat0(ws, reinterpret_cast<const uint8_t*>(midi.constData()), uint32_t(midi.size()),
                                   format0, &cancelled));
        ASSERT_TRUE(ReadCommandTable(ws, format0));
        ASSERT_TRUE(ComputeTimeBase(ws));
        MakeNoteOffsAndDropRepeats(ws);
        ASSERT_TRUE(RemoveInstruments(ws));
        ASSERT_TRUE(RemoveOverloads(ws));
        ASSERT_TRUE(ComputeAtb(ws));
        ComputeRtb(ws);
    }

    // How many overloads the removal finds in the notes written with these
    // units, on the converted table's time base.
    unsigned long OverloadsIn(const std::vector<PolyraNote>& notes, const std::vector<uint16_t>& units)
    {
        removal->Init(ws.profile, ws.parameters, &trace, nullptr);
        std::copy(std::begin(ws.releaseTicks), std::end(ws.releaseTicks), std::begin(removal->releaseTicks));
        removal->commands = WrittenTable(ws, notes, units).commands;
        EXPECT_TRUE(PolyraStages::RemoveOverloads(*removal));
        unsigned long found = 0;
        for (unsigned long count : removal->overloads)
            found += count;
        return found;
    }

    CConversionLog log;
    PolyraTrace trace{&log, true};
    PolyraWorkspace& ws = Polyra::Workspace();
    std::unique_ptr<PolyraWorkspace> removal = std::make_unique<PolyraWorkspace>();
};

TEST_F(PolyraPlacementTest, ShortNotesAreWrittenExactlyWhereTheRemovalFindsRoom)
{
    unsigned long written = 0;
    unsigned long leftOut = 0;
    for (unsigned seed = 0; seed < 120; ++seed) {
        SCOPED_TRACE(seed);
        Convert(GeneratedTune(seed), seed % 2 ? DrumPhone() : TestProfile());
        ASSERT_EQ(ws.rtb, 31u);
        const std::vector<PolyraNote> notes = PairNotes(ws);
        const std::vector<uint16_t> units = ws.noteUnits;
        EXPECT_EQ(OverloadsIn(notes, units), 0u);
        for (const PolyraNote& note : notes) {
            if (note.Ticks() == 0 || note.Ticks() >= ws.rtb)
                continue;
            if (units[note.on]) {
                ++written;
                continue;
            }
            ++leftOut;
            std::vector<uint16_t> with = units;
            with[note.on] = 1;
            EXPECT_GT(OverloadsIn(notes, with), 0u)
                << "channel " << note.channel << " pitch " << note.pitch << " at " << note.start;
        }
    }
    // Both sides of the rule were met.
    EXPECT_GT(written, 1000u);
    EXPECT_GT(leftOut, 20u);
}

TEST(PolyraVoiceCountTest, GainCountsReleasesInTheTablesTicks)
{
    // Two eighth notes a half note apart at 480 ticks a quarter, each at
    // 127 x 100 / 16129 = 0.787 of full volume: the first has released (450 ms, 432 ticks) before the second
    // starts. The time base takes out 240, so the release is 1.8 ticks of
    // the table: counted as 432 it would reach the second note and halve the
    // gain.
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    std::vector<TimedEvent> events;
    AddNote(events, 0, 60, 0, 240);
    AddNote(events, 0, 64, 960, 240);
    const PipelineRun run = RunPipeline(FileOf(events, 480, 1440));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    const QStringList lines = run.log.split(QLatin1Char('\n'));
    const qsizetype heading = lines.indexOf(QStringLiteral("\tINSTRUMENT         MAX.ANCIEN  COEF.AGC  MAX.NOUVEAU"));
    ASSERT_GE(heading, 0) << run.log.toStdString();
    ASSERT_LT(heading + 1, lines.size());
    EXPECT_TRUE(lines[heading + 1].contains(QStringLiteral("      0.787  "))) << lines[heading + 1].toStdString();
}

} // namespace
