// The pipeline's stages one at a time on small tables: the merge, the
// reading rules, the overload removal, the duration unit and the media
// script.
#include "PolyraStages.h"
#include "PolyraTestSupport.h"
#include "PolyraWorkspace.h"

#include "MseqRender.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace PolyraTest;
using MidiTest::TrackBuilder;
using Lines = std::vector<std::string>;

namespace {

class StopOnProgress : public IMseqProgressSink
{
public:
    void ReportProgress(const char*, int, int mode) override
    {
        if (mode == 4 && ++calls >= stopAfter)
            MseqSetStop(true);
    }
    int calls = 0;
    int stopAfter = 1;
};

class PolyraStagesTest : public ::testing::Test
{
protected:
    void Prepare(const PolyraProfile& profile = TestProfile(), const PolyraParameters& parameters = TestParameters())
    {
        MseqSetStop(false);
        ws.Init(profile, parameters, &trace, sink);
    }

    bool Merge(const QByteArray& midi)
    {
        Prepare();
        bool cancelled = false;
        merged = std::make_unique<CMemFile>();
        const bool ok = PolyraStages::MergeToFormat0(ws, reinterpret_cast<const uint8_t*>(midi.constData()),
                                                     uint32_t(midi.size()), *merged, &cancelled);
        wasCancelled = cancelled;
        return ok;
    }

    // The table after reading, with NOTE ON of velocity 0 turned into NOTE
    // OFF and the tempo changes in the times.
    void Load(const QByteArray& midi, const PolyraProfile& profile = TestProfile(),
              const PolyraParameters& parameters = TestParameters())
    {
        Prepare(profile, parameters);
        bool cancelled = false;
        CMemFile format0;
        ASSERT_TRUE(PolyraStages::MergeToFormat0(ws, reinterpret_cast<const uint8_t*>(midi.constData()),
                                                 uint32_t(midi.size()), format0, &cancelled));
        ASSERT_TRUE(PolyraStages::ReadCommandTable(ws, format0));
        ASSERT_TRUE(PolyraStages::ComputeTimeBase(ws));
        PolyraStages::MakeNoteOffsAndDropRepeats(ws);
        PolyraStages::FoldTempoChanges(ws);
    }

    // The active notes and tags as "tick on|off channel:pitch" lines.
    Lines Notes() const
    {
        Lines lines;
        uint64_t now = 0;
        for (const PolyraCommand& command : ws.commands) {
            now += command.delta;
            if (command.type == CmdNoteOn || command.type == CmdNoteOff)
                lines.push_back(std::to_string(now) + (command.type == CmdNoteOn ? " on " : " off ")
                                + std::to_string(command.channel) + ":" + std::to_string(command.data[0]));
            else if (command.type == CmdSyncTag)
                lines.push_back(std::to_string(now) + " tag " + std::to_string(command.channel));
        }
        return lines;
    }

    // The merge on a copy of exactly the file's size: no spare byte after
    // the last track for a read past its data to land on.
    bool MergeExact(const QByteArray& midi)
    {
        std::unique_ptr<uint8_t[]> exact(new uint8_t[size_t(midi.size())]);
        std::memcpy(exact.get(), midi.constData(), size_t(midi.size()));
        Prepare();
        bool cancelled = false;
        merged = std::make_unique<CMemFile>();
        const bool ok = PolyraStages::MergeToFormat0(ws, exact.get(), uint32_t(midi.size()), *merged, &cancelled);
        wasCancelled = cancelled;
        return ok;
    }

    QByteArray MergedTrack() const { return FileBytes(*merged).mid(22); }

    uint32_t HeaderTempo() const
    {
        const uint8_t* tempo = ws.header + PolyraWorkspace::HeaderTempoAt;
        return (uint32_t(tempo[0]) << 16) | (uint32_t(tempo[1]) << 8) | tempo[2];
    }

