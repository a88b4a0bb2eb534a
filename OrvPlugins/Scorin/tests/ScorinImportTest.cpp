// MIDI files written byte by byte, next to the MIDI documents they must give.
#include "CScorin.h"
#include "MidiFileBuilder.h"
#include "PluginLibraryCheck.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMidiInstrumentUsage.h"
#include "MidiClasses/MidiStream.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
// Format 0, one track, 96 ticks per quarter: tempo 500000 us (120 bpm), program 0,
// then C4 for a quarter note.
QByteArray OneNoteFile()
{
    return OneTrackMidiFile(96, Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C,
                                       0x64, 0x60, 0x80, 0x3C, 0x00}));
}

class ScorinImport : public ImporterTest
{};
} // namespace

TEST_F(ScorinImport, MidiFileBecomesAParsedMidiDocument)
{
    CScorin importer;
    std::unique_ptr<CDocument> document(importer.Import(OneNoteFile()));
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->GetDocType(), CDocument::MIDI);
    CDocumentMidi* midi = static_cast<CDocumentMidi*>(document.get());
    EXPECT_TRUE(midi->GetName().isEmpty());
    EXPECT_EQ(midi->GetRawData(), OneNoteFile());
    ASSERT_NE(midi->GetMidiStream(), nullptr);
    EXPECT_EQ(midi->GetMidiStream()->GetTrackCount(), 1);
    EXPECT_EQ(midi->GetMidiStream()->GetDivision(), 96);
    EXPECT_EQ(midi->GetTempo(), 120);
    ASSERT_NE(midi->GetInstrumentUsage(), nullptr);
    EXPECT_TRUE(midi->GetInstrumentUsage()->IsFamilyUsed(0));

    CDocumentMelody* melody = midi->BuildMelodyDocument();
    ASSERT_NE(melody, nullptr);
    ASSERT_EQ(melody->GetMelodyNoteList().count(), 1);
    const MidiNote* note = static_cast<const MidiNote*>(melody->GetMelodyNoteList().first());
    EXPECT_EQ(note->GetMidiKey(), 0x3C);
    EXPECT_EQ(note->GetDuration(), 2);
    EXPECT_TRUE(Summary(importer).empty());
    SaveSeed(QStringLiteral("one-note.mid"), OneNoteFile());
}

TEST_F(ScorinImport, OnlyTheFirstFourBytesDecide)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        bool accepted;
    };
    const Case cases[] = {
        {"tag-only", QByteArray("MThd"), true},
        {"tag-and-garbage", QByteArray("MThd\xFF\xFF\xFF\xFF garbage"), true},
        {"riff-wrapped", QByteArray("RIFF\x10\0\0\0RMIDdata", 16) + OneNoteFile(), false},
        {"lower-case", QByteArray("mthd") + OneNoteFile().mid(4), false},
        {"three-bytes", QByteArray("MTh"), false},
        {"empty", QByteArray(), false},
        {"text", QByteArray("not a MIDI file at all"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScorin importer;
        std::unique_ptr<CDocument> document(importer.Import(c.bytes));
        EXPECT_EQ(document != nullptr, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(static_cast<CDocumentMidi*>(document.get())->GetRawData(), c.bytes);
            EXPECT_TRUE(Summary(importer).empty());
        } else {
            EXPECT_EQ(Summary(importer), LoggedLines("CScorin", {"id_import_error"}));
            EXPECT_EQ(Detailed(importer) + "\n", Summary(importer));
        }
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".mid"), c.bytes);
    }
}

TEST_F(ScorinImport, EmptyInputRaisesTheCheckButNeverReachesTheReader)
{
    CScorin importer;
    EXPECT_EQ(importer.Import(QByteArray()), nullptr);
    ASSERT_EQ(m_Quiet.Lines().size(), 1);
    EXPECT_TRUE(
        m_Quiet.Lines().first().startsWith(QStringLiteral("ASSERT: \"!RawData.isNull() && !RawData.isEmpty()\"")));
}

