// A converter's working set fitted to one phone after another and to one source after another: each phone shows
// its own ranges and choices, the user's choices stay as far as each phone allows, and a new source's tempo
// replaces a choice made for another source.
#include "Engine/ParameterFitting.h"
#include "Engine/CParameterChoices.h"
#include "Host/CPluginClass.h"
#include "Melody/BuzzerParameterFilter.h"
#include "Melody/CDocumentMelody.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "ProfileXml.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include "Text/CLanguageResources.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Fits "Tempo" and "Style" as the buzzer melody exporters do.
class CBuzzerConverter : public CPluginBase
{
public:
    void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply) override
    {
        BuzzerParameterFilter::FilterWithProfile(parameters, profile, apply);
    }
    void FilterParametersWithDocument(CParameters* parameters, CDocument* document) override
    {
        BuzzerParameterFilter::FilterWithDocument(parameters, document, "CBuzzerConverter");
    }
    int GetDocumentType() override { return CDocument::MELODY; }
    int GetPreviewDocumentType() override { return CDocument::WAVE; }
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetExportExtension() override { return QStringLiteral("BZR"); }
    QString GetDescription() override { return QStringLiteral("Buzzer"); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray&) override { return nullptr; }
    bool Convert(CDocument*) override { return false; }
};

const QByteArray PARAMETERS = "<P><TSECTION><TYPE NAME=\"B\"/><TYPE NAME=\"I\"/><TYPE NAME=\"F\"/><TYPE NAME=\"S\"/>"
                              "<ENUM NAME=\"Styles\" VALUES=\"Natural Continuous Staccato\"/></TSECTION><PSECTION>"
                              "<DATA NAME=\"Tempo\" TYPE=\"I\" VALUE=\"%1\" MIN=\"25\" MAX=\"900\"/>"
                              "<DATA NAME=\"Style\" TYPE=\"Styles\" VALUE=\"Natural\"/></PSECTION><ISECTION/></P>";

class ParameterFittingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProfileValues b;
        b.minBpm = 25;
        b.maxBpm = 400;
        ProfileValues c;
        c.minBpm = 30;
        c.maxBpm = 300;
        c.natural = false;
        c.defaultStyle = "Staccato";
        ASSERT_TRUE(m_B.Load(Write("b.xml", ProfileXml(b))));
        ASSERT_TRUE(m_C.Load(Write("c.xml", ProfileXml(c))));
        m_Record.mpConverter = new CBuzzerConverter;
        m_Record.mpDefaultParameters = new CParameters;
        ASSERT_TRUE(m_Record.mpDefaultParameters->Load(Write("p.xml", QByteArray(PARAMETERS).replace("%1", "120"))));
        ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    }
    void TearDown() override { CLanguageResources::Load(QString()); }
    QString Write(const char* name, const QByteArray& bytes)
    {
        const QString path = m_Dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << name;
        return path;
    }
    // The form shows the set on a phone, with the melody when one is loaded.
    CParameters* Show(CProfile& phone, CDocumentMelody* melody = nullptr)
    {
        return ParameterFitting::PrepareWorkingSet(&m_Record, m_Choices, &phone, melody);
    }
    // Tempo with its range, and the style.
    static QString Form(CParameters* set)
    {
        const CIntParameter* tempo = set->GetIntParameter(QStringLiteral("Tempo"));
        return QStringLiteral("%1 (%2 to %3) %4")
            .arg(tempo->mValue)
            .arg(tempo->mMin)
            .arg(tempo->mMax)
            .arg(set->GetEnumParameter(QStringLiteral("Style"))->GetValue());
    }
    static void Type(CParameters* set, int tempo, const char* style)
    {
        set->GetIntParameter(QStringLiteral("Tempo"))->mValue = tempo;
        set->GetEnumParameter(QStringLiteral("Style"))->mValue = QString::fromLatin1(style);
    }
    static std::unique_ptr<CDocumentMelody> Melody(const char* name, int beat)
    {
        auto melody = std::make_unique<CDocumentMelody>();
        melody->SetName(QString::fromLatin1(name));
        melody->SetBeat(beat);
        melody->SetStyle(CDocumentMelody::Continuous);
        return melody;
    }

    QTemporaryDir m_Dir;
    CProfile m_B;
    CProfile m_C;
    CPluginClass m_Record;
    CParameterChoices m_Choices;
};

