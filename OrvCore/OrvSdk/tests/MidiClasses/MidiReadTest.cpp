#include "MidiStreamLoad.h"

#include "MidiClasses/MidiEventData.h"
#include "MidiClasses/MidiMessageEvent.h"
#include "MidiClasses/MidiMetaEvent.h"
#include "MidiClasses/MidiSysexEvent.h"

#include <gtest/gtest.h>

using namespace MidiTest;

namespace {

MidiEventData DataOf(const MidiEvent* event)
{
    MidiEventData data;
    event->GetData(data);
    return data;
}

// Expects a channel message with the given delta time, status and data bytes.
void ExpectMessage(const MidiEvent* event, uint32_t delta, int status, int data1, int data2)
{
    ASSERT_NE(event, nullptr);
    const MidiEventData data = DataOf(event);
    EXPECT_EQ(data.m_Kind, MidiEventData::KIND_MESSAGE);
    EXPECT_EQ(data.m_DeltaTime, delta);
    EXPECT_EQ(data.m_Status, status);
    EXPECT_EQ(data.m_Data1, data1);
    EXPECT_EQ(data.m_Data2, data2);
}

TrackBuilder TuneTrack()
{
    TrackBuilder track;
    track.Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20}))
        .Meta(0, 0x58, Bytes({0x04, 0x02, 0x18, 0x08}))
        .Event(0, {0xC0, 0x05})
        .Event(0, {0x90, 0x3C, 0x64})
        .Event(480, {0x80, 0x3C, 0x40})
        .EndOfTrack();
    return track;
}

} // namespace

TEST(MidiRead, FormatZeroFileLoadsHeaderAndEventsInOrder)
{
    FileBuilder file;
    file.Header(0, 1, 480).Track(TuneTrack());
    LoadedMidi midi = Load(file.Data());

    ASSERT_TRUE(midi.headerLoaded);
    EXPECT_EQ(midi.stream->GetHeader().GetFormat(), 0);
    EXPECT_EQ(midi.stream->GetHeader().GetNumberOfTracks(), 1);
    EXPECT_EQ(midi.stream->GetDivision(), 480);
    ASSERT_EQ(midi.stream->GetTrackCount(), 1);

    MidiTrack* track = midi.stream->GetFirstTrack();
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->GetNumber(), 1);
    EXPECT_EQ(track->GetLength(), uint32_t(TuneTrack().Body().size()));
    EXPECT_EQ(track->GetEventList()->CountFollowing(), 6);

    const QList<MidiEvent*> events = EventsOf(track);
    ASSERT_EQ(events.size(), 6);
    EXPECT_EQ(events[0]->GetStatus(), 0xFF);
    EXPECT_EQ(events[0]->GetMetaKind(), MidiMetaEvent::KIND_TEMPO);
    EXPECT_EQ(events[0]->GetValue(), 500000u);
    EXPECT_EQ(events[1]->GetValue(), 0x08180404u);
    ExpectMessage(events[2], 0, 0xC0, 0x05, 0);
    ExpectMessage(events[3], 0, 0x90, 0x3C, 0x64);
    ExpectMessage(events[4], 480, 0x80, 0x3C, 0x40);
    const MidiEventData end = DataOf(events[5]);
    EXPECT_EQ(end.m_Kind, MidiEventData::KIND_META);
    EXPECT_EQ(end.m_MetaType, 0x2F);
    EXPECT_EQ(end.m_Length, 0u);
    EXPECT_EQ(events[5]->GetNext(), nullptr);
    EXPECT_EQ(midi.stream->GetNextTrack(), nullptr);
}

TEST(MidiRead, FormatOneFileLoadsEveryTrackNumberedFromOne)
{
    TrackBuilder tempo;
    tempo.Meta(0, 0x03, QByteArray("Tempo")).Meta(0, 0x51, Bytes({0x0F, 0x42, 0x40})).EndOfTrack();
    TrackBuilder drums;
    drums.Event(0, {0x99, 0x24, 0x7F}).Event(240, {0x89, 0x24, 0x00}).EndOfTrack();
    FileBuilder file;
    file.Header(1, 3, 96).Track(tempo).Track(TuneTrack()).Track(drums);
    LoadedMidi midi = Load(file.Data());

    ASSERT_TRUE(midi.headerLoaded);
    EXPECT_EQ(midi.stream->GetHeader().GetFormat(), 1);
    const QList<MidiTrack*> tracks = TracksOf(*midi.stream);
    ASSERT_EQ(tracks.size(), 3);
    EXPECT_EQ(midi.stream->GetTrackCount(), 3);
    const int expectedEvents[] = {3, 6, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tracks[i]->GetNumber(), i + 1);
        EXPECT_EQ(EventsOf(tracks[i]).size(), expectedEvents[i]);
    }
    EXPECT_EQ(EventsOf(tracks[0])[0]->GetText().second, QStringLiteral("Tempo"));
    EXPECT_EQ(EventsOf(tracks[0])[1]->GetValue(), 1000000u);
    ExpectMessage(EventsOf(tracks[2])[1], 240, 0x89, 0x24, 0x00);
    EXPECT_EQ(midi.stream->GetTrackList().GetFirstLinkedTrack(), tracks[0]);
    EXPECT_EQ(tracks[1]->GetPrev(), tracks[0]);
}

