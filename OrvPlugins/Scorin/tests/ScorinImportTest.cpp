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

TEST(ScorinPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(ORV_PLUGIN_FILE, "Scorin", 0x10000,
                      {{"CScorin", CDocument::MIDI, CDocument::WAVE, "MID", OneNoteFile(), QByteArray("RIFF")}});
}