TEST_F(ScorinImport, EveryTruncationIsReadWithinItsBytes)
{
    const QByteArray file = OneNoteFile();
    for (qsizetype length = 0; length <= file.size(); ++length) {
        CScorin importer;
        std::unique_ptr<CDocument> document(importer.Import(file.left(length)));
        ASSERT_EQ(document != nullptr, length >= 4) << length;
        if (document) {
            CDocumentMidi* midi = static_cast<CDocumentMidi*>(document.get());
            EXPECT_EQ(midi->GetRawData(), file.left(length));
            EXPECT_LE(midi->GetMidiStream()->GetTrackCount(), 1);
            midi->BuildMelodyDocument();
        }
    }
}

// Of independent sequences (format 2) only the first is converted, whichever way a converter reads the file, and
// the log says so once; a file of one sequence, or of tracks that sound together, says nothing.
TEST_F(ScorinImport, OnlyTheFirstOfIndependentSequencesIsConverted)
{
    SmfTrack first, second, third;
    first.Tempo(0, 1000000).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60);
    second.Tempo(0, 500000).NoteOn(0, 0, 72, 100).NoteOff(960, 0, 72);
    third.NoteOn(0, 0, 84, 100).NoteOff(240, 0, 84);
    struct Case
    {
        const char* name;
        QByteArray file;
        int sequences;
        QByteArray converted; // the bytes a converter reads
        int tempo, key;
        std::string log;
    };
    const QByteArray twoOfThree = SmfFile({first, second, third}, 480, 2);
    // The header of a format 0 file of one track, then the first track's chunk exactly as written.
    const QByteArray firstAlone = SmfFile({first}, 480, 0);
    const Case cases[] = {
        {"format-2", twoOfThree, 3, firstAlone, 60, 60, "Format 2: the first of 3 sequences is converted.\n"},
        {"format-2-one", SmfFile({second}, 480, 2), 1, SmfFile({second}, 480, 2), 120, 72, ""},
        {"format-1", SmfFile({first, second}, 480, 1), 1, SmfFile({first, second}, 480, 1), 120, 60, ""},
        // A last sequence cut short still counts; a first one cut short is read within the data.
        {"format-2-cut", twoOfThree.left(twoOfThree.size() - 5), 3, firstAlone, 60, 60,
         "Format 2: the first of 3 sequences is converted.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScorin importer;
        std::unique_ptr<CDocument> document(importer.Import(c.file));
        ASSERT_NE(document, nullptr);
        CDocumentMidi* midi = static_cast<CDocumentMidi*>(document.get());
        EXPECT_EQ(midi->GetRawData(), c.file);
        EXPECT_EQ(midi->GetSequenceCount(), c.sequences);
        EXPECT_EQ(midi->GetFirstSequenceBytes(), c.converted);
        EXPECT_EQ(midi->GetTempo(), c.tempo);
        CDocumentMelody* melody = midi->BuildMelodyDocument();
        ASSERT_EQ(melody->GetMelodyNoteList().count(), 1);
        EXPECT_EQ(static_cast<const MidiNote*>(melody->GetMelodyNoteList().first())->GetMidiKey(), c.key);
        EXPECT_EQ(Summary(importer), c.log);
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".mid"), c.file);
    }
    // Cut inside its first track, the file holds one sequence and is converted as it is.
    const QByteArray cut = twoOfThree.left(14 + 8 + 5);
    CScorin importer;
    std::unique_ptr<CDocument> document(importer.Import(cut));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(static_cast<CDocumentMidi*>(document.get())->GetSequenceCount(), 1);
    EXPECT_EQ(static_cast<CDocumentMidi*>(document.get())->GetFirstSequenceBytes(), cut);
    EXPECT_TRUE(Summary(importer).empty());
}

TEST(ScorinPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(ORV_PLUGIN_FILE, "Scorin", 0x10000,
                      {{"CScorin", CDocument::MIDI, CDocument::WAVE, "MID", OneNoteFile(), QByteArray("RIFF")}});
}