TEST(MidiRead, TrackCountComesFromTheChunksNotTheHeader)
{
    // Three tracks announced, two present.
    FileBuilder twoOfThree;
    twoOfThree.Header(1, 3, 480).Track(TuneTrack()).Track(TuneTrack());
    EXPECT_EQ(Load(twoOfThree.Data()).stream->GetTrackCount(), 2);

    // An unknown chunk ends the reading: the track after it is not read.
    FileBuilder unknownChunk;
    unknownChunk.Header(1, 3, 480)
        .Track(TuneTrack())
        .Track(TuneTrack())
        .Chunk("XFIH", Bytes({1, 2, 3}))
        .Track(TuneTrack());
    EXPECT_EQ(Load(unknownChunk.Data()).stream->GetTrackCount(), 2);

    // One announced, two present: both are read.
    FileBuilder moreThanAnnounced;
    moreThanAnnounced.Header(0, 1, 480).Track(TuneTrack()).Track(TuneTrack());
    EXPECT_EQ(Load(moreThanAnnounced.Data()).stream->GetTrackCount(), 2);

    // A second header chunk is not a track.
    FileBuilder secondHeader;
    secondHeader.Header(0, 1, 480).Track(TuneTrack()).Header(0, 1, 480).Track(TuneTrack());
    EXPECT_EQ(Load(secondHeader.Data()).stream->GetTrackCount(), 1);
}

TEST(MidiRead, HeaderBytesBeyondTheFieldsAreSkipped)
{
    FileBuilder file;
    file.Header(1, 1, 240, 10).Raw(Bytes({0xAA, 0xBB, 0xCC, 0xDD})).Track(TuneTrack());
    LoadedMidi midi = Load(file.Data());
    ASSERT_TRUE(midi.headerLoaded);
    EXPECT_EQ(midi.stream->GetDivision(), 240);
    EXPECT_EQ(midi.stream->GetTrackCount(), 1);
    EXPECT_EQ(midi.stream->GetHeader().GetLength(), 10u);
}

TEST(MidiRead, HeaderFailuresReadNoTracks)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
    };
    FileBuilder hugeHeader;
    hugeHeader.Header(1, 1, 480, 0xFFFFFFFFu).Track(TuneTrack());
    FileBuilder headerPastEnd;
    headerPastEnd.Header(1, 1, 480, 7);
    FileBuilder notMidi;
    notMidi.Chunk("RIFF", Bytes({0, 0, 0, 0, 0, 0})).Track(TuneTrack());
    const Case cases[] = {
        {"empty", QByteArray()},
        {"length 0xFFFFFFFF", hugeHeader.Data()},
        {"length past the end", headerPastEnd.Data()},
        {"other chunk first", notMidi.Data()},
        {"fields cut", QByteArray("MThd\0\0\0\x06\0\x01\0", 11)},
    };
    for (const Case& c : cases) {
        LoadedMidi midi = Load(c.bytes);
        EXPECT_FALSE(midi.headerLoaded) << c.name;
        EXPECT_EQ(midi.stream->GetTrackCount(), 0) << c.name;
        EXPECT_EQ(midi.stream->GetFirstTrack(), nullptr) << c.name;
    }
}

TEST(MidiRead, ShortHeaderLengthStillReadsTheThreeFields)
{
    FileBuilder file;
    file.Header(0, 1, 120, 0).Track(TuneTrack());
    LoadedMidi midi = Load(file.Data());
    ASSERT_TRUE(midi.headerLoaded);
    EXPECT_EQ(midi.stream->GetDivision(), 120);
    EXPECT_EQ(midi.stream->GetTrackCount(), 1);
}

