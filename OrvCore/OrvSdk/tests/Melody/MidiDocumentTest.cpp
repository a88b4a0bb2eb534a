#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMidiInstrumentUsage.h"
#include "MelodyTestSupport.h"
#include "MidiFileBuilder.h"
#include "QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<CDocumentMidi> Load(const QByteArray& bytes)
{
    std::unique_ptr<CDocumentMidi> doc(new CDocumentMidi);
    doc->SetName(QStringLiteral("/songs/Test.mid"));
    doc->SetRawData(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned>(bytes.size()));
    return doc;
}

// Elements as "key:duration.modifier:volume" for notes, "r:duration.modifier" for rests.
QStringList Melody(CDocumentMidi& midi)
{
    MessageCapture quiet;
    CDocumentMelody* melody = midi.BuildMelodyDocument();
    QStringList items;
    for (const MelodyElement* e : melody->GetMelodyNoteList()) {
        const MidiNote* n = static_cast<const MidiNote*>(e);
        if (n->IsSilence())
            items << QStringLiteral("r:%1.%2").arg(n->GetDuration()).arg(n->GetDurationModifier());
        else
            items << QStringLiteral("%1:%2.%3:%4")
                         .arg(n->GetMidiKey())
                         .arg(n->GetDuration())
                         .arg(n->GetDurationModifier())
                         .arg(n->GetVolume());
    }
    return items;
}

// `count` notes of `ticks` each on a channel, rising from `key`, the first
// after `lead` ticks.
SmfTrack& Notes(SmfTrack& track, int channel, int key, int count, uint32_t ticks, uint32_t lead = 0)
{
    for (int i = 0; i < count; ++i)
        track.NoteOn(i == 0 ? lead : 0, channel, key + i, 100).NoteOff(ticks, channel, key + i);
    return track;
}

// The melody items of `count` rising notes of one duration.
QStringList Expected(int key, int count, const char* duration)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QStringLiteral("%1:%2:100").arg(key + i).arg(QLatin1String(duration));
    return items;
}

QList<int> g_Progress;
void RecordProgress(int percent)
{
    g_Progress << percent;
}
} // namespace

TEST(MidiDocument, DrumsOnlyGiveAnEmptyMelody)
{
    SmfTrack track;
    track.NoteOn(0, 9, 36, 100).NoteOff(480, 9, 36).NoteOn(0, 9, 38, 100).NoteOff(480, 9, 38);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(midi->GetDocType(), 4);
    EXPECT_TRUE(Melody(*midi).isEmpty());
    const CMidiInstrumentUsage* usage = midi->GetInstrumentUsage();
    ASSERT_TRUE(usage);
    EXPECT_EQ(usage->GetProgramNoteCount(128), 2);
    EXPECT_TRUE(usage->IsFamilyUsed(16));
    EXPECT_FALSE(usage->IsFamilyUsed(0));
    EXPECT_FALSE(usage->IsFamilyUsed(17));
}

TEST(MidiDocument, InstrumentUsageFollowsProgramChanges)
{
    SmfTrack one;
    one.NoteOn(0, 0, 60, 90).NoteOff(10, 0, 60).Program(0, 0, 41).NoteOn(0, 0, 62, 90).NoteOff(10, 0, 62);
    one.NoteOn(0, 0, 64, 0); // velocity 0 is no note
    SmfTrack two;
    two.Program(0, 9, 5).NoteOn(0, 9, 40, 80).Program(0, 3, 127).NoteOn(0, 3, 50, 80);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({one, two}));
    const CMidiInstrumentUsage* usage = midi->GetInstrumentUsage();
    EXPECT_EQ(usage->GetProgramNoteCount(0), 1);
    EXPECT_EQ(usage->GetProgramNoteCount(41), 1);
    EXPECT_EQ(usage->GetProgramNoteCount(128), 1); // channel 10 ignores its program change
    EXPECT_EQ(usage->GetProgramNoteCount(127), 1);
    EXPECT_EQ(usage->GetFamilyNoteCount(5), 1);
    EXPECT_EQ(usage->GetFamilyNoteCount(15), 1);
    EXPECT_EQ(usage->GetFamilyNoteCount(0), 1);
    EXPECT_EQ(usage->GetProgramNoteCount(-1), 0);
    EXPECT_EQ(usage->GetProgramNoteCount(129), 0);
}