    CConversionLog log;
    PolyraTrace trace{&log, false};
    IMseqProgressSink* sink = nullptr;
    PolyraWorkspace& ws = Polyra::Workspace();
    std::unique_ptr<CMemFile> merged;
    bool wasCancelled = false;
};

TEST_F(PolyraStagesTest, MergeInterleavesTracksAndSpellsOutRunningStatus)
{
    TrackBuilder a, b;
    a.Event(0, {0x90, 60, 100}).Event(100, {60, 0}).Meta(0, 0x01, QByteArray("hi")).EndOfTrack(20);
    b.Event(50, {0xC1, 5}).Event(0, {0x91, 40, 90}).Sysex(10, ::Bytes({1, 2})).Event(0, {0xE1, 0, 64}).EndOfTrack();
    MidiTest::FileBuilder file;
    file.Header(1, 2, 96).Track(a).Track(b);
    ASSERT_TRUE(Merge(file.Data()));
    const QByteArray bytes = FileBytes(*merged);
    EXPECT_EQ(bytes.left(14).toHex(), QByteArray("4d546864000000060000000100") + QByteArray("60"));
    // The text and the sysex are left out; track a ends last, at tick 120,
    // and its end's delta of 20 is the merged end's.
    EXPECT_EQ(MergedTrack().toHex(), QByteArray("00903c64"
                                                "32c105"
                                                "0091285a"
                                                "0ae10040"
                                                "28903c00"
                                                "14ff2f00"));
    EXPECT_EQ(bytes.mid(18, 4).toHex(), QByteArray("00000017"));
}

struct EndCase
{
    uint32_t delta;
    QByteArray end;
};

TEST_F(PolyraStagesTest, MergedEndTakesTheLastTracksEndDelta)
{
    const EndCase cases[] = {{0, "825eff2f00"}, {200, "8148ff2f00"}, {1000, "8768ff2f00"}, {1001, "825eff2f00"}};
    for (const EndCase& c : cases) {
        TrackBuilder a;
        a.Event(0, {0x90, 60, 100}).EndOfTrack(c.delta);
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(a);
        ASSERT_TRUE(Merge(file.Data()));
        EXPECT_EQ(MergedTrack().toHex(), QByteArray("00903c64") + c.end) << c.delta;
    }
}

TEST_F(PolyraStagesTest, MergeSurvivesHugeDeltasCutChunksAndLongNumbers)
{
    {
        // One delta of 0x0FFFFFFF is one jump, not 268 million steps.
        TrackBuilder a;
        a.Event(0x0FFFFFFF, {0x90, 60, 100}).EndOfTrack();
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(a);
        ASSERT_TRUE(Merge(file.Data()));
        EXPECT_EQ(MergedTrack().left(8).toHex(), QByteArray("ffffff7f903c64") + QByteArray("82"));
    }
    {
        // A chunk claiming more than the file holds: what is there converts.
        TrackBuilder a;
        a.Event(0, {0x90, 60, 100}).Event(10, {0x80, 60, 0});
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(a, 5000);
        ASSERT_TRUE(Merge(file.Data()));
        EXPECT_EQ(MergedTrack().toHex(), QByteArray("00903c64"
                                                    "0a803c00"
                                                    "825eff2f00"));
    }
    {
        // A variable-length number of five bytes ends its track.
        TrackBuilder a;
        a.Event(0, {0x90, 60, 100}).Raw(::Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x80, 60, 0}));
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(a);
        ASSERT_TRUE(Merge(file.Data()));
        EXPECT_EQ(MergedTrack().toHex(), QByteArray("00903c64"
                                                    "825eff2f00"));
    }
    for (int cut : {0, 5, 13}) {
        TrackBuilder a;
        a.Event(0, {0x90, 60, 100}).EndOfTrack();
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(a);
        EXPECT_FALSE(Merge(file.Data().left(cut))) << cut;
        EXPECT_FALSE(wasCancelled);
    }
}

