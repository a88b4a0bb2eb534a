// Ring tones written here, next to the melody documents and messages they must give.
#include "CRinglet.h"
#include "PluginLibraryCheck.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
// The note list as "value/octave/duration/modifier/volume", loop markers as "[n" and "]n".
std::string Describe(const CDocumentMelody& melody, bool withVolume = true)
{
    QStringList parts;
    const MelodyNoteList& list = melody.GetMelodyNoteList();
    for (int i = 0; i < list.count(); ++i) {
        const MelodyElement* element = list.at(i);
        if (element->GetElementType() == MelodyElement::BeginPattern) {
            parts << QStringLiteral("[%1").arg(static_cast<const MelodyBeginPattern*>(element)->GetRepeatCount());
        } else if (element->GetElementType() == MelodyElement::EndPattern) {
            parts << QStringLiteral("]%1").arg(static_cast<const MelodyEndPattern*>(element)->GetRepeatCount());
        } else {
            const MidiNote* note = static_cast<const MidiNote*>(element);
            QString text = QStringLiteral("%1/%2/%3/%4")
                               .arg(note->GetValue())
                               .arg(note->GetOctave())
                               .arg(note->GetDuration())
                               .arg(note->GetDurationModifier());
            if (withVolume)
                text += QStringLiteral("/%1").arg(note->GetVolume());
            parts << text;
        }
    }
    return parts.join(QLatin1Char(' ')).toStdString();
}

class RingletImport : public ImporterTest
{
protected:
    std::unique_ptr<CDocumentMelody> Import(const QByteArray& text)
    {
        return ImportAs<CDocumentMelody, CRinglet>(text, CDocument::MELODY, m_Summary, &m_Detailed);
    }

    std::string m_Summary, m_Detailed;
};

const char Feature[] = "id_import_rtx_unrecognized_feature_warning";
const char NoNotes[] = "id_import_rtx_no_notes_found_error";
} // namespace

TEST_F(RingletImport, TextBecomesAMelodyAtFullVolume)
{
    const QByteArray text = "Test:d=8,o=5,b=125:8a5,16h.5,p,d#6";
    auto melody = Import(text);
    ASSERT_NE(melody, nullptr);
    EXPECT_EQ(melody->GetMelodyName().toStdString(), "test");
    EXPECT_EQ(melody->GetBeat(), 125);
    EXPECT_EQ(melody->GetStyle(), 0);
    EXPECT_EQ(melody->GetVolume(), 7);
    EXPECT_EQ(Describe(*melody), "9/4/3/0/127 11/4/4/1/127 12/4/3/0/127 3/5/3/0/127");
    EXPECT_TRUE(m_Summary.empty());
    SaveSeed(QStringLiteral("test.rtx"), text);
}

TEST_F(RingletImport, LoopWrapsTheWholeTune)
{
    struct Case
    {
        QByteArray text;
        std::string notes;
    };
    const Case cases[] = {
        {"x:d=4,o=5,b=100,l=2:4c", "[3 0/4/2/0/127 ]3"},
        {"x:d=4,o=5,b=100,l=14:4c", "[15 0/4/2/0/127 ]15"},
        {"x:d=4,o=5,b=100,l=15:4c", "[15 0/4/2/0/127 ]15"},
        {"x:d=4,o=5,b=100,l=0:4c", "0/4/2/0/127"},
    };
    int seed = 0;
    for (const Case& c : cases) {
        auto melody = Import(c.text);
        ASSERT_NE(melody, nullptr);
        EXPECT_EQ(Describe(*melody), c.notes) << c.text.constData();
        EXPECT_TRUE(melody->CheckPatterns());
        SaveSeed(QStringLiteral("loop-%1.rtx").arg(++seed), c.text);
    }
}

// The longest loop and a name with line breaks still make an iMelody text that the
// iMelody reader takes back.
TEST_F(RingletImport, ImportedMelodyGoesThroughIMelody)
{
    auto melody = Import("Two\r\nLines:d=4,o=5,b=100,l=15:4c,8d,p");
    ASSERT_NE(melody, nullptr);
    EXPECT_EQ(melody->GetMelodyName().toStdString(), "two  lines");

    CMelodyTruncate writer;
    QByteArray text;
    IMYNotes events;
    ASSERT_TRUE(writer.WriteIMelody(melody.get(), true, true, true, true, true, true, true, nullptr, text,
                                    unsigned(CMelodyTruncate::NoSizeLimit), events))
        << writer.GetErrorText().toStdString();
    CDocumentMelody back;
    bool found[CMelodyTruncate::HeaderLineCount] = {};
    bool oneLine = false;
    CMelodyTruncate reader;
    EXPECT_TRUE(reader.ParseIMelody(text, &back, nullptr, found, &oneLine))
        << reader.GetErrorText().toStdString() << "\n"
        << text.constData();
    EXPECT_TRUE(text.contains("\nNAME:two  lines\r\n")) << text.constData();
    // The reader maps volumes onto the melody's levels; the tune and the loop come back.
    EXPECT_EQ(Describe(back, false), Describe(*melody, false));
}

TEST_F(RingletImport, WarningsAndFailuresAreLoggedInOrder)
{
    auto melody = Import("x:d=64:64c,c,64d");
    ASSERT_NE(melody, nullptr);
    EXPECT_EQ(m_Summary, LoggedLines("CRinglet", {Feature, "id_import_rtx_short_notes_warning"}));
    EXPECT_EQ(m_Detailed, m_Summary);

    EXPECT_EQ(Import("d=4,o=5,b=100:8.5"), nullptr);
    EXPECT_EQ(m_Summary, LoggedLines("CRinglet", {"id_import_rtx_name_not_found_warning",
                                                  "id_import_rtx_unrecognized_sequence_warning", NoNotes}));
}

TEST_F(RingletImport, RestsAloneStillMakeAMelody)
{
    auto melody = Import("x:d=4:p,2p");
    ASSERT_NE(melody, nullptr);
    EXPECT_EQ(Describe(*melody), "12/5/2/0/127 12/5/1/0/127");
}

TEST_F(RingletImport, NothingToReadIsRefused)
{
    int seed = 0;
    for (const QByteArray& text :
         {QByteArray(), QByteArray("x:d=4:"), QByteArray("\xEF\xBB\xBF"), QByteArray(":::"), QByteArray("\0\0\0", 3)}) {
        EXPECT_EQ(Import(text), nullptr);
        EXPECT_TRUE(
            QString::fromStdString(m_Summary).endsWith(QString::fromStdString(LoggedLines("CRinglet", {NoNotes}))));
        SaveSeed(QStringLiteral("empty-%1.rtx").arg(++seed), text);
    }
}

TEST_F(RingletImport, EveryTruncationImportsOrRefusesCleanly)
{
    const QByteArray text = "Tune:d=8,o=5,b=125,l=3,s=c:8a5,16h.5,p,d#6,o=6,2c.,b=9";
    SaveSeed(QStringLiteral("tune.rtx"), text);
    for (qsizetype length = 0; length <= text.size(); ++length) {
        auto melody = Import(text.left(length));
        if (melody) {
            EXPECT_TRUE(melody->CheckPatterns()) << length;
        } else {
            EXPECT_TRUE(
                QString::fromStdString(m_Summary).endsWith(QString::fromStdString(LoggedLines("CRinglet", {NoNotes}))));
        }
    }
}

TEST(RingletPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(
        ORV_PLUGIN_FILE, "Ringlet", 0x10000,
        {{"CRinglet", CDocument::MELODY, CDocument::WAVE, "RTX", QByteArray("x:d=4:c"), QByteArray("x:d=4:")}});
}
