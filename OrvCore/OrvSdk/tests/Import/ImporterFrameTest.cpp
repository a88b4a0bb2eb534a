// What every importer shares: fixed answers and the two ways of reporting.
#include "Import/CImageImporterBase.h"
#include "Import/CImporterBase.h"
#include "ImportTestSupport.h"

#include <gtest/gtest.h>

namespace {
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
    EXPECT_TRUE(
        quiet.Lines().first().startsWith(QStringLiteral("ASSERT: \"!RawData.isNull() && !RawData.isEmpty()\"")));
}

namespace {
// States its answers to the frame and ends its imports the frame's ways.
class CStatedImporter : public CImporterBase
{
public:
    CStatedImporter() : CImporterBase("CDotra", "BMP", CDocument::PICTURE, CDocument::ANIMATION) {}
    CDocument* Import(const QByteArray& bytes) override { return ImportPicture(bytes, &m_Result); }
    using CImporterBase::DocumentOrFailure;
    PictureImport::Result m_Result = PictureImport::NotAFile;
};
} // namespace

TEST(ImporterFrame, StatedAnswersComeBackUnchanged)
{
    CStatedImporter importer;
    EXPECT_EQ(importer.GetDocumentType(), int(CDocument::PICTURE));
    EXPECT_EQ(importer.GetPreviewDocumentType(), int(CDocument::ANIMATION));
    EXPECT_EQ(importer.GetImportExtensionCount(), 1);
    EXPECT_EQ(importer.GetImportExtension(0), QStringLiteral("BMP"));
    EXPECT_EQ(importer.GetImportExtension(4), QStringLiteral("BMP"));
    EXPECT_STREQ(importer.GetClassName(), "CDotra");
}

TEST(ImporterFrame, PictureEndingsReportOnlyFailures)
{
    ASSERT_TRUE(LoadSourceLanguageFile());
    QImage white(3, 2, QImage::Format_RGB32);
    white.fill(Qt::white);
    const struct
    {
        const char* name;
        QByteArray bytes;
        bool imported;
        PictureImport::Result result;
    } cases[] = {
        {"a PNG", EncodePicture(white, "PNG"), true, PictureImport::Loaded},
        {"a BMP", EncodePicture(white, "BMP"), true, PictureImport::Loaded},
        {"no picture", QByteArray("not a picture"), false, PictureImport::LoadFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CStatedImporter importer;
        CQuietMessages quiet;
        std::unique_ptr<CDocument> document(importer.Import(c.bytes));
        EXPECT_EQ(document != nullptr, c.imported);
        EXPECT_EQ(importer.m_Result, c.result);
        if (document) {
            EXPECT_EQ(document->GetDocType(), CDocument::PICTURE);
            EXPECT_EQ(Summary(importer), "");
        } else {
            EXPECT_EQ(Summary(importer), LoggedLines("CDotra", {"id_import_error"}));
        }
    }
    CStatedImporter importer;
    EXPECT_EQ(importer.DocumentOrFailure(nullptr), nullptr);
    EXPECT_EQ(Summary(importer), LoggedLines("CDotra", {"id_import_error"}));
}

namespace {
class CStillImporter : public CPictureImporterBase
{
public:
    CStillImporter() : CPictureImporterBase("CNivra", "PNG", CDocument::PICTURE, CDocument::PICTURE) {}
    CDocument* Import(const QByteArray&) override { return nullptr; }
};

class CMovingImporter : public CAnimationImporterBase
{
public:
    CMovingImporter() : CAnimationImporterBase("CMotra", "ANIM", CDocument::ANIMATION, CDocument::ANIMATION) {}
    CDocument* Import(const QByteArray&) override { return nullptr; }
};
} // namespace

// The picture and animation importers' further operations answer the same whatever they are given.
TEST(ImporterFrame, PictureAndAnimationImportersAnswerTheirFurtherOperations)
{
    CStillImporter still;
    CMovingImporter moving;
    for (CPictureImporterBase* importer :
         {static_cast<CPictureImporterBase*>(&still), static_cast<CPictureImporterBase*>(&moving)}) {
        EXPECT_EQ(importer->GetImportSize(), qMakePair(0, 0));
        for (int option : {-1, 0, 1, 255})
            EXPECT_EQ(importer->SetImportOption(option), 1);
        EXPECT_EQ(importer->GetConverterType(), CPluginBase::IMPORTER);
    }
    for (int option : {-1, 0, 1, 255})
        EXPECT_EQ(moving.GetImportOption(option), 0);
    EXPECT_TRUE(Summary(still).empty());
}