TEST_F(PolyraStagesTest, StopFlagEndsTheMergeWithoutMessage)
{
    TrackBuilder a;
    for (int i = 0; i < 50; ++i)
        a.Event(100, {0x90, 60, 100}).Event(100, {0x80, 60, 0});
    a.EndOfTrack();
    MidiTest::FileBuilder file;
    file.Header(0, 1, 96).Track(a);
    StopOnProgress stopper;
    stopper.stopAfter = 3;
    sink = &stopper;
    EXPECT_FALSE(Merge(file.Data()));
    EXPECT_TRUE(wasCancelled);
    EXPECT_EQ(stopper.calls, 3);
    EXPECT_FALSE(log.GetSummaryText().contains(QStringLiteral("Conversion error")));
    sink = nullptr;
    MseqSetStop(false);
}

TEST_F(PolyraStagesTest, MergeNeverReadsPastATracksData)
{
    // The last track's data ends with a delta that no event follows, and
    // the file ends there: a read of one more byte is caught by the
    // sanitizers.
    TrackBuilder a;
    a.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).Raw(::Bytes({0x60}));
    MidiTest::FileBuilder file;
    file.Header(0, 1, 96).Track(a);
    ASSERT_TRUE(MergeExact(file.Data()));
    EXPECT_EQ(MergedTrack().toHex(), QByteArray("00903c64"
                                                "60803c00"
                                                "825eff2f00"));
}

TEST_F(PolyraStagesTest, MergeFailureSaysSoBeforeItsError)
{
    TrackBuilder a;
    a.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
    const QString trace = QStringLiteral("Erreur de conversion au format 0\n, ");
    const QString error = QStringLiteral("Conversion error : FORMAT 1 TO FORMAT 0 CONVERSION ERROR");
    for (int tracks : {256, 257}) {
        MidiTest::FileBuilder file;
        file.Header(1, tracks, 96).Track(a);
        const int before = int(log.GetSummaryText().size());
        const bool ok = Merge(file.Data());
        const QString text = log.GetSummaryText().mid(before);
        EXPECT_EQ(ok, tracks <= 256) << tracks;
        EXPECT_FALSE(wasCancelled);
        EXPECT_EQ(ws.error, ok ? int(ErrNone) : int(ErrFormat0)) << tracks;
        EXPECT_EQ(text.contains(trace), !ok) << text.toStdString();
        if (!ok) {
            EXPECT_GT(text.indexOf(error), text.indexOf(trace)) << text.toStdString();
        }
    }
}

struct TimingMetaCase
{
    const char* name;
    TrackBuilder track;
    uint32_t tempo;
    const char* timeSignature; // the header block's, in hex
    int foldedChanges;         // in the log's one line, 0 for none
    int signatureLines;
    Lines notes;
};