TEST(MidiRead, VariableLengthNumbers)
{
    struct Case
    {
        QByteArray bytes;
        bool ok;
        uint32_t value;
        uint32_t count;
    };
    const Case cases[] = {
        {Bytes({0x00}), true, 0, 1},
        {Bytes({0x7F}), true, 127, 1},
        {Bytes({0x81, 0x00}), true, 128, 2},
        {Bytes({0x83, 0xFF, 0x7F}), true, 65535, 3},
        {Bytes({0x81, 0x80, 0x80, 0x00}), true, 2097152, 4},
        {Bytes({0xFF, 0xFF, 0xFF, 0x7F}), true, 0x0FFFFFFF, 4},
        {Bytes({0x81, 0x80, 0x80, 0x80, 0x00}), false, 0, 4},
        {Bytes({0x81, 0x80}), false, 0, 2},
        {QByteArray(), false, 0, 0},
    };
    for (const Case& c : cases) {
        MidiMemoryStream source(reinterpret_cast<const unsigned char*>(c.bytes.constData()), uint32_t(c.bytes.size()));
        MidiArchive archive(source);
        uint32_t value = 0;
        uint32_t count = 99;
        EXPECT_EQ(archive.ReadVarLen(value, count), c.ok) << c.bytes.toHex().constData();
        EXPECT_EQ(count, c.count) << c.bytes.toHex().constData();
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.bytes.toHex().constData();
        }
    }
}

TEST(MidiRead, LongDeltaTimesAreReadAsDeltaTimes)
{
    TrackBuilder track;
    track.Raw(Bytes({0x83, 0xFF, 0x7F, 0x90, 0x3C, 0x40})).Raw(Bytes({0x81, 0x80, 0x80, 0x00, 0x80, 0x3C, 0x00}));
    LoadedMidi midi = LoadOneTrack(track);
    const QList<MidiEvent*> events = EventsOf(midi.stream->GetFirstTrack());
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0]->GetDeltaTime(), 65535u);
    EXPECT_EQ(events[1]->GetDeltaTime(), 2097152u);
}

TEST(MidiRead, RunningStatusRepeatsTheLastChannelStatus)
{
    TrackBuilder track;
    track.Event(0, {0x90, 0x3C, 0x40})
        .Event(0, {0x3C, 0x00})
        .Event(10, {0x3E, 0x50})
        .Event(0, {0xC1, 0x05})
        .Event(5, {0x06})
        .EndOfTrack();
    LoadedMidi midi = LoadOneTrack(track);
    const QList<MidiEvent*> events = EventsOf(midi.stream->GetFirstTrack());
    ASSERT_EQ(events.size(), 6);
    ExpectMessage(events[0], 0, 0x90, 0x3C, 0x40);
    ExpectMessage(events[1], 0, 0x90, 0x3C, 0x00);
    ExpectMessage(events[2], 10, 0x90, 0x3E, 0x50);
    ExpectMessage(events[3], 0, 0xC1, 0x05, 0);
    ExpectMessage(events[4], 5, 0xC1, 0x06, 0);
    EXPECT_EQ(events[5]->GetStatus(), 0xFF);
}

TEST(MidiRead, RunningStatusSurvivesMetaAndSysexEvents)
{
    TrackBuilder track;
    track.Event(0, {0x91, 0x3C, 0x40})
        .Meta(0, 0x01, QByteArray("a"))
        .Event(0, {0x3C, 0x00})
        .Sysex(0, Bytes({0x7E, 0xF7}))
        .Event(7, {0x40, 0x30})
        .EndOfTrack();
    LoadedMidi midi = LoadOneTrack(track);
    const QList<MidiEvent*> events = EventsOf(midi.stream->GetFirstTrack());
    ASSERT_EQ(events.size(), 6);
    EXPECT_EQ(events[1]->GetText().second, QStringLiteral("a"));
    ExpectMessage(events[2], 0, 0x91, 0x3C, 0x00);
    EXPECT_EQ(DataOf(events[3]).m_Kind, MidiEventData::KIND_SYSEX);
    EXPECT_EQ(DataOf(events[3]).m_Data, Bytes({0x7E, 0xF7}));
    ExpectMessage(events[4], 7, 0x91, 0x40, 0x30);
}

TEST(MidiRead, DataByteWithoutRunningStatusEndsTheTrackOnly)
{
    TrackBuilder bad;
    bad.Meta(0, 0x03, QByteArray("x")).Event(0, {0x3C, 0x40}).Event(0, {0x90, 0x3C, 0x40}).EndOfTrack();
    FileBuilder file;
    file.Header(1, 2, 480).Track(bad).Track(TuneTrack());
    LoadedMidi midi = Load(file.Data());
    const QList<MidiTrack*> tracks = TracksOf(*midi.stream);
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(EventsOf(tracks[0]).size(), 1);
    EXPECT_EQ(EventsOf(tracks[1]).size(), 6);
}

