// The one walk over a file's events: track by track, each from tick 0, with channel messages told apart.
#include "MidiStreamLoad.h"

#include "MidiClasses/MidiTimedEvents.h"

#include <gtest/gtest.h>

using namespace MidiTest;

namespace {
// Two tracks: a tempo and a long delay, then a note with running status and a sysex; ticks as "track:tick:kind".
QByteArray TwoTracks()
{
    TrackBuilder first, second;
    first.Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20})).Event(0x0FFFFFFF, {0x90, 60, 100}).Event(0x0FFFFFFF, {60, 0});
    second.Event(5, {0xC3, 7}).Sysex(10, Bytes({0x7E, 0xF7})).EndOfTrack(1);
    FileBuilder file;
    file.Header(1, 2, 480).Track(first).Track(second);
    return file.Data();
}

QString Describe(const MidiTimedEvent& timed)
{
    const MidiMessageEvent* message = timed.Message();
    return QStringLiteral("%1:%2:%3")
        .arg(timed.track->GetNumber())
        .arg(timed.tick)
        .arg(message ? QString::number(message->GetStatus(), 16) : QStringLiteral("-"));
}
} // namespace

TEST(MidiTimedEvents, EveryEventWithItsTrackAndTickFromTheTracksStart)
{
    const LoadedMidi loaded = Load(TwoTracks());
    ASSERT_TRUE(loaded.headerLoaded);
    QStringList walked;
    EXPECT_TRUE(ForEachTimedEvent(*loaded.stream, [&](const MidiTimedEvent& timed) { walked << Describe(timed); }));
    // Ticks add up beyond 32 bits; the second track starts again at 0.
    EXPECT_EQ(walked.join(QLatin1Char(' ')).toStdString(),
              "1:0:- 1:268435455:90 1:536870910:90 2:5:c3 2:15:- 2:16:-");

    // A visitor that answers false stops the walk where it is.
    walked.clear();
    EXPECT_FALSE(ForEachTimedEvent(*loaded.stream, [&](const MidiTimedEvent& timed) {
        walked << Describe(timed);
        return timed.Message() == nullptr;
    }));
    EXPECT_EQ(walked.join(QLatin1Char(' ')).toStdString(), "1:0:- 1:268435455:90");

    const LoadedMidi empty = Load(QByteArray("MThd\0\0\0\6\0\0\0\0\1\xE0", 14));
    int count = 0;
    EXPECT_TRUE(ForEachTimedEvent(*empty.stream, [&](const MidiTimedEvent&) { ++count; }));
    EXPECT_EQ(count, 0);
}