TEST_F(PolyraStagesTest, FirstTempoAndTimeSignatureStayWhereverTheyCome)
{
    // A quarter note of 1 s then one of 0.25 s at 96 ticks a quarter: the
    // note ends at 1.25 s, 60 ticks at the sequence's tempo of
    // 999,936 us (a whole 10,416 us a tick).
    const Lines held = {"0 on 0:60", "96 off 0:60"};
    const Lines folded = {"0 on 0:60", "60 off 0:60"};
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    const QByteArray slow = ::Bytes({0x0F, 0x42, 0x40}); // 1,000,000 us
    const QByteArray fast = ::Bytes({0x03, 0xD0, 0x90}); // 250,000 us
    const QByteArray waltz = ::Bytes({3, 2, 24, 8});     // 3/4
    const QByteArray compound = ::Bytes({6, 3, 24, 8});  // 6/8
    const TimingMetaCase cases[] = {
        {"program, then the tempo",
         TrackBuilder().Event(0, {0xC0, 0}).Meta(0, 0x51, slow).Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}),
         1000000, "04021808", 0, 0, held},
        {"note, then two tempos",
         TrackBuilder().Event(0, {0x90, 60, 100}).Meta(0, 0x51, slow).Meta(48, 0x51, fast).Event(48, {0x80, 60, 0}),
         999936, "04021808", 1, 0, folded},
        {"note, then two time signatures",
         TrackBuilder()
             .Event(0, {0x90, 60, 100})
             .Meta(0, 0x58, waltz)
             .Meta(48, 0x58, compound)
             .Event(48, {0x80, 60, 0}),
         500000, "03021808", 0, 1, held},
        {"both before the note, both again after",
         TrackBuilder()
             .Meta(0, 0x51, slow)
             .Meta(0, 0x58, waltz)
             .Event(0, {0x90, 60, 100})
             .Meta(48, 0x51, fast)
             .Meta(0, 0x58, compound)
             .Event(48, {0x80, 60, 0}),
         999936, "03021808", 1, 1, folded},
        // A tempo without its three bytes is none: the valid one after the
        // note is the first, and no redefinition.
        {"a short tempo, the note, then a tempo",
         TrackBuilder()
             .Meta(0, 0x51, ::Bytes({0x03, 0xD0}))
             .Event(0, {0x90, 60, 100})
             .Meta(0, 0x51, slow)
             .Event(96, {0x80, 60, 0}),
         1000000, "04021808", 0, 0, held},
        {"a long tempo, the note, then a tempo",
         TrackBuilder()
             .Meta(0, 0x51, ::Bytes({0x03, 0xD0, 0x90, 0x00}))
             .Event(0, {0x90, 60, 100})
             .Meta(0, 0x51, slow)
             .Meta(48, 0x51, fast)
             .Event(48, {0x80, 60, 0}),
         999936, "04021808", 1, 0, folded},
    };
    for (const TimingMetaCase& c : cases) {
        TrackBuilder track = c.track;
        track.EndOfTrack();
        MidiTest::FileBuilder file;
        file.Header(0, 1, 96).Track(track);
        const int before = int(log.GetSummaryText().size());
        Load(file.Data());
        const QString text = log.GetSummaryText().mid(before);
        EXPECT_EQ(ws.tempo, c.tempo) << c.name;
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ws.header) + 26, 4).toHex(), QByteArray(c.timeSignature))
            << c.name;
        EXPECT_EQ(text.count(QStringLiteral("Tempo redefinition")), 0) << c.name;
        EXPECT_EQ(text.count(NoticeLine(FoldedId(c.foldedChanges), QString::number(c.foldedChanges))),
                  c.foldedChanges ? 1 : 0)
            << c.name;
        EXPECT_EQ(text.count(QStringLiteral("\nUSER : Time signature redefinition within MIDI file:\n")),
                  c.signatureLines)
            << c.name;
        EXPECT_EQ(text.count(QStringLiteral("\tMSEQ file will perhaps be non-playable !\n")), c.signatureLines)
            << c.name;
        EXPECT_EQ(HeaderTempo(), c.tempo) << c.name;
        EXPECT_EQ(Notes(), c.notes) << c.name;
    }
}

TEST_F(PolyraStagesTest, ReadingKeepsTheFirstTempoAndDropsWhatCannotPlay)
{
    TrackBuilder a;
    a.Meta(0, 0x51, ::Bytes({0x0F, 0x42, 0x40}))
        .Event(0, {0xB0, 123, 0})
        .Event(0, {0xB0, 7, 100})
        .Event(0, {0xA0, 60, 10})
        .Event(0, {0x90, 60, 100})
        .Meta(10, 0x51, ::Bytes({0x07, 0xA1, 0x20}))
        .Event(10, {0x90, 60, 0})
        .EndOfTrack();
    MidiTest::FileBuilder file;
    file.Header(0, 1, 96).Track(a);
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    Load(file.Data());
    // The first tempo, to a whole number of microseconds a tick; the later
    // one halves the last 10 ticks: the note ends at 15.
    EXPECT_EQ(ws.tempo, 999936u);
    ASSERT_EQ(ws.commands.size(), 4u);
    EXPECT_EQ(ws.commands[1].type, CmdControl);
    EXPECT_EQ(ws.commands[1].data[0], 7);
    EXPECT_EQ(Notes(), (Lines{"0 on 0:60", "15 off 0:60"}));
    const QString text = log.GetSummaryText();
    // One change is one, not "1 changes".
    EXPECT_EQ(text.count(NoticeLine("id_tempo_change_folded", QStringLiteral("1"))), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("(1 change):")));
    EXPECT_FALSE(text.contains(QStringLiteral("\tMSEQ file will perhaps be non-playable !\n")));
}