TEST(MidiDocument, TempoFromTheLastUsableSetTempo)
{
    SmfTrack track;
    track.Tempo(0, 500000).Tempo(0, 400000).Meta(0, 0x51, QByteArray("\x07\xA1", 2)).Tempo(0, 0);
    track.Meta(0, 0x51, QByteArray("\x07\xA1\x20\x00", 4)); // four bytes: no tempo
    track.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(midi->GetTempo(), 150);
    MessageCapture quiet;
    EXPECT_EQ(midi->BuildMelodyDocument()->GetBeat(), 150);
}

// The beat of the tune: one tempo kept while the notes play is the tune's
// (today's truncation of 60 / seconds per quarter); else the average pace
// of the notes, 60,000,000 x ticks / the sum of ticks x microseconds.
TEST(MidiDocument, TheTuneTempoIsThePaceOfItsNotes)
{
    // Quarter notes on channel 1 from the track's start.
    const auto quarters = [](int count, uint32_t lead = 0) {
        SmfTrack track;
        for (int i = 0; i < count; ++i)
            track.NoteOn(i == 0 ? lead : 0, 0, 60 + i % 12, 100).NoteOff(480, 0, 60 + i % 12);
        return track;
    };
    SmfTrack ritardando; // 46 quarters at 180 bpm, the last 2 at 69
    ritardando.Tempo(0, 333333).Tempo(46 * 480, 869565);
    SmfTrack ramp; // 120 down to 60 by 4 each quarter
    for (int i = 0; i < 16; ++i)
        ramp.Tempo(i == 0 ? 0 : 480, 60000000 / (120 - 4 * i));
    SmfTrack single;
    single.Tempo(0, 666667);
    SmfTrack afterTheLastNote; // a tempo from the last Note Off on is no part of the tune
    afterTheLastNote.Tempo(0, 400000).Tempo(4 * 480, 1000000);
    SmfTrack sameAgain;
    sameAgain.Tempo(0, 400000).Tempo(480, 400000);
    SmfTrack fastMiddle; // 120, 240, 120: quarters x 60e6 / (960 x 1,250,000 / 480)
    fastMiddle.Tempo(0, 500000).Tempo(960, 250000).Tempo(960, 500000);
    SmfTrack lateFirst; // 500,000 is in force before the first tempo: 2 at 120, 2 at 60
    lateFirst.Tempo(960, 1000000);
    SmfTrack drumsFirst; // drums play at 200 bpm until the tune starts at 100
    drumsFirst.Tempo(0, 300000).NoteOn(0, 9, 36, 100).NoteOff(960, 9, 36).Tempo(0, 600000);
    SmfTrack drumsOnly; // no tune: the last valid tempo in the file, whatever its tick
    drumsOnly.Tempo(960, 600000).NoteOn(0, 9, 36, 100).NoteOff(480, 9, 36);
    SmfTrack laterTrackEarlierTick;
    laterTrackEarlierTick.Tempo(0, 400000);

    struct Case
    {
        const char* label;
        QList<SmfTrack> tracks;
        int tempo;
    };
    const Case cases[] = {
        {"no tempo event", {quarters(4)}, 120},
        {"a ritardando in the last two quarters", {ritardando, quarters(48)}, 168},
        {"a ramp from 120 to 60", {ramp, quarters(16)}, 86},
        {"a single tempo", {single, quarters(4)}, 89},
        {"a tempo at the last Note Off", {afterTheLastNote, quarters(4)}, 150},
        {"the same tempo set again", {sameAgain, quarters(4)}, 150},
        {"a faster middle", {fastMiddle, quarters(6)}, 144},
        {"the default before a later tempo", {lateFirst, quarters(4)}, 80},
        {"drums before the tune", {drumsFirst, quarters(4, 960)}, 100},
        {"drums only", {drumsOnly, laterTrackEarlierTick}, 150},
    };
    MessageCapture quiet;
    for (const Case& c : cases) {
        std::unique_ptr<CDocumentMidi> midi = Load(SmfFile(c.tracks));
        EXPECT_EQ(midi->GetTempo(), c.tempo) << c.label;
        EXPECT_EQ(midi->BuildMelodyDocument()->GetBeat(), c.tempo) << c.label;
    }
}

