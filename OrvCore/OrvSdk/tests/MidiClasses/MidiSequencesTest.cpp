// The first of a file's independent sequences as a file of its own, on whole and cut files.
#include "MidiStreamLoad.h"

#include "MidiClasses/MidiSequences.h"

#include <gtest/gtest.h>

using namespace MidiTest;

TEST(MidiSequences, FirstSequenceFileHoldsTheHeaderAndTheFirstTrackWithinTheData)
{
    TrackBuilder first, second;
    first.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
    second.Event(0, {0x90, 72, 100}).EndOfTrack();
    FileBuilder file;
    // A header of 8 bytes: the two past the fields stay, as the reader skips them.
    file.Header(2, 2, 96, 8).Raw(QByteArray(2, '\x55')).Track(first).Track(second);
    const QByteArray whole = file.Data();
    const QByteArray header = QByteArray("MThd\0\0\0\x08\0\0\0\x01\0\x60\x55\x55", 16);
    const qsizetype firstEnd = header.size() + 8 + first.Body().size();

    const struct
    {
        qsizetype length;
        QByteArray expected;
    } cases[] = {
        {whole.size(), header + whole.mid(header.size(), firstEnd - header.size())},
        {firstEnd + 3, header + whole.mid(header.size(), firstEnd - header.size())},
        {firstEnd - 3, header + whole.mid(header.size(), firstEnd - 3 - header.size())},
        {header.size() + 7, header},
        {header.size(), header},
        {header.size() - 1, QByteArray()},
        {13, QByteArray()},
        {0, QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const QByteArray alone = MidiSequences::FirstSequenceFile(whole.left(c.length));
        EXPECT_EQ(alone.toHex().toStdString(), c.expected.toHex().toStdString());
        if (!alone.isEmpty()) {
            const LoadedMidi loaded = Load(alone);
            EXPECT_TRUE(loaded.headerLoaded);
            EXPECT_EQ(loaded.stream->GetHeader().GetFormat(), 0);
            EXPECT_LE(loaded.stream->GetTrackCount(), 1);
        }
    }
}