struct DurationUnitCase
{
    const char* name;
    struct Note
    {
        int pitch;
        uint32_t start;
        uint32_t length;
    };
    std::vector<Note> notes;
    unsigned rtb;
    std::vector<NoteCommand> written;
    int dropped;
    int cut;
};

TEST_F(PolyraStagesTest, DurationUnitHoldsEveryNoteInOneCommand)
{
    // 480 ticks a quarter: a thirty-second note is 60 ticks, 1041 us each.
    const DurationUnitCase cases[] = {
        {"the longest fits in units of the divisor", {{60, 0, 1023}, {64, 0, 1}}, 1, {{60, 1023}, {64, 1}}, 0, 0},
        // 1024 / 1023 rounded up; the note of one tick takes a unit, beside
        // the one other note that was already sounding.
        {"one tick too long", {{60, 0, 1024}, {64, 0, 1}}, 2, {{60, 512}, {64, 1}}, 0, 0},
        // 3840 / 1023 rounded up; each note rounded down.
        {"a chord strummed a tick apart",
         {{60, 0, 3840}, {64, 1, 3839}, {67, 2, 3838}},
         4,
         {{60, 960}, {64, 959}, {67, 959}},
         0,
         0},
        // One note at a time: a unit for the tick-long note reaches into the
        // next, three voices with the releases, well within sixteen.
        {"a short note whose unit reaches into the next within the budget",
         {{60, 0, 2000}, {62, 2000, 1}, {64, 2001, 100}},
         2,
         {{60, 1000}, {62, 1}, {64, 50}},
         0,
         0},
        // Past 1023 thirty-second notes, each note is cut to the field.
        {"notes past 1023 thirty-second notes",
         {{60, 0, 2100000}, {64, 1, 2099999}},
         60,
         {{60, 1023}, {64, 1023}},
         0,
         2},
        {"a divisor coarser than a thirty-second note that holds every note",
         {{60, 1, 960}, {64, 961, 480}},
         480,
         {{60, 2}, {64, 1}},
         0,
         0},
        {"a divisor coarser than a thirty-second note that cannot hold the longest",
         {{60, 1, 480 * 1100}, {64, 1, 480}},
         480,
         {{60, 1023}, {64, 1}},
         0,
         1},
    };
    ASSERT_TRUE(ExporterTest::LoadLanguage());
    for (const DurationUnitCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<uint32_t, QByteArray>> events;
        for (const auto& note : c.notes) {
            events.push_back({note.start, ::Bytes({0x90, note.pitch, 100})});
            events.push_back({note.start + note.length, ::Bytes({0x80, note.pitch, 0})});
        }
        std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        TrackBuilder track;
        uint32_t now = 0;
        for (const auto& event : events) {
            track.Event(event.first - now, event.second);
            now = event.first;
        }
        track.EndOfTrack();
        MidiTest::FileBuilder file;
        file.Header(0, 1, 480).Track(track);
        log.AddText(CConversionLog::SUMMARY | CConversionLog::CLEAR, QString());
        Load(file.Data());
        ASSERT_TRUE(PolyraStages::ComputeAtb(ws));
        ASSERT_EQ(ws.division, 480u);
        PolyraStages::ComputeRtb(ws);
        EXPECT_EQ(ws.rtb, c.rtb);
        ASSERT_TRUE(PolyraStages::ConvertMisc(ws));
        const Words misc =
            BytesToWords(ws.writer.GetTrackBytes(Mseq::TrackNote) + 8, ws.writer.GetTrackLength(Mseq::TrackNote) - 10);
        EXPECT_EQ(NoteCommands(misc), c.written);
        const QString summary = log.GetSummaryText();
        const QString dropped = NoticeLine("id_short_notes_left_out", QString::number(c.dropped));
        const QString cut = NoticeLine("id_long_notes_cut", QString::number(c.cut),
                                       QString::number(1023.0 * c.rtb * 1041 / 1e6, 'f', 1));
        EXPECT_EQ(summary.count(dropped.left(20)), c.dropped ? 1 : 0);
        EXPECT_EQ(summary.count(cut.left(20)), c.cut ? 1 : 0);
        EXPECT_TRUE(!c.dropped || summary.contains(dropped)) << summary.toStdString();
        EXPECT_TRUE(!c.cut || summary.contains(cut)) << summary.toStdString();
    }
}

