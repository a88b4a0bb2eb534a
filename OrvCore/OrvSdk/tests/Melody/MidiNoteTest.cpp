#include "Melody/MidiNote.h"
#include "MelodyTestSupport.h"

#include <gtest/gtest.h>
#include <type_traits>

TEST(MidiNote, NewNoteIsARest)
{
    MidiNote note;
    EXPECT_EQ(note.GetValue(), MidiNote::Silence);
    EXPECT_EQ(note.GetOctave(), 0);
    EXPECT_EQ(note.GetDuration(), 0);
    EXPECT_EQ(note.GetDurationModifier(), 0);
    EXPECT_EQ(note.GetVolume(), 0);
    EXPECT_EQ(note.GetTicksPerQuarter(), 0);
    EXPECT_EQ(note.GetElementType(), MelodyElement::Note);
}

TEST(MidiNote, MidiKeysMapToPitchClassAndOctave)
{
    MidiNote note;
    note.SetMidiKey(0);
    EXPECT_EQ(note.GetValue(), MidiNote::Silence);
    EXPECT_EQ(note.GetOctave(), -2);
    EXPECT_EQ(note.GetMidiKey(), -1);
    note.SetMidiKey(60);
    EXPECT_EQ(note.GetValue(), 0);
    EXPECT_EQ(note.GetOctave(), 3);
    EXPECT_EQ(note.GetMidiKey(), 60);
    note.SetMidiKey(71);
    EXPECT_EQ(note.GetValue(), 11);
    EXPECT_EQ(note.GetOctave(), 3);
    note.Transpose(13);
    EXPECT_EQ(note.GetMidiKey(), 84);
    MidiNote rest;
    rest.Transpose(12);
    EXPECT_EQ(rest.GetMidiKey(), -1);
}

TEST(MidiNote, ElementsAreDeletedThroughTheBase)
{
    static_assert(std::has_virtual_destructor<MelodyElement>::value, "lists delete through the base");
    MelodyElement* element = MakeNote(0, 4, 2);
    delete element; // the sanitizer build reports a mismatched delete
    MelodyNoteList list;
    list.append(new MelodyBeginPattern(2));
    list.append(MakeNote(1, 4, 2));
    list.append(new MelodyEndPattern(2));
    MelodyNoteList copy;
    copy.AppendCopies(list);
    ASSERT_EQ(copy.count(), 3);
    EXPECT_NE(copy.at(1), list.at(1));
    EXPECT_EQ(static_cast<MelodyEndPattern*>(copy.at(2))->GetRepeatCount(), 2);
}

struct QuantiseCase
{
    int ticks;
    int q;
    int duration;
    int modifier;
    int leftover;
};

class MidiNoteQuantise : public ::testing::TestWithParam<QuantiseCase>
{};

TEST_P(MidiNoteQuantise, PicksTheClosestCandidate)
{
    const QuantiseCase c = GetParam();
    MidiNote note;
    EXPECT_EQ(note.SetDurationFromTicks(c.ticks, c.q), c.leftover);
    EXPECT_EQ(note.GetDuration(), c.duration);
    EXPECT_EQ(note.GetDurationModifier(), c.modifier);
    EXPECT_EQ(note.GetTicksPerQuarter(), c.q);
}

INSTANTIATE_TEST_SUITE_P(Table, MidiNoteQuantise,
                         ::testing::Values(QuantiseCase{480, 480, 2, 0, 0},    // plain quarter
                                           QuantiseCase{720, 480, 2, 1, 0},    // dotted quarter
                                           QuantiseCase{25, 480, 5, 0, -5},    // below half a 32nd
                                           QuantiseCase{3600, 480, 0, 2, 240}, // past the longest
                                           QuantiseCase{1440, 480, 1, 1, 0},   // dotted half
                                           // 600 lies 120 from the plain (480) and the dotted
                                           // quarter (720): the lowest index, the plain family, wins.
                                           QuantiseCase{600, 480, 2, 0, 120},
                                           QuantiseCase{840, 480, 2, 2, 0}, // double dotted quarter
                                           QuantiseCase{800, 480, 2, 3, 0}, // 5/3 of a quarter
                                           QuantiseCase{30, 480, 5, 0, 0},  // half a 32nd: within the tolerance
                                           QuantiseCase{6, 100, 5, 0, 6},   // leftover as large as the input
                                           QuantiseCase{0, 1, 5, 0, 0},     // a resolution too coarse to halve
                                           QuantiseCase{480, 0, 5, 0, 0})); // no resolution: shortest note

