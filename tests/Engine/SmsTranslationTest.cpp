// The SMS tab's translation: one file per message, named from the output name or the source.
#include "Core/CGenerationInfo.h"
#include "Engine/CSmsTranslation.h"
#include "EngineTestSupport.h"
#include "FailingAllocations.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include <QDir>
#include <gtest/gtest.h>

namespace {

class SmsTranslationTest : public EngineOutputTest
{
protected:
    void Translate(const QString& source, const QString& outputName = QString())
    {
        CParameters* parameters = nullptr;
        QString name = source;
        m_Application->GetTraductorParameters(TranslatorIndex("TST_SMS"), &parameters, name);
        CGenerationInfo info(source, TranslatorIndex("TST_SMS"), parameters, m_Out);
        m_Application->TranslationAsked(&info, outputName);
    }
};

TEST_F(SmsTranslationTest, OneMessageGivesOneFileWithoutSuffix)
{
    const QString source = Write(QStringLiteral("cards/tune.old.txt"), "short");
    NewLog();
    Translate(source);
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("tune.TST_SMS")});
    EXPECT_EQ(ReadAll(Out("tune.TST_SMS")), "short");
    EXPECT_EQ(NewLog(), Text("id_translating") + LF + Text("id_opening_file").arg(source) + LF + Text("id_importing")
                            + LF + Text("id_convertion_success") + LF + Text("id_saving_file").arg(Out("tune.TST_SMS"))
                            + LF);
    // Items of an e-card are found beside it.
    EXPECT_EQ(QDir::currentPath(), In(QStringLiteral("cards")));
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(m_Window.mCalls, QStringList{QStringLiteral("init")});
    // Nothing of the run stays with the translator.
    CPluginBase* translator = m_Application->GetTraductorList(nullptr).at(0)->GetConverter();
    EXPECT_TRUE(translator->GetRawDataList().isEmpty());
}

TEST_F(SmsTranslationTest, SeveralMessagesAreNumberedFromTheOutputName)
{
    const QString source = Write(QStringLiteral("card.txt"), "twenty-five bytes of text");
    QDir().mkpath(In(QStringLiteral("named")));
    QDir().mkpath(In(QStringLiteral("bare")));
    Translate(source, In(QStringLiteral("named/msg.txt")));
    EXPECT_EQ(FilesIn(In(QStringLiteral("named"))),
              (QStringList{QStringLiteral("msg_0.TST_SMS"), QStringLiteral("msg_1.TST_SMS"),
                           QStringLiteral("msg_2.TST_SMS")}));
    EXPECT_EQ(ReadAll(In(QStringLiteral("named/msg_0.TST_SMS"))), "twenty-fiv");
    EXPECT_EQ(ReadAll(In(QStringLiteral("named/msg_2.TST_SMS"))), " text");
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());

    // An output name without a file part takes the source's base name, never a hidden file.
    Translate(source, In(QStringLiteral("bare/")));
    EXPECT_EQ(FilesIn(In(QStringLiteral("bare"))),
              (QStringList{QStringLiteral("card_0.TST_SMS"), QStringLiteral("card_1.TST_SMS"),
                           QStringLiteral("card_2.TST_SMS")}));
    EXPECT_EQ(CSmsTranslation::MakeOutputFileName(CGenerationInfo(source, 0, nullptr, m_Out), QStringLiteral("/x/"), 0,
                                                  1, QStringLiteral("EMS_SMS")),
              QStringLiteral("/x/card.EMS_SMS"));
}

TEST_F(SmsTranslationTest, OnlyTheFirstFileIsAskedAboutAndNoWritesNothing)
{
    const QString source = Write(QStringLiteral("card.txt"), "fifteen bytes!!");
    Write(QStringLiteral("out/card_0.TST_SMS"), "old");
    m_Prompt.mAnswers = {1};
    Translate(source);
    ASSERT_EQ(m_Prompt.mQuestions.size(), 1);
    EXPECT_TRUE(m_Prompt.mQuestions[0].contains(Text("id_already_exists").arg(Out("card_0.TST_SMS"))));
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("card_0.TST_SMS")});
    EXPECT_EQ(ReadAll(Out("card_0.TST_SMS")), "old");

    m_Prompt.mAnswers = {0};
    Translate(source);
    EXPECT_EQ(m_Prompt.mQuestions.size(), 2);
    EXPECT_EQ(ReadAll(Out("card_0.TST_SMS")), "fifteen by");
    EXPECT_EQ(ReadAll(Out("card_1.TST_SMS")), "tes!!");
}

TEST_F(SmsTranslationTest, ASourceThatCannotBeReadOrImportedIsReported)
{
    struct Case
    {
        const char* content;
        const char* importing;
        const char* title;
        const char* reason;
    };
    // The box and the log alike name the file and give the reason on the next line.
    const Case cases[] = {
        // An empty file counts as unreadable.
        {"", "", "id_warning", "Reason: it is empty."},
        // The reader's words are the reason.
        {"unreadable card", "Importing...\n", "id_import_failed", "Reason: Not a test message."},
    };
    for (const Case& c : cases) {
        const QString source = Write(QStringLiteral("card.txt"), c.content);
        const QString text = Text("id_failed_to_load").arg(source) + LF + QLatin1String(c.reason);
        NewLog();
        m_Prompt.mShown.clear();
        Translate(source);
        EXPECT_EQ(NewLog(), Text("id_translating") + LF + Text("id_opening_file").arg(source) + LF
                                + QLatin1String(c.importing) + text + LF)
            << c.content;
        EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text(c.title), text)) << c.content;
        EXPECT_TRUE(FilesIn(m_Out).isEmpty()) << c.content;
        EXPECT_TRUE(m_Window.mCalls.isEmpty()) << c.content;
    }
}