TEST_F(PolyraStagesTest, RepeatedNoteOnsKeepTheFirst)
{
    TrackBuilder a;
    a.Event(0, {0x90, 60, 100})
        .Event(10, {0x90, 60, 90})
        .Event(10, {0x80, 60, 0})
        .Event(10, {0x80, 60, 0})
        .EndOfTrack();
    Load(TwoTrackFile(a));
    EXPECT_EQ(Notes(), (Lines{"0 on 0:60", "20 off 0:60"}));
    EXPECT_TRUE(log.GetSummaryText().contains(QStringLiteral("latest notes are deleted")));
}

TEST_F(PolyraStagesTest, NotesWithoutTimeVanishBeforeTheBudget)
{
    TrackBuilder a;
    a.Event(0, {0x90, 60, 100})
        .Event(0, {0x90, 62, 100})
        .Event(0, {0x80, 60, 0})
        .Event(10, {0x80, 62, 0})
        .Event(0, {0x90, 64, 100})
        .Event(0, {0x80, 64, 0})
        .EndOfTrack(10);
    Load(TwoTrackFile(a));
    ASSERT_TRUE(PolyraStages::RemoveOverloads(ws));
    EXPECT_EQ(Notes(), (Lines{"0 on 0:62", "10 off 0:62"}));
    EXPECT_EQ(ws.endDelta, 10u);
}

struct OverloadCase
{
    const char* name;
    int priority0;
    int priority4;
    float releaseMs; // of both classes
    Lines expected;
};

TEST_F(PolyraStagesTest, OverloadRemovalChoosesItsVictimByPriority)
{
    // Three voices: piano on channel 0, bass on channel 1; the third note
    // at tick 200 is one too many. 450 ms at 96 ticks a quarter of 500 ms
    // is 86.4 ticks of release.
    TrackBuilder a;
    a.Event(0, {0xC1, 33})
        .Event(0, {0x90, 60, 100})
        .Event(0, {0x91, 40, 100})
        .Event(10, {0x90, 62, 100})
        .Event(190, {0x90, 64, 100})
        .Event(100, {0x80, 60, 0})
        .Event(0, {0x81, 40, 0})
        .Event(0, {0x80, 62, 0})
        .Event(0, {0x80, 64, 0})
        .EndOfTrack();
    const OverloadCase cases[] = {
        {"bass less important",
         3,
         5,
         450,
         {"0 on 0:60", "0 on 1:40", "10 on 0:62", "10 off 1:40", "200 on 0:64", "300 off 0:60", "300 off 0:62",
          "300 off 0:64"}},
        {"equal: lower channel",
         5,
         5,
         450,
         {"0 on 0:60", "0 on 1:40", "10 on 0:62", "10 off 0:60", "200 on 0:64", "300 off 1:40", "300 off 0:62",
          "300 off 0:64"}},
        // A release longer than the time since the victim began: no room for it at all.
        {"victim removed",
         3,
         5,
         2000,
         {"0 on 0:60", "10 on 0:62", "200 on 0:64", "300 off 0:60", "300 off 0:62", "300 off 0:64"}},
    };
    for (const OverloadCase& c : cases) {
        PolyraProfile profile = TestProfile();
        profile.loads[0].maximum = 3;
        for (float& release : profile.release)
            release = c.releaseMs;
        PolyraParameters parameters = TestParameters();
        parameters.priority[0] = uint8_t(c.priority0);
        parameters.priority[4] = uint8_t(c.priority4);
        Load(TwoTrackFile(a), profile, parameters);
        ASSERT_TRUE(PolyraStages::RemoveOverloads(ws));
        EXPECT_EQ(Notes(), c.expected) << c.name;
        EXPECT_EQ(ws.overloads[0], 1u) << c.name;
    }
}

