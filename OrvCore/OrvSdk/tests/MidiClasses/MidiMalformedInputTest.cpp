#include "MidiStreamLoad.h"

#include "MidiClasses/MidiEventData.h"

#include <gtest/gtest.h>
#include <random>

using namespace MidiTest;

namespace {

// Two tracks with every kind of event, running status included.
FileBuilder SmallFile()
{
    TrackBuilder first;
    first.Meta(0, 0x03, QByteArray("Lead"))
        .Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20}))
        .Sysex(0, Bytes({0x7E, 0x7F, 0x09, 0x01, 0xF7}))
        .Event(0, {0xC0, 0x10})
        .Event(0, {0x90, 0x3C, 0x64})
        .Event(120, {0x3C, 0x00})
        .Event(0x3FFF, {0x3E, 0x64})
        .EndOfTrack(240);
    TrackBuilder second;
    second.Event(0, {0xB1, 0x07, 0x50}).Event(0, {0x91, 0x30, 0x40}).Event(480, {0x81, 0x30, 0x00}).EndOfTrack();
    FileBuilder file;
    file.Header(1, 2, 480).Track(first).Track(second);
    return file;
}

// Touches every part of a loaded tree the way its users do.
int WalkEverything(MidiStream& stream)
{
    QString dump;
    stream.Dump(dump);
    int events = 0;
    for (MidiTrack* track = stream.GetFirstTrack(); track; track = stream.GetNextTrack()) {
        for (MidiEvent* event = track->GetEventList()->GetNext(); event; event = event->GetNext()) {
            MidiEventData data;
            event->GetData(data);
            event->GetTypeName();
            if (data.m_Kind == MidiEventData::KIND_META) {
                event->GetText();
                event->GetValue();
                event->GetMetaKind();
            }
            ++events;
        }
    }
    return events;
}

} // namespace

TEST(MidiMalformedInput, EveryPrefixLoadsExactlyTheWholeEventsInIt)
{
    const FileBuilder file = SmallFile();
    const QByteArray& whole = file.Data();
    for (int length = 0; length <= whole.size(); ++length) {
        const QByteArray prefix = whole.left(length);
        LoadedMidi midi = Load(prefix);

        EXPECT_EQ(midi.headerLoaded, length >= 14) << "length " << length;
        int expectedTracks = 0;
        for (int start : file.TrackStarts())
            if (length >= 14 && start + 8 <= length)
                ++expectedTracks;
        ASSERT_EQ(midi.stream->GetTrackCount(), expectedTracks) << "length " << length;

        const QList<MidiTrack*> tracks = TracksOf(*midi.stream);
        ASSERT_EQ(tracks.size(), expectedTracks);
        for (int t = 0; t < expectedTracks; ++t) {
            int expectedEvents = 0;
            for (int end : file.EventEnds()[t])
                if (end <= length)
                    ++expectedEvents;
            EXPECT_EQ(EventsOf(tracks[t]).size(), expectedEvents) << "length " << length << " track " << t;
        }
        WalkEverything(*midi.stream);
    }
}

TEST(MidiMalformedInput, RandomBytesNeverCrashOrHang)
{
    MessageCapture quiet;
    std::mt19937 random(20240517u);
    const QByteArray valid = SmallFile().Data();
    const QByteArray headerStart = valid.left(14) + QByteArray("MTrk");

    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        switch (round % 4) {
        case 0: // pure noise
            bytes.resize(int(random() % 200));
            for (char& byte : bytes)
                byte = char(random());
            break;
        case 1: // a valid start followed by noise
            bytes = headerStart;
            for (int i = 0, n = int(random() % 120); i < n; ++i)
                bytes.append(char(random()));
            break;
        case 2: // a valid file with a few bytes changed
            bytes = valid;
            for (int i = 0, n = 1 + int(random() % 6); i < n; ++i)
                bytes[int(random() % uint32_t(bytes.size()))] = char(random());
            break;
        default: // a valid file with a hostile byte inserted somewhere
            bytes = valid;
            bytes.insert(int(random() % uint32_t(bytes.size())), char(0x80 | (random() & 0x7F)));
            break;
        }

        LoadedMidi midi = Load(bytes);
        const int events = WalkEverything(*midi.stream);
        EXPECT_LE(midi.stream->GetTrackCount() * 8, bytes.size());
        EXPECT_LE(events, bytes.size());
    }
}
