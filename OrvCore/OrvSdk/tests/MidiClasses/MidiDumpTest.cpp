#include "MidiStreamLoad.h"

#include "MidiClasses/MidiMetaEvent.h"

#include <gtest/gtest.h>

using namespace MidiTest;

namespace {

QString DumpOf(const QByteArray& bytes)
{
    LoadedMidi midi = Load(bytes);
    QString text;
    midi.stream->Dump(text);
    return text;
}

// The dump line of one meta event of the given type and data.
QString MetaLine(int type, const QByteArray& data)
{
    TrackBuilder track;
    track.Meta(0, type, data);
    LoadedMidi midi = LoadOneTrack(track);
    QString text;
    midi.stream->GetFirstTrack()->GetEventList()->GetNext()->Dump(text);
    return text;
}

} // namespace

TEST(MidiDump, WholeFile)
{
    TrackBuilder first;
    first.Meta(0, 0x03, QByteArray("Tune"))
        .Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20}))
        .Meta(0, 0x58, Bytes({0x06, 0x03, 0x24, 0x08}))
        .EndOfTrack();
    TrackBuilder second;
    second.Event(0, {0xC0, 0x4A})
        .Event(0, {0x90, 0x3C, 0x7F})
        .Event(96, {0x3C, 0x00})
        .Sysex(0, Bytes({0x7E, 0xF7}))
        .Event(0, {0xE0, 0x00, 0x40})
        .EndOfTrack();
    FileBuilder file;
    file.Header(1, 2, 96).Track(first).Track(second);

    const QString expected = QStringLiteral("Header\n"
                                            "======\n"
                                            "SMF type 1\n"
                                            "Number of tracks = 2\n"
                                            "96 ticks per quarter note\n"
                                            "\n"
                                            "Track 1 (27 bytes)\n"
                                            "===================\n"
                                            "Meta 03 Track name       Tune\n"
                                            "Meta 51 Set tempo        500000\n"
                                            "Meta 58 Time signature   6:8  36 8\n"
                                            "Meta 2F End of track     \n"
                                            "Track 2 (23 bytes)\n"
                                            "===================\n"
                                            "Midi C0 Program change   4A\n"
                                            "Midi 90 Note on          3C 7F\n"
                                            "Midi 90 Note on          3C 00\n"
                                            "Sysex\n"
                                            "Midi E0 Pitch bend       00 40\n"
                                            "Meta 2F End of track     \n");
    EXPECT_EQ(DumpOf(file.Data()), expected);
}

TEST(MidiDump, MetaValueTextByType)
{
    struct Case
    {
        int type;
        QByteArray data;
        const char* line;
    };
    const Case cases[] = {
        {0x00, Bytes({0x01, 0x02}), "Meta 00 Sequence number  258\n"},
        {0x01, QByteArray("hello"), "Meta 01 General text     hello\n"},
        {0x07, QByteArray(260, 'c'), nullptr},
        {0x20, Bytes({0x09}), "Meta 20 Channel prefix   9\n"},
        {0x51, Bytes({0x0F, 0x42, 0x40}), "Meta 51 Set tempo        1000000\n"},
        {0x58, Bytes({0x03, 0x02, 0x18, 0x08}), "Meta 58 Time signature   3:4  24 8\n"},
        {0x59, Bytes({0x01, 0x00}), "Meta 59 Key signature    \n"},
        {0x7F, Bytes({0x00, 0x20}), "Meta 7F Sequencer        \n"},
        {0x6A, Bytes({0x01}), "Meta 6A Unknown          \n"},
        // Data too short for its type shows 0.
        {0x00, Bytes({0x01}), "Meta 00 Sequence number  0\n"},
        {0x20, QByteArray(), "Meta 20 Channel prefix   0\n"},
        {0x51, Bytes({0x07, 0xA1}), "Meta 51 Set tempo        0\n"},
        {0x58, Bytes({0x06, 0x03, 0x24}), "Meta 58 Time signature   0\n"},
    };
    for (const Case& c : cases) {
        const QString expected =
            c.line ? QString::fromLatin1(c.line)
                   : QStringLiteral("Meta 07 Cue point        ") + QString(255, QLatin1Char('c')) + QLatin1Char('\n');
        EXPECT_EQ(MetaLine(c.type, c.data), expected) << "type " << c.type;
    }
}

TEST(MidiDump, EmptyStreamDumpsItsHeaderOnly)
{
    MidiStream stream;
    QString text = QStringLiteral("before\n");
    stream.Dump(text);
    EXPECT_EQ(text, QStringLiteral("before\nHeader\n======\nSMF type 0\nNumber of tracks = 0\n"
                                   "0 ticks per quarter note\n\n"));
}