TEST(MidiNote, NoResolutionRaisesTheCheckAndStaysInTables)
{
    MessageCapture capture;
    MidiNote note;
    note.SetValue(9);
    note.SetOctave(3);
    EXPECT_EQ(note.SetDurationFromTicks(100, 0), 0);
    EXPECT_TRUE(capture.HasWarning(QStringLiteral("nMinRestIndex>=0")));
    EXPECT_EQ(note.GetDuration(), 5);
    EXPECT_EQ(note.GetDurationModifier(), 0);
    EXPECT_EQ(note.GetDurationMs(120), 62);
}

TEST(MidiNote, BandFitMovesByOctaves)
{
    MidiNote note;
    note.SetMidiKey(84);
    EXPECT_TRUE(note.FitInBandwidth(60, 72));
    EXPECT_EQ(note.GetMidiKey(), 72);
    note.SetMidiKey(40);
    EXPECT_TRUE(note.FitInBandwidth(60, 72));
    EXPECT_EQ(note.GetMidiKey(), 64);
    note.SetMidiKey(127);
    EXPECT_TRUE(note.FitInBandwidth(0, 4294967295u));
    EXPECT_EQ(note.GetMidiKey(), 127);
    // A band far above: reached in one step, pitch class kept.
    note.SetMidiKey(61);
    EXPECT_TRUE(note.FitInBandwidth(1200000, 1200100));
    EXPECT_EQ(note.GetMidiKey() % 12, 1);
    EXPECT_GE(note.GetMidiKey(), 1200000);
    EXPECT_LE(note.GetMidiKey(), 1200100);
}

TEST(MidiNote, BandNarrowerThanAnOctaveIsRefused)
{
    // 60..71 spans 11 semitones: refused like every other band check.
    MidiNote note;
    note.SetMidiKey(84);
    EXPECT_FALSE(note.FitInBandwidth(60, 71));
    EXPECT_FALSE(note.FitInBandwidth(60, 70));
    EXPECT_FALSE(note.FitInBandwidth(72, 60));
    EXPECT_EQ(note.GetMidiKey(), 84);
    MidiNote rest;
    EXPECT_TRUE(rest.FitInBandwidth(72, 60));

    MessageCapture capture;
    MelodyNoteList list;
    list.append(MakeNote(0, 5, 2));
    list.append(new MelodyBeginPattern);
    MidiNote::FitListInBandwidth(list, 60, 71);
    EXPECT_TRUE(capture.HasWarning(QStringLiteral("bBandwidthOk")));
}

TEST(MidiNote, FrequencyAndLength)
{
    MidiNote a;
    a.SetMidiKey(69);
    EXPECT_DOUBLE_EQ(a.GetFrequency(), 440.0);
    MidiNote c;
    c.SetMidiKey(48);
    EXPECT_DOUBLE_EQ(c.GetFrequency(), 130.65);
    EXPECT_DOUBLE_EQ(MidiNote().GetFrequency(), 0.0);

    struct Case
    {
        int duration;
        int modifier;
        int beat;
        int ms;
        int ninetySixths; // of a quarter note
    };
    const Case cases[] = {
        {2, 0, 120, 500, 96}, // quarter
        {3, 1, 120, 375, 72}, // dotted eighth
        // The beat length is floating point: a whole note at 90 beats per
        // minute lasts 4 x 666.67 ms, where an integer 60000 / 90 would give 2664.
        {0, 0, 90, 2666, 384},
        {2, 3, 90, 1111, 160},  // triplet
        {0, 2, 120, 3500, 672}, // double-dotted whole
        {9, 7, 120, 62, 12},    // out of the tables: a thirty-second
        // The beat is clamped to the IMelody range 25 to 900.
        {2, 0, 0, 2400, 96},
        {2, 0, -40, 2400, 96},
        {2, 0, 25, 2400, 96},
        {2, 0, 5000, 66, 96},
    };
    for (const Case& t : cases) {
        MidiNote note;
        note.SetDuration(t.duration);
        note.SetDurationModifier(t.modifier);
        EXPECT_EQ(note.GetDurationMs(t.beat), t.ms) << t.duration << "/" << t.modifier << " at " << t.beat;
        EXPECT_EQ(note.GetLengthIn96ths(), t.ninetySixths) << t.duration << "/" << t.modifier;
    }
}