TEST_F(ParameterFittingTest, EachPhoneShowsItsOwnRangesAndChoicesWhateverPhonesCameBefore)
{
    EXPECT_EQ(Form(Show(m_B)), QStringLiteral("120 (25 to 400) Natural"));
    EXPECT_EQ(Form(Show(m_C)), QStringLiteral("120 (30 to 300) Staccato"));
    EXPECT_EQ(Form(Show(m_B)), QStringLiteral("120 (25 to 400) Natural"));
}

TEST_F(ParameterFittingTest, ATypedValueStaysWhereverThePhoneAllowsIt)
{
    // A tempo the phone does not take gives the nearest it takes, a style it lacks its default: what the same
    // values in a parameter file give.
    Type(Show(m_B), 350, "Natural");
    EXPECT_EQ(Form(Show(m_C)), QStringLiteral("300 (30 to 300) Staccato"));
    EXPECT_EQ(Form(Show(m_B)), QStringLiteral("350 (25 to 400) Natural"));
    Type(Show(m_B), 350, "Continuous");
    EXPECT_EQ(Form(Show(m_C)), QStringLiteral("300 (30 to 300) Continuous"));
    EXPECT_EQ(Form(Show(m_B)), QStringLiteral("350 (25 to 400) Continuous"));
    // Typed on the narrower phone, the new value is the choice.
    Type(Show(m_C), 250, "Staccato");
    EXPECT_EQ(Form(Show(m_B)), QStringLiteral("250 (25 to 400) Staccato"));
}

TEST_F(ParameterFittingTest, ASourcesOwnTempoReplacesAChoiceMadeForAnotherSource)
{
    const auto lantern = Melody("lantern.rtx", 112);
    const auto slow = Melody("slow.rtx", 90);
    EXPECT_EQ(Form(Show(m_B, lantern.get())), QStringLiteral("112 (25 to 400) Continuous"));
    Type(Show(m_B, lantern.get()), 150, "Natural");
    EXPECT_EQ(Form(Show(m_C, lantern.get())), QStringLiteral("150 (30 to 300) Staccato"));
    // Closed by the phone change and opened again, the source keeps the values typed for it.
    EXPECT_EQ(Form(Show(m_B)), QStringLiteral("150 (25 to 400) Natural"));
    EXPECT_EQ(Form(Show(m_B, lantern.get())), QStringLiteral("150 (25 to 400) Natural"));
    EXPECT_EQ(Form(Show(m_B, slow.get())), QStringLiteral("90 (25 to 400) Continuous"));
    EXPECT_EQ(Form(Show(m_C, slow.get())), QStringLiteral("90 (30 to 300) Continuous"));
}

TEST_F(ParameterFittingTest, AParameterFileKeepsItsValuesAsFarAsThePhoneAllowsWhateverTheSource)
{
    auto file = std::make_unique<CParameters>();
    ASSERT_TRUE(file->Load(Write("mine.xml", QByteArray(PARAMETERS).replace("%1", "350"))));
    m_Record.SetUserParameters(file.release());
    const auto lantern = Melody("lantern.rtx", 112);
    EXPECT_EQ(Form(Show(m_C, lantern.get())), QStringLiteral("300 (30 to 300) Staccato"));
    EXPECT_EQ(Form(Show(m_B, lantern.get())), QStringLiteral("350 (25 to 400) Natural"));

    // What a batch entry with that file logs: each value the phone changed, from what to what.
    CParameters* set = m_Record.GetUserParameters();
    const QList<CPhoneChange> changes = ParameterFitting::FitToPhone(m_Record.GetConverter(), set, &m_C);
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(ParameterFitting::LogLine(changes[0]),
              QStringLiteral("Style is Staccato instead of Natural: Test phone does not offer Natural.\n"));
    EXPECT_EQ(ParameterFitting::LogLine(changes[1]),
              QStringLiteral("Tempo is 300 instead of 350: Test phone takes 30 to 300.\n"));
    EXPECT_TRUE(ParameterFitting::FitToPhone(m_Record.GetConverter(), set, &m_B).isEmpty());
}

} // namespace