TEST(MidiDocument, FollowsTheFirstUsableProgram)
{
    SmfTrack a;
    a.Program(0, 0, 0).Program(0, 1, 100);
    a.NoteOn(0, 1, 50, 100).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).NoteOff(0, 1, 50);
    a.NoteOn(0, 1, 52, 100).NoteOn(0, 0, 62, 100).NoteOff(240, 0, 62).NoteOff(0, 1, 52);
    std::unique_ptr<CDocumentMidi> first = Load(SmfFile({a}));
    EXPECT_EQ(Melody(*first), (QStringList{QStringLiteral("60:2.0:100"), QStringLiteral("62:3.0:100")}));

    SmfTrack b;
    b.Program(0, 0, 120).Program(0, 1, 0);
    b.NoteOn(0, 0, 50, 100).NoteOn(0, 1, 60, 100).NoteOff(480, 1, 60).NoteOff(0, 0, 50);
    std::unique_ptr<CDocumentMidi> second = Load(SmfFile({b}));
    EXPECT_EQ(Melody(*second), (QStringList{QStringLiteral("60:2.0:100")}));
}

TEST(MidiDocument, NoteBeforeAnyUsableProgramFollowsItsChannel)
{
    SmfTrack track;
    track.Program(0, 2, 110).NoteOn(0, 2, 70, 100).NoteOff(480, 2, 70).NoteOn(0, 3, 40, 100).NoteOff(480, 3, 40);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(Melody(*midi), (QStringList{QStringLiteral("70:2.0:100")}));
}

TEST(MidiDocument, TakesTheFirstTrackWithNotes)
{
    SmfTrack conductor;
    conductor.Tempo(0, 500000).Meta(0, 0x03, QByteArray("Title"));
    SmfTrack tune;
    tune.NoteOn(0, 0, 64, 100).NoteOff(480, 0, 64).NoteOn(0, 0, 65, 100).NoteOff(480, 0, 65);
    SmfTrack other;
    other.NoteOn(0, 1, 40, 100).NoteOff(480, 1, 40);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({conductor, tune, other}));
    EXPECT_EQ(Melody(*midi), (QStringList{QStringLiteral("64:2.0:100"), QStringLiteral("65:2.0:100")}));
}

TEST(MidiDocument, GapsBecomeRests)
{
    SmfTrack track;
    track.NoteOn(960, 0, 60, 100).NoteOff(480, 0, 60); // leading silence is dropped
    track.NoteOn(1440, 0, 62, 100).NoteOff(480, 0, 62);
    track.NoteOn(20, 0, 64, 100).NoteOff(480, 0, 64); // too short for a rest
    track.NoteOn(3600, 0, 65, 100).NoteOff(480, 0, 65);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(Melody(*midi),
              (QStringList{QStringLiteral("60:2.0:100"), QStringLiteral("r:1.1"), QStringLiteral("62:2.0:100"),
                           QStringLiteral("64:2.0:100"), QStringLiteral("r:0.2"), QStringLiteral("r:3.0"),
                           QStringLiteral("65:2.0:100")}));
}

TEST(MidiDocument, AnOverlappingNoteEndsTheSoundingNote)
{
    SmfTrack track;
    track.NoteOn(0, 0, 60, 100).NoteOn(240, 0, 67, 100).NoteOff(240, 0, 60).NoteOff(0, 0, 67);
    track.NoteOn(0, 0, 69, 100).NoteOn(480, 0, 12, 0).NoteOff(0, 0, 69);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(Melody(*midi),
              (QStringList{QStringLiteral("60:3.0:100"), QStringLiteral("67:3.0:100"), QStringLiteral("69:2.0:100")}));
}