TEST_F(SmsTranslationTest, ATranslationThatFailsWritesNothingAndLeavesNothing)
{
    const QString source = Write(QStringLiteral("card.txt"), "fail to translate");
    NewLog();
    Translate(source);
    // The translator's words are the reason under the line that names the file, in the box and the log alike.
    const QString text = Text("id_failed_to_translate").arg(source) + QStringLiteral("\nReason: Translation failed.");
    EXPECT_EQ(NewLog(), Text("id_translating") + LF + Text("id_opening_file").arg(source) + LF + Text("id_importing")
                            + LF + text + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_translation_failed"), text));
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    EXPECT_EQ(m_Window.mCalls, QStringList{QStringLiteral("init")});
    CPluginBase* translator = m_Application->GetTraductorList(nullptr).at(0)->GetConverter();
    EXPECT_TRUE(translator->GetRawDataList().isEmpty());

    // A translation that makes a preview writes only its messages; the preview goes.
    Translate(Write(QStringLiteral("tune.txt"), "preview"));
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("tune.TST_SMS")});
    EXPECT_EQ(translator->GetPreviewDocument(), nullptr);
}

TEST_F(SmsTranslationTest, RunningOutOfMemoryFailsTheTranslationWithTheReasonAndWritesNothing)
{
    const QString source = Write(QStringLiteral("card.txt"), "nomemory");
    NewLog();
    Translate(source);
    const QString noMemory = Text("id_source_out_of_memory").arg(source);
    EXPECT_TRUE(NewLog().endsWith(Text("id_importing") + LF + noMemory + LF));
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_translation_failed"), noMemory));
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    EXPECT_EQ(m_Window.mCalls, QStringList{QStringLiteral("init")});
    EXPECT_TRUE(m_Application->GetTraductorList(nullptr).at(0)->GetConverter()->GetRawDataList().isEmpty());

    Translate(Write(QStringLiteral("next.txt"), "next"));
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("next.TST_SMS")});
}

TEST_F(SmsTranslationTest, ATranslatorIndexOutsideTheListIsRefused)
{
    const QString source = Write(QStringLiteral("card.txt"), "fifteen bytes!!");
    NewLog();
    for (int index : {-1, 1, 50}) {
        m_Prompt.mShown.clear();
        CGenerationInfo info(source, index, nullptr, m_Out);
        m_Application->TranslationAsked(&info, QString());
        EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_translation_failed"), Text("id_converter_unavailable")))
            << index;
    }
    EXPECT_EQ(NewLog(), QString());
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    EXPECT_TRUE(m_Window.mCalls.isEmpty());
}

TEST_F(SmsTranslationTest, AFileThatCannotBeWrittenIsReportedAndTheOthersAreStillWritten)
{
    const QString source = Write(QStringLiteral("card.txt"), "fifteen bytes!!");
    // A folder stands where the first file would go.
    QDir().mkpath(Out("card_0.TST_SMS"));
    m_Prompt.mAnswers = {0};
    NewLog();
    Translate(source);
    EXPECT_TRUE(NewLog().endsWith(
        Text("id_saving_file").arg(Out("card_0.TST_SMS")) + LF
        + Text("id_saving_failed_because").arg(Out("card_0.TST_SMS"), QStringLiteral("Is a directory")) + LF
        + Text("id_saving_file").arg(Out("card_1.TST_SMS")) + LF));
    ASSERT_EQ(m_Prompt.mShown.size(), 1u);
    EXPECT_EQ(m_Prompt.mShown[0].text,
              Text("id_failed_to_save").arg(Out("card_0.TST_SMS"), QStringLiteral("Is a directory")));
    EXPECT_EQ(ReadAll(Out("card_1.TST_SMS")), "tes!!");
}

#ifdef ORV_FAILING_ALLOCATIONS
TEST_F(SmsTranslationTest, AMessageThatCannotBeReadIntoMemoryFailsAloneWithTheReason)
{
    const QString source = Write(QStringLiteral("card.txt"), QByteArray(4 << 20, 'x'));
    NewLog();
    {
        const CFailingAllocations failing(2 << 20);
        Translate(source);
    }
    // The form is not fitted to the source, and the source is not translated.
    const QString noMemory = Text("id_source_out_of_memory").arg(source);
    EXPECT_EQ(NewLog(),
              noMemory + LF + Text("id_translating") + LF + Text("id_opening_file").arg(source) + LF + noMemory + LF);
    EXPECT_EQ(m_Prompt.Messages(),
              OneMessage(Text("id_warning"), noMemory) + OneMessage(Text("id_translation_failed"), noMemory));
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    Translate(Write(QStringLiteral("next.txt"), "next"));
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("next.TST_SMS")});
}
#endif

} // namespace