TEST(MidiNote, VolumeFromVelocityAndChannel)
{
    MidiNote note;
    note.SetVolume(127, 127);
    EXPECT_EQ(note.GetVolume(), 127);
    note.SetVolume(100, 64);
    EXPECT_EQ(note.GetVolume(), 50);
    note.SetVolume(255, 255); // malformed data bytes saturate
    EXPECT_EQ(note.GetVolume(), 255);
}

TEST(MidiNote, VolumeFactorsKeepTheElseIfQuirk)
{
    MessageCapture capture;
    MelodyNoteList list;
    list.append(MakeNote(0, 4, 2, 0, 100));
    list.append(MakeNote(2, 4, 2, 0, 90));
    VolumeInfo info;
    info.nTopLevel = 15;
    MidiNote::ComputeVolumeFactors(list, info);
    EXPECT_EQ(info.nMidiVolumeMin, 90);
    EXPECT_EQ(info.nMidiVolumeMax, 127);
    EXPECT_TRUE(
        capture.DebugLines().contains(QStringLiteral("MidiNote::ComputeVolumeFactors : nMidiVolumeMax from 0 to max")));
    EXPECT_EQ(info.nOffset, 15 * 90 / 127);
    EXPECT_EQ(info.nMidiVolumeRange, 37);
    EXPECT_EQ(info.nLevelSpan, 15 - 10);
    EXPECT_DOUBLE_EQ(info.dScale, 5.0 / 37);

    MelodyNoteList rests;
    rests.append(MakeRest(2));
    VolumeInfo restInfo;
    restInfo.nTopLevel = 9;
    MidiNote::ComputeVolumeFactors(rests, restInfo);
    EXPECT_EQ(restInfo.nMidiVolumeMin, 127);
    EXPECT_EQ(restInfo.nMidiVolumeMax, 127);
    EXPECT_DOUBLE_EQ(restInfo.dScale, 0.0);
    EXPECT_EQ(restInfo.nOffset, 9);
}

TEST(MidiNote, VolumeLevelsMapOntoTheTopLevel)
{
    MelodyNoteList list;
    list.append(MakeNote(0, 4, 2, 0, 127));
    list.append(MakeNote(2, 4, 2, 0, 64));
    list.append(MakeNote(4, 4, 2, 0, 127));
    VolumeInfo info;
    info.nTopLevel = 15;
    MidiNote::ComputeVolumeFactors(list, info);
    EXPECT_EQ(static_cast<MidiNote*>(list.at(0))->GetVolumeLevel(info), 15);
    EXPECT_EQ(static_cast<MidiNote*>(list.at(1))->GetVolumeLevel(info), 7);

    // The first note only lowers the minimum: a later, quieter maximum puts
    // it above the top level.
    MelodyNoteList skewed;
    skewed.append(MakeNote(0, 4, 2, 0, 100));
    skewed.append(MakeNote(2, 4, 2, 0, 50));
    skewed.append(MakeNote(4, 4, 2, 0, 80));
    VolumeInfo over;
    over.nTopLevel = 15;
    MidiNote::ComputeVolumeFactors(skewed, over);
    EXPECT_GT(static_cast<MidiNote*>(skewed.at(0))->GetVolumeLevel(over), 15);
}

TEST(MidiNote, DumpLine)
{
    MidiNote* note = MakeNote(1, 5, 3, 1, 64);
    EXPECT_EQ(note->Dump(), QStringLiteral("5C#3. Vol = 64"));
    delete note;
    MidiNote rest;
    rest.SetDuration(4);
    EXPECT_EQ(rest.Dump(), QStringLiteral("0Silence4 Vol = 0"));
}