// Legato: each note is released 60 ticks after the next one starts, by a Note
// On of velocity 0 or by a Note Off; either way only its own key is ended.
TEST(MidiDocument, ANoteOnOfVelocityZeroIsANoteOff)
{
    for (const bool silentNoteOn : {true, false}) {
        SmfTrack track;
        track.NoteOn(0, 1, 30, 0); // chooses no channel
        track.NoteOn(0, 0, 60, 100);
        for (int i = 1; i <= 8; ++i) {
            if (i < 8)
                track.NoteOn(i == 1 ? 480 : 420, 0, 60 + i, 100);
            const uint32_t delta = i < 8 ? 60 : 420;
            if (silentNoteOn)
                track.NoteOn(delta, 0, 60 + i - 1, 0);
            else
                track.NoteOff(delta, 0, 60 + i - 1);
        }
        std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}, 480, 0));
        EXPECT_EQ(Melody(*midi), Expected(60, 8, "2.0")) << silentNoteOn;
    }
}

// A set-up track that names programs on channels that never play: the channel
// that plays first is followed, with the program it has then. Where the
// program walk finds notes, the file keeps its melody.
TEST(MidiDocument, SilentProgramsOfASetUpTrackGiveWayToTheChannelThatPlays)
{
    SmfTrack setUp;
    setUp.Tempo(0, 500000).Program(0, 0, 0).Program(0, 1, 48).Program(0, 2, 5);
    SmfTrack strings;
    strings.NoteOn(0, 9, 36, 100).NoteOn(0, 2, 50, 0).NoteOn(0, 1, 64, 100).NoteOff(480, 1, 64).NoteOff(0, 9, 36);
    strings.NoteOn(0, 1, 67, 90).NoteOff(480, 1, 67);
    // Channel 2 plays on with another program until channel 4 takes 48 up.
    strings.Program(0, 1, 5).NoteOn(0, 1, 40, 100).NoteOff(480, 1, 40);
    strings.Program(0, 3, 48).NoteOn(0, 3, 72, 100).NoteOff(240, 3, 72);
    SmfTrack piano; // 2 of the 3.5 quarters that the notes span
    piano.NoteOn(0, 0, 60, 100).NoteOff(960, 0, 60);
    SmfTrack drums;
    drums.NoteOn(0, 9, 36, 100).NoteOff(480, 9, 36);

    const QStringList fromStrings{QStringLiteral("64:2.0:100"), QStringLiteral("67:2.0:90"),
                                  QStringLiteral("40:2.0:100"), QStringLiteral("72:3.0:100")};
    struct Case
    {
        const char* label;
        QList<SmfTrack> tracks;
        QStringList melody;
    };
    const Case cases[] = {
        {"only the second channel plays", {setUp, strings}, fromStrings},
        {"the followed program plays in a later track", {setUp, strings, piano}, {QStringLiteral("60:1.0:100")}},
        {"only drums play", {setUp, drums}, {}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CDocumentMidi> midi = Load(SmfFile(c.tracks));
        EXPECT_EQ(Melody(*midi), c.melody) << c.label;
    }
}

// Half a thirty-second note at 480 ticks a quarter is 30 ticks: a note that
// ends sooner is not written, one of 30 ticks is.
TEST(MidiDocument, NotesShorterThanHalfTheShortestDurationAreNotWritten)
{
    SmfTrack track;
    track.NoteOn(0, 0, 60, 100).NoteOn(29, 0, 62, 100).NoteOn(30, 0, 64, 100).NoteOff(450, 0, 64);
    track.NoteOn(480, 0, 65, 100).NoteOff(10, 0, 65).NoteOn(0, 0, 67, 100).NoteOff(480, 0, 67);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(Melody(*midi), (QStringList{QStringLiteral("62:5.0:100"), QStringLiteral("64:2.0:100"),
                                          QStringLiteral("r:2.0"), QStringLiteral("67:2.0:100")}));
}

TEST(MidiDocument, ChannelVolumeScalesVelocity)
{
    SmfTrack track;
    track.NoteOn(0, 0, 60, 127).NoteOff(480, 0, 60).Control(0, 0, 7, 64).NoteOn(0, 0, 62, 127).NoteOff(480, 0, 62);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    EXPECT_EQ(Melody(*midi), (QStringList{QStringLiteral("60:2.0:127"), QStringLiteral("62:2.0:64")}));
}

// The followed channel plays on through its own changes of program; a
// channel that takes the followed program up takes the melody over.
TEST(MidiDocument, TheFollowedChannelKeepsItsMelodyThroughProgramChanges)
{
    SmfTrack track;
    track.Program(0, 0, 1).NoteOn(0, 0, 60, 100).Program(240, 0, 2).NoteOff(240, 0, 60);
    track.NoteOn(0, 0, 62, 100).NoteOff(480, 0, 62).Program(0, 4, 1).NoteOn(0, 4, 64, 100).NoteOff(480, 4, 64);
    track.NoteOn(0, 0, 50, 100).NoteOn(0, 4, 65, 100).NoteOff(480, 4, 65).NoteOff(0, 0, 50);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}, 480, 0));
    EXPECT_EQ(Melody(*midi), (QStringList{QStringLiteral("60:2.0:100"), QStringLiteral("62:2.0:100"),
                                          QStringLiteral("64:2.0:100"), QStringLiteral("65:2.0:100")}));

    // Twenty quarters whose channel changes program during the seventh, over
    // forty eighths of another channel: the melody is the twenty quarters.
    SmfTrack tune;
    tune.Program(0, 0, 0).Program(0, 1, 32);
    for (int i = 0; i < 20; ++i) {
        tune.NoteOn(0, 0, 60 + i, 100).NoteOn(0, 1, 40, 90);
        if (i == 6)
            tune.Program(0, 0, 40);
        tune.NoteOff(240, 1, 40).NoteOn(0, 1, 41, 90).NoteOff(240, 1, 41).NoteOff(0, 0, 60 + i);
    }
    std::unique_ptr<CDocumentMidi> changing = Load(SmfFile({tune}, 480, 0));
    EXPECT_EQ(Melody(*changing), Expected(60, 20, "2.0"));
}

