// What every importer shares: fixed answers and the two ways of reporting.
#include "Import/CImporterBase.h"
#include "ImportTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// Refuses everything, with the language file's messages of the MIDI importer.
class CRefusingImporter : public CImporterBase
{
public:
    CRefusingImporter() : CImporterBase("CScorin") {}
    int GetDocumentType() override { return CDocument::MIDI; }
    int GetPreviewDocumentType() override { return CDocument::WAVE; }
    QString GetImportExtension(int) override { return QStringLiteral("MID"); }
    CDocument* Import(const QByteArray& bytes) override
    {
        CheckInput(bytes);
        ReportImportFailure();
        return nullptr;
    }
    using CImporterBase::ReportMessage;
};
} // namespace

TEST(ImporterFrame, FixedAnswers)
{
    CRefusingImporter importer;
    EXPECT_EQ(importer.GetConverterType(), CPluginBase::IMPORTER);
    EXPECT_EQ(importer.GetImportExtensionCount(), 1);
    EXPECT_TRUE(importer.GetExportExtension().isEmpty());
    EXPECT_TRUE(importer.GetDescription().isEmpty());
    EXPECT_TRUE(importer.GetParametersFileName().isEmpty());
    EXPECT_FALSE(importer.Convert(nullptr));
    EXPECT_TRUE(importer.GetRawDataList().isEmpty());
    EXPECT_STREQ(importer.GetClassName(), "CScorin");
}

TEST(ImporterFrame, FailedImportEndsOnlyTheSummaryWithALineBreak)
{
    ASSERT_TRUE(LoadSourceLanguageFile());
    CRefusingImporter importer;
    CQuietMessages quiet;
    EXPECT_EQ(importer.Import(QByteArray("x")), nullptr);
    EXPECT_EQ(Summary(importer), LoggedLines("CScorin", {"id_import_error"}));
    const std::string detailed = Detailed(importer);
    EXPECT_EQ(detailed + "\n", Summary(importer));
    EXPECT_FALSE(detailed.empty());
    EXPECT_TRUE(quiet.Lines().isEmpty());
}

TEST(ImporterFrame, OtherMessagesGoToBothTextsWithALineBreak)
{
    ASSERT_TRUE(LoadSourceLanguageFile());
    CRefusingImporter importer;
    importer.ReportMessage("id_import_error");
    importer.ReportMessage("id_no_such_message");
    EXPECT_EQ(Summary(importer), LoggedLines("CScorin", {"id_import_error", "id_no_such_message"}));
    EXPECT_EQ(Detailed(importer), Summary(importer));
}

TEST(ImporterFrame, EmptyInputRaisesTheNonFatalCheck)
{
    CRefusingImporter importer;
    CQuietMessages quiet;
    importer.Import(QByteArray());
    ASSERT_EQ(quiet.Lines().size(), 1);
    EXPECT_TRUE(quiet.Lines().first().startsWith(
        QStringLiteral("ASSERT: \"!RawData.isNull() && !RawData.isEmpty()\"")));
}
