// Loading a media file and converting it in the media tab.
#include "Core/CGenerationInfo.h"
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentPicture.h"
#include "EngineTestSupport.h"
#include "FailingAllocations.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include <QDir>
#include <gtest/gtest.h>
#include <new>

namespace {

class MediaSlotTest : public EngineTest
{
protected:
    B32 Load(const QString& path, const char* extension)
    {
        QString name = path;
        B32 success = 7;
        m_Application->LoadMediaAsked(name, ConverterIndex(extension), success);
        return success;
    }
    void Convert(const char* extension)
    {
        CParameters* parameters = nullptr;
        m_Application->GetConverterParameters(ConverterIndex(extension), &parameters);
        CGenerationInfo info(QString(), ConverterIndex(extension), parameters, QString());
        m_Application->ConvertionAsked(0, &info);
    }
    // The preview handed out, starting from a pointer that is not null so that "none" must be said.
    CDocument* PreviewOrNull()
    {
        CDocument* document = reinterpret_cast<CDocument*>(1);
        m_Application->GetPreviewDocument(&document);
        return document;
    }
    CPluginBase* Converter(const char* extension)
    {
        return m_Application->GetEntireList(nullptr).at(EntryIndex(extension))->GetConverter();
    }
};

TEST_F(MediaSlotTest, LoadsAFileThroughTheImporterOfItsExtension)
{
    Start();
    const QString source = Write(QStringLiteral("in/Tune.tXt"), "hello");
    EXPECT_EQ(Load(source, "TST"), 1);
    ASSERT_NE(Loaded(), nullptr);
    EXPECT_EQ(Loaded()->GetName(), source);
    EXPECT_EQ(Loaded()->GetDocType(), CDocument::MELODY);
    EXPECT_EQ(NewLog(), Text("id_opening_file").arg(source) + LF + Text("id_importing") + LF);
    // Importers resolve names against their source's folder.
    EXPECT_EQ(QDir::currentPath(), In(QStringLiteral("in")));
    EXPECT_TRUE(m_Prompt.mShown.empty());

    m_Application->ClearMediaAsked();
    EXPECT_EQ(Loaded(), nullptr);
    m_Application->GetLoadedDocument(nullptr);
}

TEST_F(MediaSlotTest, FailedLoadsReportAndLeaveNoDocument)
{
    Start();
    const QString good = Write(QStringLiteral("good.txt"), "hello");
    ASSERT_EQ(Load(good, "TST"), 1);
    NewLog();

    // A missing and an empty file read alike, but the box and the log say which is which, in the same lines.
    struct Unreadable
    {
        QString path;
        // The reason's line: a sentence of its own.
        QString line;
    };
    for (const Unreadable& file :
         {Unreadable{In(QStringLiteral("missing.txt")), QStringLiteral("Reason: No such file or directory.")},
          Unreadable{Write(QStringLiteral("empty.txt"), ""), QStringLiteral("Reason: it is empty.")}}) {
        const QString& missing = file.path;
        m_Prompt.mShown.clear();
        EXPECT_EQ(Load(missing, "TST"), 0);
        EXPECT_EQ(Loaded(), nullptr);
        const QString lines = Text("id_failed_to_load").arg(missing) + LF + file.line;
        EXPECT_EQ(NewLog(), Text("id_opening_file").arg(missing) + LF + lines + LF);
        EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_warning"), lines));
    }

    // The importer's own detailed text, less its last line feed, explains a refused file.
    m_Prompt.mShown.clear();
    const QString bad = Write(QStringLiteral("bad.tpi"), "not a size");
    EXPECT_EQ(Load(bad, "TPX"), 0);
    EXPECT_EQ(Loaded(), nullptr);
    const QString refused = Text("id_failed_to_load").arg(bad) + QStringLiteral("\nReason: Bad test image.");
    EXPECT_EQ(NewLog(), Text("id_opening_file").arg(bad) + LF + Text("id_importing") + LF + refused + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_import_failed"), refused));

    // No importer for the converter's documents: nothing is loaded, nothing is read, and the user is told.
    m_Prompt.mShown.clear();
    EXPECT_EQ(Load(good, "TPX"), 0);
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(NewLog(), QString());
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_warning"), Text("id_select_importer_failed").arg(good)));
}

TEST_F(MediaSlotTest, ConvertsTheLoadedDocumentAndKeepsTheResult)
{
    Start();
    const QString source = Write(QStringLiteral("in/tune.txt"), "preview me");
    ASSERT_EQ(Load(source, "TST"), 1);
    NewLog();
    Convert("TST");
    EXPECT_EQ(NewLog(), Text("id_converting") + LF + Text("id_convertion_success") + LF);
    const QString progress = QStringLiteral("progress ") + Text("id_processing").arg(QStringLiteral("tune.txt"));
    EXPECT_EQ(m_Window.mCalls, (QStringList{progress + QStringLiteral(" 50"), progress + QStringLiteral(" 100"),
                                            QStringLiteral("converted 1"), QStringLiteral("init")}));
    EXPECT_EQ(ResultBytes(), "preview me");
    CDocument* preview = nullptr;
    m_Application->GetPreviewDocument(&preview);
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->GetDocType(), CDocument::PICTURE);
    EXPECT_EQ(static_cast<CDocumentPicture*>(preview)->GetImage().size(), QSize(4, 3));
    // The application owns the preview now; the converter holds none.
    EXPECT_EQ(Converter("TST")->GetPreviewDocument(), nullptr);
    QString extension = QStringLiteral("unchanged");
    m_Application->GetExportExtension(extension);
    EXPECT_EQ(extension, QStringLiteral("TST"));
    EXPECT_TRUE(m_Prompt.mShown.empty());
    // The popup is gone once the conversion is over.
    EXPECT_EQ(m_Application->GetEngineState().mpPopup, nullptr);
}

TEST_F(MediaSlotTest, WithoutALoadedDocumentNothingConverts)
{
    Start();
    QString extension = QStringLiteral("unchanged");
    m_Application->GetExportExtension(extension);
    EXPECT_EQ(extension, QStringLiteral("unchanged"));
    Convert("TST");
    EXPECT_EQ(NewLog(), Text("id_converting") + LF);
    EXPECT_TRUE(m_Window.mCalls.isEmpty());
    EXPECT_EQ(ResultBytes(), "<none>");
}

TEST_F(MediaSlotTest, AFailedConversionReportsTheConvertersTextAndDropsThePreviousResult)
{
    Start();
    ASSERT_EQ(Load(Write(QStringLiteral("good.txt"), "good"), "TST"), 1);
    Convert("TST");
    ASSERT_EQ(ResultBytes(), "good");
    ASSERT_EQ(Load(Write(QStringLiteral("bad.txt"), "fail now"), "TST"), 1);
    NewLog();
    m_Window.mCalls.clear();
    Convert("TST");
    const QString failed = Text("id_failed_to_convert").arg(In(QStringLiteral("bad.txt")))
                           + QStringLiteral("\nReason: Test conversion failed.");
    EXPECT_EQ(NewLog(), Text("id_converting") + LF + failed + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_convert_failed"), failed));
    EXPECT_EQ(m_Window.mCalls.mid(m_Window.mCalls.size() - 2),
              (QStringList{QStringLiteral("converted 0"), QStringLiteral("init")}));
    EXPECT_EQ(ResultBytes(), "<none>");
    EXPECT_EQ(PreviewOrNull(), nullptr);
}

// A file too large for the memory left fails alone, in loading as in converting; the window goes on.
TEST_F(MediaSlotTest, RunningOutOfMemoryFailsTheFileWithTheReasonAndTheWindowGoesOn)
{
    Start();
    const QString huge = Write(QStringLiteral("huge.txt"), "nomemory!");
    NewLog();
    EXPECT_EQ(Load(huge, "TST"), 0);
    EXPECT_EQ(Loaded(), nullptr);
    const QString noMemory = Text("id_source_out_of_memory").arg(huge);
    EXPECT_EQ(NewLog(), Text("id_opening_file").arg(huge) + LF + Text("id_importing") + LF + noMemory + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_import_failed"), noMemory));

    m_Prompt.mShown.clear();
    const QString source = Write(QStringLiteral("big.txt"), "nomemory");
    ASSERT_EQ(Load(source, "TST"), 1);
    NewLog();
    Convert("TST");
    const QString converting = Text("id_source_out_of_memory").arg(source);
    EXPECT_EQ(NewLog(), Text("id_converting") + LF + converting + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_convert_failed"), converting));
    EXPECT_EQ(ResultBytes(), "<none>");
    EXPECT_TRUE(Converter("TST")->GetRawDataList().isEmpty());

    ASSERT_EQ(Load(Write(QStringLiteral("good.txt"), "good"), "TST"), 1);
    Convert("TST");
    EXPECT_EQ(ResultBytes(), "good");
}

// A prompt whose boxes cannot be built: every message runs out of memory.
class CPromptWithoutMemory : public CScriptedPrompt
{
public:
    void ShowMessage(int, const QString&, const QString&) override { throw std::bad_alloc(); }
};

// Saying that a conversion ran out of memory never ends the window: when its box cannot be built either, the line
// stays on the status bar beside the run log's, and the next file converts.
TEST_F(MediaSlotTest, AFailureWhoseBoxCannotBeBuiltStaysOnTheStatusBar)
{
    Start();
    const QString source = Write(QStringLiteral("big.txt"), "nomemory");
    ASSERT_EQ(Load(source, "TST"), 1);
    CPromptWithoutMemory prompt;
    m_Application->SetUserPrompt(&prompt);
    NewLog();
    m_Window.mCalls.clear();
    Convert("TST");
    const QString noMemory = Text("id_source_out_of_memory").arg(source);
    EXPECT_EQ(NewLog(), Text("id_converting") + LF + noMemory + LF);
    ASSERT_GE(m_Window.mCalls.size(), 3);
    EXPECT_EQ(m_Window.mCalls.mid(m_Window.mCalls.size() - 3),
              (QStringList{QStringLiteral("init"), QStringLiteral("progress %1 0").arg(noMemory),
                           QStringLiteral("converted 0")}));
    EXPECT_EQ(ResultBytes(), "<none>");
    m_Application->SetUserPrompt(&m_Prompt);

    ASSERT_EQ(Load(Write(QStringLiteral("good.txt"), "good"), "TST"), 1);
    Convert("TST");
    EXPECT_EQ(ResultBytes(), "good");
}

TEST_F(MediaSlotTest, WhatAFailedConversionLeftNeverReachesTheNextOne)
{
    Start();
    CPluginBase* converter = Converter("TWX");
    ASSERT_EQ(Load(Write(QStringLiteral("bad.txt"), "fail"), "TWX"), 1);
    Convert("TWX");
    // The detailed text is the reason, without the empty line its two line feeds would leave.
    ASSERT_EQ(m_Prompt.mShown.size(), 1u);
    EXPECT_EQ(m_Prompt.mShown[0].text, Text("id_failed_to_convert").arg(In(QStringLiteral("bad.txt")))
                                           + QStringLiteral("\nReason: Sound conversion failed."));
    EXPECT_TRUE(converter->GetRawDataList().isEmpty());
    EXPECT_EQ(converter->GetPreviewDocument(), nullptr);

    ASSERT_EQ(Load(Write(QStringLiteral("good.txt"), "nopreview good"), "TWX"), 1);
    Convert("TWX");
    EXPECT_EQ(ResultBytes(), "nopreview good");
    EXPECT_EQ(PreviewOrNull(), nullptr);
}

TEST_F(MediaSlotTest, APreviewTakenOverIsNeverHandedOutTwice)
{
    Start();
    ASSERT_EQ(Load(Write(QStringLiteral("a.txt"), "with preview"), "TWX"), 1);
    Convert("TWX");
    CDocument* first = nullptr;
    m_Application->GetPreviewDocument(&first);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetDocType(), CDocument::WAVE);

    // The next conversion makes no preview: the discarded one must not come back.
    ASSERT_EQ(Load(Write(QStringLiteral("b.txt"), "nopreview"), "TWX"), 1);
    Convert("TWX");
    EXPECT_EQ(PreviewOrNull(), nullptr);
    Convert("TWX");
    EXPECT_EQ(PreviewOrNull(), nullptr);
}

// The box and the log say it in the lines a batch run logs for the source.
TEST_F(MediaSlotTest, AProfileTheConverterDoesNotFullyAcceptFailsTheSourceInTheBoxAndTheLog)
{
    Start();
    m_Application->SetCurrentProfile(2);
    ASSERT_EQ(m_Application->GetCurrentProfile()->GetMobileName(), QStringLiteral("WARY"));
    const QString source = Write(QStringLiteral("a.txt"), "hello");
    ASSERT_EQ(Load(source, "TST"), 1);
    NewLog();
    Convert("TST");
    const QString failed = Text("id_failed_to_convert").arg(source) + QStringLiteral("\nReason: ")
                           + Text("id_profile_not_compatible").arg(QStringLiteral("WARY"));
    EXPECT_EQ(NewLog(), Text("id_converting") + LF + failed + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_convert_failed"), failed));
    EXPECT_EQ(m_Window.mCalls, (QStringList{QStringLiteral("converted 0"), QStringLiteral("init")}));
    EXPECT_EQ(ResultBytes(), "<none>");
    EXPECT_TRUE(Converter("TST")->GetRawDataList().isEmpty());
}

TEST_F(MediaSlotTest, ConverterIndexesOutsideTheListAreRefused)
{
    Start();
    ASSERT_EQ(Load(Write(QStringLiteral("a.txt"), "text"), "TST"), 1);
    NewLog();
    for (int index : {-1, 4, 99}) {
        m_Prompt.mShown.clear();
        CGenerationInfo info(QString(), index, nullptr, QString());
        m_Application->ConvertionAsked(0, &info);
        EXPECT_EQ(NewLog(), Text("id_converting") + LF);
        EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_convert_failed"), Text("id_converter_unavailable")))
            << index;
        QString path = In(QStringLiteral("a.txt"));
        B32 success = 7;
        m_Application->LoadMediaAsked(path, index, success);
        EXPECT_EQ(success, 0);
        ASSERT_EQ(m_Prompt.mShown.size(), 2u) << index;
        EXPECT_EQ(m_Prompt.mShown[1].title, Text("id_warning"));
        EXPECT_EQ(m_Prompt.mShown[1].text, Text("id_converter_unavailable"));
    }
    EXPECT_TRUE(m_Window.mCalls.isEmpty());
    EXPECT_EQ(ResultBytes(), "<none>");
}

#ifdef ORV_FAILING_ALLOCATIONS
// Reading the file is part of its work: a file too large for the memory left fails alone with the reason, and the
// window goes on.
TEST_F(MediaSlotTest, AFileThatCannotBeReadIntoMemoryFailsAloneWithTheReason)
{
    Start();
    const QString huge = Write(QStringLiteral("huge.txt"), QByteArray(4 << 20, 'x'));
    NewLog();
    {
        const CFailingAllocations failing(2 << 20);
        EXPECT_EQ(Load(huge, "TST"), 0);
    }
    EXPECT_EQ(Loaded(), nullptr);
    const QString noMemory = Text("id_source_out_of_memory").arg(huge);
    EXPECT_EQ(NewLog(), Text("id_opening_file").arg(huge) + LF + noMemory + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_import_failed"), noMemory));
    EXPECT_EQ(Load(huge, "TST"), 1);
}
#endif

} // namespace
