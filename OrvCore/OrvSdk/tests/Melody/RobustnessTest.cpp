// Random and mutated inputs: the readers must fail cleanly, never crash, read
// out of bounds or hang (the sanitizer build checks the first two).
#include "Melody/CDocumentMidi.h"
#include "Melody/CMelodyTruncate.h"
#include "MelodyTestSupport.h"
#include "MidiFileBuilder.h"
#include "TestProfile.h"
#include "Util/CMemFile.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {
QByteArray RandomBytes(std::mt19937& rng, int maxLength, const char* alphabet = nullptr)
{
    const int length = std::uniform_int_distribution<int>(0, maxLength)(rng);
    QByteArray bytes(length, '\0');
    const int alphabetSize = alphabet ? static_cast<int>(strlen(alphabet)) : 0;
    for (char& b : bytes)
        b = alphabet ? alphabet[std::uniform_int_distribution<int>(0, alphabetSize - 1)(rng)]
                     : static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    return bytes;
}

QByteArray Mutate(std::mt19937& rng, QByteArray bytes)
{
    const int edits = std::uniform_int_distribution<int>(1, 6)(rng);
    for (int i = 0; i < edits && !bytes.isEmpty(); ++i) {
        const int at = std::uniform_int_distribution<int>(0, static_cast<int>(bytes.size()) - 1)(rng);
        switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
        case 0:
            bytes[at] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
            break;
        case 1:
            bytes.remove(at, 1);
            break;
        case 2:
            bytes.insert(at, static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng)));
            break;
        default:
            bytes.truncate(at);
            break;
        }
    }
    return bytes;
}
} // namespace

TEST(Robustness, IMelodyParserOnRandomText)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = MakeProfile();
    std::mt19937 rng(1u);
    const QByteArray seed = QByteArrayLiteral("BEGIN:IMELODY\r\nVERSION:1.0\r\nNAME:Seed\r\nBEAT:120\r\nSTYLE:1\r\n"
                                              "VOLUME:7\r\nMELODY:c2*5d3.-------(e2f2@3)#g1;&b0:r5++\r\nEND:IMELODY");
    for (int i = 0; i < 3000; ++i) {
        QByteArray input;
        switch (i % 3) {
        case 0:
            input = RandomBytes(rng, 200);
            break;
        case 1:
            input = QByteArrayLiteral("BEGIN:IMELODY\r\nMELODY:")
                    + RandomBytes(rng, 120, "abcdefgr#&+-*:.;()@0123456789 \r\nxX");
            break;
        default:
            input = Mutate(rng, seed);
            break;
        }
        CMelodyTruncate melody;
        CDocumentMelody doc;
        bool found[CMelodyTruncate::HeaderLineCount];
        bool oneLine = false;
        const bool ok = melody.ParseIMelody(input, &doc, profile.get(), found, &oneLine);
        if (!ok) {
            EXPECT_GE(melody.GetErrorCode(), 0);
            EXPECT_LE(melody.GetErrorCode(), 20);
        }
        QByteArray out;
        if (melody.Truncate(input, out, 100, profile.get())) {
            EXPECT_LE(out.size(), 100);
        }
    }
}

TEST(Robustness, OneLineReaderOnRandomBytes)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = MakeProfile();
    std::mt19937 rng(2u);
    for (int i = 0; i < 3000; ++i) {
        QByteArray input = RandomBytes(rng, 80);
        if (i % 2 && input.size() >= 10) {
            // A header that matches the length, so the codes are read.
            input[0] = '.';
            input[4] = static_cast<char>((input.size() - 10) & 0xFF);
            input[5] = static_cast<char>((input.size() - 10) >> 8);
        }
        CMelodyTruncate melody;
        CDocumentMelody doc;
        if (!melody.ParseOneLineMelody(input, &doc, profile.get())) {
            EXPECT_GE(melody.GetErrorCode(), 13);
            EXPECT_LE(melody.GetErrorCode(), 20);
        }
        QByteArray out;
        const int maxSize = static_cast<int>(rng() % 64);
        if (melody.TruncateOneLineMelody(input, out, maxSize, profile.get())) {
            EXPECT_LE(out.size(), maxSize);
            CDocumentMelody again;
            EXPECT_TRUE(melody.ParseOneLineMelody(out, &again, profile.get()));
        }
    }
}

TEST(Robustness, MidiMelodyOnMutatedFiles)
{
    MessageCapture quiet;
    std::mt19937 rng(3u);
    SmfTrack track;
    track.Tempo(0, 500000).Program(0, 0, 5).Control(0, 0, 7, 100);
    for (int i = 0; i < 30; ++i)
        track.NoteOn(i % 3 ? 0 : 240, 0, 50 + i, 90).NoteOff(120, 0, 50 + i);
    const QByteArray seed = SmfFile({track, track}, 96);
    for (int i = 0; i < 1500; ++i) {
        const QByteArray input = i % 4 == 0 ? RandomBytes(rng, 120) : Mutate(rng, seed);
        CDocumentMidi midi;
        midi.SetRawData(reinterpret_cast<const unsigned char*>(input.constData()), static_cast<unsigned>(input.size()));
        CDocumentMelody* melody = midi.BuildMelodyDocument();
        ASSERT_TRUE(melody);
        std::unique_ptr<CProfile> none;
        CMelodyTruncate writer;
        QByteArray text;
        IMYNotes events;
        writer.WriteIMelody(melody, true, true, true, true, true, true, true, none.get(), text, 2000, events);
        EXPECT_LE(text.size(), 2000);
    }
}

TEST(Robustness, HugeDeltaTimesStayBounded)
{
    // Gaps of 2^28 ticks between notes: the rests per gap are capped.
    MessageCapture quiet;
    SmfTrack track;
    for (int i = 0; i < 50; ++i)
        track.NoteOn(0x0FFFFFFF, 0, 60 + i % 12, 100).NoteOff(480, 0, 60 + i % 12);
    const QByteArray bytes = SmfFile({track}, 480);
    CDocumentMidi midi;
    midi.SetRawData(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned>(bytes.size()));
    CDocumentMelody* melody = midi.BuildMelodyDocument();
    EXPECT_LE(melody->GetMelodyNoteList().count(), 50 + 49 * 128);
    EXPECT_GE(melody->GetMelodyNoteList().count(), 50);
}