// A melody under half the span of the notes gives way to the channel with the
// most notes, walked alone in its track, when that melody is longer.
TEST(MidiDocument, AMelodyUnderHalfTheTuneGivesWayToTheBusiestChannel)
{
    SmfTrack conductor;
    conductor.Tempo(0, 500000);
    // A pad, the first programmed track, plays eight quarters in the middle;
    // the next track plays 32 quarters, changing program half-way.
    SmfTrack pad;
    Notes(pad.Program(0, 0, 88), 0, 48, 8, 480, 12 * 480);
    SmfTrack throughout;
    Notes(throughout.Program(0, 1, 0), 1, 60, 16, 480).Program(0, 1, 5);
    Notes(throughout, 1, 76, 16, 480);

    // Format 0: the first programmed channel enters for the last two of the
    // sixteen quarters that channel 1 plays.
    SmfTrack late;
    late.Program(0, 1, 40).Program(0, 0, 0);
    for (int i = 0; i < 16; ++i) {
        late.NoteOn(0, 0, 60 + i, 100);
        if (i >= 14)
            late.NoteOn(0, 1, 80 + i, 100);
        late.NoteOff(480, 0, 60 + i);
        if (i >= 14)
            late.NoteOff(0, 1, 80 + i);
    }

    // Ties: within a track the channel that plays first (4 before 3, whose
    // notes its walk ignores), across tracks the earlier track.
    SmfTrack lone;
    Notes(lone.Program(0, 5, 0), 5, 90, 1, 480, 7 * 480);
    SmfTrack pair;
    for (int i = 0; i < 8; ++i)
        pair.NoteOn(0, 3, 40 + i, 100).NoteOn(0, 2, 60 + i, 100).NoteOff(480, 2, 60 + i).NoteOff(0, 3, 40 + i);
    SmfTrack later;
    Notes(later, 0, 70, 8, 480);

    // The busiest channel's melody is shorter: two whole notes stay.
    SmfTrack shorter;
    Notes(shorter, 0, 60, 2, 1920);
    Notes(shorter, 1, 70, 12, 120, 9 * 480);

    struct Case
    {
        const char* label;
        QList<SmfTrack> tracks;
        int format;
        QStringList melody;
    };
    const Case cases[] = {
        {"a pad in the middle", {conductor, pad, throughout}, 1, Expected(60, 32, "2.0")},
        {"a channel that enters late", {late}, 0, Expected(60, 16, "2.0")},
        {"ties", {lone, pair, later}, 1, Expected(40, 8, "2.0")},
        {"a shorter melody", {shorter}, 0, Expected(60, 2, "0.0")},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CDocumentMidi> midi = Load(SmfFile(c.tracks, 480, c.format));
        EXPECT_EQ(Melody(*midi), c.melody) << c.label;
    }
}