TEST(MidiRead, EmptyMetaEventLoadsWithoutData)
{
    TrackBuilder track;
    track.Meta(0, 0x01, QByteArray()).EndOfTrack();
    LoadedMidi midi = LoadOneTrack(track);
    const QList<MidiEvent*> events = EventsOf(midi.stream->GetFirstTrack());
    ASSERT_EQ(events.size(), 2);
    const MidiEventData data = DataOf(events[0]);
    EXPECT_EQ(data.m_Kind, MidiEventData::KIND_META);
    EXPECT_EQ(data.m_Length, 0u);
    EXPECT_TRUE(data.m_Data.isEmpty());
    EXPECT_TRUE(events[0]->GetText().second.isEmpty());
}

TEST(MidiRead, HostileLengthsFailTheirEventAndKeepTheOnesBefore)
{
    struct Case
    {
        const char* name;
        QByteArray tail;
    };
    const Case cases[] = {
        {"sysex length 0x0FFFFFFF", Bytes({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x02})},
        {"sysex length one past the end", Bytes({0x00, 0xF0, 0x03, 0x01, 0x02})},
        {"meta length 0x0FFFFFFF", Bytes({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 0x41})},
        {"meta length past the end", Bytes({0x00, 0xFF, 0x01, 0x05, 0x41})},
        {"five-byte sysex length", Bytes({0x00, 0xF0, 0x80, 0x80, 0x80, 0x80, 0x01, 0x00})},
        {"five-byte delta time", Bytes({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x40})},
        {"meta without its type", Bytes({0x00, 0xFF})},
        {"note without its data", Bytes({0x00, 0x90, 0x3C})},
    };
    for (const Case& c : cases) {
        TrackBuilder track;
        track.Event(0, {0x90, 0x3C, 0x40}).Raw(c.tail);
        LoadedMidi midi = LoadOneTrack(track);
        ASSERT_EQ(midi.stream->GetTrackCount(), 1) << c.name;
        const QList<MidiEvent*> events = EventsOf(midi.stream->GetFirstTrack());
        ASSERT_EQ(events.size(), 1) << c.name;
        ExpectMessage(events[0], 0, 0x90, 0x3C, 0x40);
    }
}

TEST(MidiRead, TrackLengthBeyondTheDataReadsWhatIsThere)
{
    TrackBuilder track;
    track.Event(0, {0x90, 0x3C, 0x40}).Event(96, {0x80, 0x3C, 0x00});
    FileBuilder file;
    file.Header(0, 1, 480).Track(track, 0xFFFFFFFFu);
    LoadedMidi midi = Load(file.Data());
    ASSERT_EQ(midi.stream->GetTrackCount(), 1);
    EXPECT_EQ(midi.stream->GetFirstTrack()->GetLength(), 0xFFFFFFFFu);
    EXPECT_EQ(EventsOf(midi.stream->GetFirstTrack()).size(), 2);
}

TEST(MidiRead, ReadingAgainReplacesTheTree)
{
    FileBuilder twoTracks;
    twoTracks.Header(1, 2, 480).Track(TuneTrack()).Track(TuneTrack());
    FileBuilder oneTrack;
    oneTrack.Header(0, 1, 96).Track(TuneTrack());

    MidiStream stream;
    for (const QByteArray& bytes : {twoTracks.Data(), oneTrack.Data()}) {
        MidiMemoryStream source(reinterpret_cast<const unsigned char*>(bytes.constData()), uint32_t(bytes.size()));
        MidiArchive archive(source);
        EXPECT_TRUE(stream.Serialize(archive));
    }
    EXPECT_EQ(stream.GetTrackCount(), 1);
    EXPECT_EQ(stream.GetDivision(), 96);
    EXPECT_EQ(TracksOf(stream).size(), 1);

    stream.Clear();
    EXPECT_EQ(stream.GetTrackCount(), 0);
    EXPECT_EQ(stream.GetDivision(), 0);
    EXPECT_EQ(stream.GetFirstTrack(), nullptr);
}

TEST(MidiRead, StoringWritesNothing)
{
    FileBuilder file;
    file.Header(0, 1, 480).Track(TuneTrack());
    LoadedMidi midi = Load(file.Data());

    const QByteArray before = file.Data();
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(before.constData()), uint32_t(before.size()));
    MidiArchive storing(source, false);
    EXPECT_TRUE(storing.IsStoring());
    EXPECT_FALSE(midi.stream->Serialize(storing));
    EXPECT_FALSE(EventsOf(midi.stream->GetFirstTrack())[0]->Store(storing));
    EXPECT_EQ(source.GetPosition(), 0u);
    EXPECT_EQ(midi.stream->GetTrackCount(), 1);

    // Loading through a storing archive is refused with a warning.
    MessageCapture warnings;
    MidiHeader header;
    EXPECT_FALSE(header.Load(storing));
    EXPECT_FALSE(warnings.Messages().isEmpty());
}
