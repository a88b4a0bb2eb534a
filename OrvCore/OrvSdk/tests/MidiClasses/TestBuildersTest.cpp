// The shared file builders write exactly the bytes the formats say, so that
// every test built on them starts from known input.
#include "MidiFileBuilder.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

TEST(TestBuilders, MidiFilesByteForByte)
{
    const QByteArray tempoOnly = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
    const QByteArray oneTrack =
        Bytes({'M', 'T', 'h', 'd', 0,  0,    0,    6,    0,    0,    0,    1,    0,    96,   'M',  'T', 'r',
               'k', 0,   0,   0,   11, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00});
    const struct
    {
        const char* name;
        QByteArray built;
        QByteArray expected;
    } cases[] = {
        {"one track of raw events", OneTrackMidiFile(96, tempoOnly), oneTrack},
        {"the same through the note writer", SmfFile({SmfTrack().Tempo(0, 500000)}, 96, 0), oneTrack},
        {"notes, program and a long delta",
         SmfFile({SmfTrack().Program(0, 1, 5).NoteOn(0x80, 1, 60, 100).NoteOff(0, 1, 60)}, 0x1E0, 1),
         Bytes({'M', 'T', 'h',  'd',  0, 0,    0,    6,    0,  1,   0,    1,    0x01, 0xE0, 'M',  'T',  'r',  'k', 0, 0,
                0,   16,  0x00, 0xC1, 5, 0x81, 0x00, 0x91, 60, 100, 0x00, 0x81, 60,   64,   0x00, 0xFF, 0x2F, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.built.toHex().toStdString(), c.expected.toHex().toStdString());
    }
}

TEST(TestBuilders, WavFieldsAndChunksAgreeOnACanonicalFile)
{
    const QByteArray samples = WavBuilder::Samples(6);
    WavBuilder::Format format;
    format.rate = 8000;
    WavBuilder::WavFields fields;
    fields.rate = 8000;
    const QByteArray canonical = WavBuilder::Canonical(format, samples);
    EXPECT_EQ(canonical.size(), 44 + 6);
    EXPECT_EQ(WavBuilder::MakeWav(fields, samples), canonical);
    EXPECT_EQ(canonical.mid(4, 4), Bytes({44 + 6 - 8, 0, 0, 0}));
    EXPECT_EQ(canonical.mid(28, 4), Bytes({0x80, 0x3E, 0, 0})) << "byte rate 16000";
}
