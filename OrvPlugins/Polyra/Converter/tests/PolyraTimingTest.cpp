// Time through the whole pipeline: every note sounds as long as the table
// says and no more notes at once than the budget left, the file's first
// tempo sets the pace, and "Dest.mid" plays at the source's speed.
#include "PolyraTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace PolyraTest;
using MidiTest::TrackBuilder;

namespace {

uint32_t HeaderAtb(const PipelineRun& run)
{
    const auto* b = reinterpret_cast<const uint8_t*>(run.sequence.constData());
    return b[18] | (b[19] << 8) | (b[20] << 16);
}

// Three six-note chords, a half note apart at 96 ticks a quarter: the notes
// enter 8 ticks apart (0, 8, ..., 40) and all end at tick 160. A held note
// of the given ticks may follow them on channel 1.
QByteArray ChordFile(int division = 96, uint32_t held = 0)
{
    const int pitches[6] = {60, 62, 64, 65, 67, 69};
    TrackBuilder music;
    for (int chord = 0; chord < 3; ++chord) {
        for (int n = 0; n < 6; ++n)
            music.Event(n ? 8 : (chord ? 32 : 0), {0x90, pitches[n], 100});
        for (int n = 0; n < 6; ++n)
            music.Event(n ? 0 : 120, {0x80, pitches[n], 0});
    }
    if (held)
        music.Event(32, {0x91, 48, 100}).Event(held, {0x81, 48, 0}).EndOfTrack();
    else
        music.EndOfTrack(32);
    return TwoTrackFile(music, division);
}

PolyraProfile PolyphonyWithoutReleases(float polyphony)
{
    PolyraProfile profile = TestProfile();
    profile.loads[0].maximum = polyphony;
    for (float& release : profile.release)
        release = 0;
    return profile;
}

struct ChordCase
{
    float polyphony;
    float peakAfter;
    int mostSounding;
    // The first chord as written, in ticks of 8 source ticks: start, length.
    std::vector<std::pair<uint64_t, uint64_t>> firstChord;
};

TEST(PolyraTimingTest, ChordNotesKeepTheLengthsTheBudgetGaveThem)
{
    const ChordCase cases[] = {
        // The two lowest notes give way to the fifth and sixth: each ends
        // just before the note that needed its voice.
        {4, 4, 4, {{0, 3}, {1, 3}, {2, 18}, {3, 17}, {4, 16}, {5, 15}}},
        {32, 6, 6, {{0, 20}, {1, 19}, {2, 18}, {3, 17}, {4, 16}, {5, 15}}},
    };
    const QByteArray source = ChordFile();
    const HeardMidi heardSource = HearMidi(source);
    ASSERT_EQ(heardSource.notes.size(), 18u);
    for (const ChordCase& c : cases) {
        SCOPED_TRACE(c.polyphony);
        const PipelineRun run = RunPipeline(source, PolyphonyWithoutReleases(c.polyphony));
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
        EXPECT_FLOAT_EQ(run.results.peaksBefore[0], 6);
        EXPECT_FLOAT_EQ(run.results.peaksAfter[0], c.peakAfter);

        const std::vector<WrittenNote> written = WrittenNotes(run.Misc());
        ASSERT_EQ(written.size(), 18u);
        EXPECT_EQ(MostSounding(written), c.mostSounding);
        for (size_t n = 0; n < 6; ++n) {
            EXPECT_EQ(written[n].start, c.firstChord[n].first) << n;
            EXPECT_EQ(written[n].length, c.firstChord[n].second) << n;
        }
        // Each note as long as in the reduced MIDI file, and never longer
        // than in the source (within the time base's truncation).
        const HeardMidi dest = HearMidi(run.dest);
        ASSERT_EQ(dest.notes.size(), written.size());
        const double atb = HeaderAtb(run);
        for (size_t n = 0; n < written.size(); ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(written[n].pitch, dest.notes[n].pitch);
            EXPECT_EQ(written[n].start, dest.notes[n].start);
            EXPECT_EQ(written[n].length, dest.notes[n].length);
            const double writtenUs = double(written[n].length) * atb;
            const double sourceUs = heardSource.notes[n].seconds * 1e6;
            EXPECT_LE(writtenUs, sourceUs);
            if (c.polyphony >= 6) {
                EXPECT_NEAR(writtenUs, sourceUs, double(written[n].length));
            }
        }
    }
}

TEST(PolyraTimingTest, VictimsStayOutWhenAHeldNoteMakesTheUnitCoarser)
{
    // At 480 ticks a quarter, with a note held 100 quarter notes after the
    // chords: the deltas and the merged end of 350 share 2, 240 ticks a
    // quarter, and the held note's 24,000 ticks want 24 in 1023 units. The
    // four victims of each chord, cut to 12 ticks before the note that took
    // their voice, would reach into it with one unit.
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    const PipelineRun run = RunPipeline(ChordFile(480, 48000), PolyphonyWithoutReleases(4));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    const Words misc = run.Misc();
    ASSERT_FALSE(misc.empty());
    EXPECT_EQ(misc[0], RtbWord(24));
    const std::vector<WrittenNote> written = WrittenNotes(misc);
    ASSERT_EQ(written.size(), 13u);
    EXPECT_EQ(MostSounding(written), 4);
    EXPECT_EQ(written.back().length, 24000u);
    EXPECT_EQ(run.log.count(NoticeLine("id_short_notes_left_out", QStringLiteral("6"))), 1);
}

// The written sequence as a MIDI file at its own time base (programs at the
// start), for the removal of overloads to count it again.
QByteArray FileOfSequence(const PipelineRun& run, const std::vector<TimedEvent>& programs)
{
    std::vector<TimedEvent> events = programs;
    events.push_back({0, TempoBytes(HeaderAtb(run) * 480)});
    for (const WrittenNote& note : WrittenNotes(run.Misc())) {
        events.push_back({uint32_t(note.start), ::Bytes({0x90 | note.channel, note.pitch, 100})});
        events.push_back({uint32_t(note.start + note.length), ::Bytes({0x80 | note.channel, note.pitch, 0})});
    }
    return FileOf(events, 480, 0);
}

TEST(PolyraTimingTest, ShortNotesStayWithinTheBudgetTheRemovalCounts)
{
    // A pad held 300 quarter notes (the unit is a thirty-second note, 60
    // ticks), a drum hit at 4,800 and a 15-note chord at 5,030, on a phone
    // like Model C: 16 voices, drums released in 225 ms (216 ticks). A hit
    // of one tick has released before the chord; lengthened to a unit, its
    // release would reach it: 17 voices. Drum ticks -> removals.
    PolyraProfile modelC = TestProfile();
    modelC.release[Polyra::DrumClass] = 225;
    const std::pair<uint32_t, int> cases[] = {{1, 0}, {60, 1}};
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    const std::vector<TimedEvent> programs = {{0, ::Bytes({0xC0, 88})}};
    for (const auto& [drumTicks, removals] : cases) {
        SCOPED_TRACE(drumTicks);
        std::vector<TimedEvent> events = programs;
        events.push_back({0, ::Bytes({0x90, 48, 100})});
        events.push_back({144000, ::Bytes({0x80, 48, 0})});
        events.push_back({4800, ::Bytes({0x99, 38, 100})});
        events.push_back({4800 + drumTicks, ::Bytes({0x89, 38, 0})});
        for (int n = 0; n < 15; ++n) {
            events.push_back({5030, ::Bytes({0x91, 60 + n, 100})});
            events.push_back({5510, ::Bytes({0x81, 60 + n, 0})});
        }
        const PipelineRun run = RunPipeline(FileOf(events, 480), modelC);
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
        EXPECT_TRUE(run.log.contains(QStringLiteral("Passe 1 : %1 surcharges").arg(removals))) << run.log.toStdString();
        EXPECT_FLOAT_EQ(run.results.peaksBefore[0], removals ? 17 : 16);
        EXPECT_EQ(run.log.count(NoticeLine("id_short_notes_left_out", QStringLiteral("1"))), removals ? 0 : 1);
        EXPECT_EQ(WrittenNotes(run.Misc()).size(), 16u);

        const PipelineRun again = RunPipeline(FileOfSequence(run, programs), modelC);
        ASSERT_EQ(again.outcome, PolyraOutcome::Done) << again.log.toStdString();
        EXPECT_TRUE(again.log.contains(QStringLiteral("Passe 1 : 0 surcharges"))) << again.log.toStdString();
    }
}

// The preview's length: 8000 samples of 16 bits a second behind its header.
double PreviewSeconds(const PipelineRun& run)
{
    return std::max(0, int(run.wave.size()) - 44) / 16000.0;
}

// A quarter-note melody at 480 ticks a quarter with the tempo of each beat
// (a tempo event where it changes), each note half a beat long, and the
// end of track a beat after the last note.
std::vector<TimedEvent> MelodyAtTempos(const std::vector<uint32_t>& tempos)
{
    std::vector<TimedEvent> events;
    for (size_t beat = 0; beat < tempos.size(); ++beat) {
        const uint32_t tick = uint32_t(beat) * 480;
        if (beat == 0 || tempos[beat] != tempos[beat - 1])
            events.push_back({tick, TempoBytes(tempos[beat])});
        const int pitch = 60 + int(beat % 12);
        events.push_back({tick, ::Bytes({0x90, pitch, 100})});
        events.push_back({tick + 240, ::Bytes({0x80, pitch, 0})});
    }
    return events;
}

struct TempoMapCase
{
    const char* name;
    std::vector<uint32_t> tempos; // per beat
    int changes;                  // that the log reports
    double within;                // microseconds an onset may be off
};

std::vector<uint32_t> Tempos(int beats, const std::function<uint32_t(int)>& tempoOfBeat)
{
    std::vector<uint32_t> tempos;
    for (int beat = 0; beat < beats; ++beat)
        tempos.push_back(tempoOfBeat(beat));
    return tempos;
}

TEST(PolyraTimingTest, TempoChangesAreFoldedIntoTheNoteTimes)
{
    const TempoMapCase cases[] = {
        // 180 bpm, then 69 bpm: the tempo kept, 333,333 us, becomes 333,120
        // (694 us a tick).
        {"46 quarters at 180 then 2 at 69", Tempos(48, [](int b) { return b < 46 ? 333333u : 869565u; }), 1, 347},
        // The first tempo is a whole millisecond a tick: within 0.5 ms.
        {"a tempo change on every beat", Tempos(192, [](int b) { return 480000u + uint32_t(b % 5) * 40000; }), 191,
         500},
        {"300 tempo events", Tempos(301, [](int b) { return 500000u + uint32_t(b % 3) * 7000; }), 300, 521},
        // One tick is 1041 us, not 1041.67 at the tempo of the file.
        {"a change of one microsecond", Tempos(200, [](int b) { return b < 100 ? 500000u : 500001u; }), 1, 521},
    };
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    for (const TempoMapCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t end = uint32_t(c.tempos.size()) * 480;
        const QByteArray source = FileOf(MelodyAtTempos(c.tempos), 480, end);
        const HeardMidi tune = HearMidi(source);
        ASSERT_EQ(tune.notes.size(), c.tempos.size());
        const PipelineRun run = RunPipeline(source);
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
        EXPECT_EQ(run.log.count(NoticeLine(FoldedId(c.changes), QString::number(c.changes))), 1);
        EXPECT_FALSE(run.log.contains(QStringLiteral("Tempo redefinition")));

        const std::vector<WrittenNote> written = WrittenNotes(run.Misc());
        ASSERT_EQ(written.size(), tune.notes.size());
        const double atb = HeaderAtb(run);
        double worst = 0;
        for (size_t n = 0; n < written.size(); ++n) {
            EXPECT_EQ(written[n].pitch, tune.notes[n].pitch) << n;
            worst = std::max(worst, std::fabs(double(written[n].start) * atb - tune.notes[n].startSeconds * 1e6));
        }
        EXPECT_LE(worst, atb / 2 + 1);
        EXPECT_LE(worst, c.within);
        EXPECT_NEAR(PreviewSeconds(run), tune.seconds, tune.seconds / 100);
    }
}

TEST(PolyraTimingTest, TempoEventsThatChangeNothingKeepTheBytes)
{
    // 400,000 us a quarter, repeated later; and from a beat on, after
    // another tempo before the first note.
    using Events = std::vector<TimedEvent>;
    const Events plain = MelodyAtTempos(Tempos(16, [](int) { return 400000u; }));
    Events repeated = plain, later = plain;
    for (uint32_t beat = 4; beat < 16; beat += 4)
        repeated.push_back({beat * 480, TempoBytes(400000)});
    for (TimedEvent& event : later)
        event.tick += 480;
    Events replaced = later;
    replaced.insert(replaced.begin(), {0, TempoBytes(600000)});
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    const QString folded = NoticeLine("id_tempo_changes_folded", QStringLiteral("%1")).left(20);
    for (const auto& pair : {std::pair<const Events*, const Events*>(&repeated, &plain), {&replaced, &later}}) {
        const PipelineRun run = RunPipeline(FileOf(*pair.first, 480, 17 * 480));
        const PipelineRun expected = RunPipeline(FileOf(*pair.second, 480, 17 * 480));
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
        ASSERT_GT(expected.sequence.size(), 32);
        EXPECT_EQ(run.sequence, expected.sequence);
        EXPECT_FALSE(run.log.contains(folded));
    }
}

TEST(PolyraTimingTest, OneTickNotesInAFasterSectionAreAllWritten)
{
    // Eight quarter notes at 500,000 us, then 32 drum hits of one tick a
    // sixteenth apart at 333,333 us: a tick of the faster section is two
    // thirds of a tick of the sequence's tempo.
    std::vector<TimedEvent> events = MelodyAtTempos(Tempos(8, [](int) { return 500000u; }));
    events.push_back({8 * 480, TempoBytes(333333)});
    for (uint32_t hit = 0; hit < 32; ++hit) {
        const uint32_t tick = 8 * 480 + hit * 120;
        events.push_back({tick, ::Bytes({0x99, 36 + int(hit % 8), 100})});
        events.push_back({tick + 1, ::Bytes({0x89, 36 + int(hit % 8), 0})});
    }
    const PipelineRun run = RunPipeline(FileOf(events, 480, 17 * 480));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    const std::vector<WrittenNote> written = WrittenNotes(run.Misc());
    const auto hits = std::count_if(written.begin(), written.end(),
                                    [](const WrittenNote& note) { return note.channel == 9 && note.length > 0; });
    EXPECT_EQ(hits, 32);
    EXPECT_EQ(written.size(), 40u);
}

TEST(PolyraTimingTest, NoteHeldLongerByTheFoldIsCutToTheField)
{
    // A note of 120 quarter notes, beside one of 230 ticks, fits 1023 units
    // of 57 ticks; the tempo halves after its first quarter, and its 239
    // quarter notes at the first tempo are cut to 1023 thirty-second notes.
    std::vector<TimedEvent> events = {{0, TempoBytes(500000)},       {0, ::Bytes({0x90, 60, 100})},
                                      {0, ::Bytes({0x90, 64, 100})}, {230, ::Bytes({0x80, 64, 0})},
                                      {480, TempoBytes(1000000)},    {120 * 480, ::Bytes({0x80, 60, 0})}};
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    const PipelineRun run = RunPipeline(FileOf(events, 480, 121 * 480));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    const Words misc = run.Misc();
    ASSERT_FALSE(misc.empty());
    const unsigned rtb = misc[0] >> 5;
    EXPECT_EQ(rtb, 60u);
    EXPECT_EQ(NoteCommands(misc), (std::vector<NoteCommand>{{60, 1023}, {64, 3}}));
    EXPECT_EQ(run.log.count(NoticeLine("id_long_notes_cut", QStringLiteral("1"),
                                       QString::number(1023.0 * rtb * HeaderAtb(run) / 1e6, 'f', 1))),
              1);
}

TEST(PolyraTimingTest, NoteLongerThanTheDurationFieldTakesACoarserUnit)
{
    // 2500 ticks and 1001 ticks ending together share no divisor: the base
    // is the smallest that holds 2500 ticks in 1023 units, 3 ticks, and
    // each note is one NOTE command, rounded down.
    TrackBuilder music;
    music.Event(0, {0x90, 60, 100})
        .Event(1499, {0x90, 64, 100})
        .Event(1001, {0x80, 60, 0})
        .Event(0, {0x80, 64, 0})
        .EndOfTrack();
    const PipelineRun run = RunPipeline(TwoTrackFile(music));
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    const Words misc = run.Misc();
    ASSERT_EQ(misc.size(), 8u);
    EXPECT_EQ(misc[0], RtbWord(3));
    EXPECT_EQ(Words(misc.begin() + 2, misc.end()),
              (Words{NoteWord(0, 60), NoteLength(833, 50), DelayWord(1499), NoteWord(0, 64), NoteLength(333, 50),
                     DelayWord(1001 + 350)}));
}

TEST(PolyraTimingTest, FirstTempoSetsThePaceWhereverItComes)
{
    // A program change and the tempo at tick 0, in either order: one
    // second a quarter. The note of 96 ticks and the merged end of 350
    // share 2 with the division: 48 ticks a quarter.
    TrackBuilder programFirst, tempoFirst;
    programFirst.Event(0, {0xC0, 0}).Meta(0, 0x51, ::Bytes({0x0F, 0x42, 0x40}));
    tempoFirst.Meta(0, 0x51, ::Bytes({0x0F, 0x42, 0x40})).Event(0, {0xC0, 0});
    PipelineRun runs[2];
    int i = 0;
    for (TrackBuilder* track : {&programFirst, &tempoFirst}) {
        track->Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(*track);
        PipelineRun& run = runs[i++];
        run = RunPipeline(file.Data());
        ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
        EXPECT_EQ(HeaderAtb(run), 1000000u / 48) << i;
        EXPECT_FALSE(run.log.contains(QStringLiteral("Tempo redefinition"))) << i;
    }
    ASSERT_GT(runs[0].wave.size(), 44);
    EXPECT_EQ(runs[0].wave.size(), runs[1].wave.size());
}

TEST(PolyraTimingTest, DestMidiPlaysAtTheSourcesSpeed)
{
    // Deltas of 48 and 96 and the merged end of 350 share 2 with the
    // division: the reduced file counts 48 ticks a quarter.
    TrackBuilder music;
    music.Event(0, {0x90, 60, 100})
        .Event(96, {0x80, 60, 0})
        .Event(48, {0x90, 62, 100})
        .Event(48, {0x80, 62, 0})
        .Event(0, {0x90, 64, 100})
        .Event(96, {0x80, 64, 0})
        .EndOfTrack();
    const QByteArray source = TwoTrackFile(music);
    const PipelineRun run = RunPipeline(source);
    ASSERT_EQ(run.outcome, PolyraOutcome::Done) << run.log.toStdString();
    const HeardMidi heardSource = HearMidi(source);
    const HeardMidi dest = HearMidi(run.dest);
    ASSERT_TRUE(dest.loaded);
    EXPECT_EQ(dest.division, 48);
    ASSERT_EQ(dest.notes.size(), heardSource.notes.size());
    const double atbSeconds = HeaderAtb(run) / 1e6;
    for (size_t n = 0; n < dest.notes.size(); ++n) {
        EXPECT_NEAR(dest.notes[n].startSeconds, heardSource.notes[n].startSeconds, atbSeconds) << n;
        EXPECT_NEAR(dest.notes[n].seconds, heardSource.notes[n].seconds, atbSeconds) << n;
    }
}

} // namespace