TEST_F(PolyraStagesTest, NoteOverTheBudgetAloneIsRemovedAndCounted)
{
    PolyraProfile profile = TestProfile();
    profile.loads[2].perClass[0] = 40; // more memory than the phone has
    TrackBuilder a;
    a.Event(0, {0x90, 60, 100})
        .Event(10, {0x80, 60, 0})
        .Event(0, {0x99, 36, 100})
        .Event(10, {0x89, 36, 0})
        .EndOfTrack();
    Load(TwoTrackFile(a), profile);
    ASSERT_TRUE(PolyraStages::RemoveOverloads(ws));
    EXPECT_EQ(Notes(), (Lines{"10 on 9:36", "20 off 9:36"}));
    EXPECT_EQ(ws.overloads[2], 1u);
    EXPECT_TRUE(log.GetSummaryText().contains(QStringLiteral("\tcapacite RAM : 1 (100 %)\n")));
}

TEST_F(PolyraStagesTest, MediaScriptInsertsTagsAndFillsBothTracks)
{
    // 96 ticks a quarter of 500 ms: 1.5 s is tick 288.
    TrackBuilder a;
    a.Event(0, {0x90, 60, 100})
        .Event(300, {0x80, 60, 0})
        .Event(300, {0x90, 62, 100})
        .Event(100, {0x80, 62, 0})
        .EndOfTrack();
    Load(TwoTrackFile(a));
    QByteArray script = "// a comment\n"
                        "\n"
                        "1.5\tTXT\tHello\\World\n"
                        "no tabs here\n"
                        "-1\tPIC\t3\n"
                        "abc\tPIC\t3\n"
                        "0.1\tQTZ\t\n"
                        "1.6\tPIC\t0x10\n"
                        "0.5\tSND\tx\n";
    QBuffer device(&script);
    device.open(QIODevice::ReadOnly);
    ASSERT_TRUE(PolyraStages::InsertMedia(ws, &device));
    // 1.6 s is tick 307, within the 0.1 s window (19 ticks) after the
    // command at tick 300: the tag goes there.
    EXPECT_EQ(Notes(), (Lines{"0 on 0:60", "288 tag 1", "300 off 0:60", "300 tag 2", "600 on 0:62", "700 off 0:62"}));
    EXPECT_EQ(ws.writer.GetTrackCount(), 3);
    EXPECT_EQ(BytesToWords(ws.writer.GetTrackBytes(1), ws.writer.GetTrackLength(1)),
              (Words{0x029E, 0x0D10, 0x0000, 0xFFFF, (1 << 5) | 25, (11 << 9) | 1, 0x6548, 0x6C6C, 0x0D6F, 0x6F57,
                     0x6C72, 0xFF64, 0x02FE}));
    EXPECT_EQ(BytesToWords(ws.writer.GetTrackBytes(2), ws.writer.GetTrackLength(2)),
              (Words{0x039E, 0x0920, 0x0000, 0xFFFF, (2 << 5) | 25, 29, 0x10, 0, 0x03FE}));
    const QString text = log.GetSummaryText();
    EXPECT_TRUE(text.contains(QStringLiteral("USAGER : Commande EMI inconnue => ignoree\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("2 media inseres\n")));
}

} // namespace