TEST(MidiDocument, CoarseOrMissingResolutionsEnd)
{
    for (int division : {0, 1, 2, 7, 15, 16, 100}) {
        SmfTrack track;
        track.NoteOn(0, 0, 60, 100).NoteOff(5, 0, 60).NoteOn(6, 0, 62, 100).NoteOff(5, 0, 62);
        track.NoteOn(1000, 0, 64, 100).NoteOff(3, 0, 64).NoteOn(1, 0, 65, 100).NoteOff(1, 0, 65);
        std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}, division));
        const QStringList melody = Melody(*midi);
        if (division == 100) {
            // Every note is shorter than half a thirty-second note (6 ticks).
            EXPECT_TRUE(melody.isEmpty());
            continue;
        }
        EXPECT_GE(melody.size(), 4) << division;
        if (division == 0) {
            EXPECT_EQ(melody.size(), 4);
        }
        EXPECT_LT(melody.size(), 200) << division;
    }
}

TEST(MidiDocument, ProgressStartsAtZero)
{
    SmfTrack track;
    for (int i = 0; i < 20; ++i)
        track.NoteOn(0, 0, 60 + i, 100).NoteOff(240, 0, 60 + i);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    g_Progress.clear();
    MessageCapture quiet;
    midi->BuildMelodyDocument(RecordProgress);
    ASSERT_FALSE(g_Progress.isEmpty());
    EXPECT_EQ(g_Progress.first(), 0);
    for (int i = 1; i < g_Progress.size(); ++i)
        EXPECT_GE(g_Progress[i], g_Progress[i - 1]);
    EXPECT_GE(g_Progress.last(), 90);
}

TEST(MidiDocument, MelodyIsReplacedAndOwned)
{
    SmfTrack track;
    track.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60);
    std::unique_ptr<CDocumentMidi> midi = Load(SmfFile({track}));
    MessageCapture quiet;
    CDocumentMelody* first = midi->BuildMelodyDocument();
    EXPECT_EQ(first->GetName(), QStringLiteral("/songs/Test.mid"));
    EXPECT_EQ(first->GetMelodyName(), QStringLiteral("Test"));
    EXPECT_EQ(first->GetStyle(), 0);
    EXPECT_EQ(first->GetVolume(), 7);
    CDocumentMelody* second = midi->BuildMelodyDocument();
    EXPECT_EQ(midi->GetMelodyDocument(), second);
    EXPECT_EQ(second->GetMelodyNoteList().count(), 1);
}

TEST(MidiDocument, WithoutAStreamTheMelodyIsEmpty)
{
    MessageCapture capture;
    CDocumentMidi midi;
    CDocumentMelody* melody = midi.BuildMelodyDocument();
    ASSERT_TRUE(melody);
    EXPECT_TRUE(melody->GetMelodyNoteList().isEmpty());
    EXPECT_TRUE(capture.HasWarning(QStringLiteral("m_pMidiStream")));
    EXPECT_FALSE(midi.SaveMidiFile(QStringLiteral("/nonexistent/x.mid")));
    EXPECT_TRUE(capture.HasWarning(QStringLiteral("!m_MemoryFile.isNull()")));
}

TEST(MidiDocument, SavesTheBytesUnchanged)
{
    SmfTrack track;
    track.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60);
    const QByteArray bytes = SmfFile({track});
    std::unique_ptr<CDocumentMidi> midi = Load(bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.mid"));
    ASSERT_TRUE(WriteFileBytes(path, QByteArray(1000, 'o')));
    ASSERT_TRUE(midi->SaveMidiFile(path));
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(midi->GetRawData(), bytes);
    EXPECT_FALSE(midi->SaveMidiFile(dir.filePath(QStringLiteral("missing/x.mid"))));
}
