// The batch run in window mode: the overwrite question with its three answers, size checks, parameter files,
// previews and the summary.
#include "Core/CBatchInfo.h"
#include "EngineTestSupport.h"
#include "FailingAllocations.h"
#include "QtPrinters.h"
#include <QDir>
#include <gtest/gtest.h>

namespace {

class BatchRunTest : public EngineOutputTest
{
protected:
    // Sources named a.txt, b.txt, ... holding the texts.
    QStringList Sources(const QList<QByteArray>& texts)
    {
        QStringList paths;
        for (int i = 0; i < texts.size(); ++i)
            paths.append(Write(QString(QChar(u'a' + i)) + QStringLiteral(".txt"), texts.at(i)));
        return paths;
    }
    B32 Run(const QStringList& sources, const char* extension = "TST", const QString& parameters = QString(),
            B32 preview = 0)
    {
        CBatchInfoList list;
        list.append(new CBatchInfo(sources, EntryIndex(extension), parameters, m_Out));
        B32 result = 7;
        m_Application->LaunchAsked(&list, preview, result);
        return result;
    }
    QString Question(const QString& file) const
    {
        return Text("id_warning") + QLatin1Char('|') + Text("id_already_exists").arg(file) + QLatin1Char('|')
               + Text("id_yes_to_all_caption") + QLatin1Char('/') + Text("id_no_caption") + QLatin1Char('/')
               + Text("id_cancel_caption") + QStringLiteral("|1|1");
    }
};

TEST_F(BatchRunTest, ConvertsEverySourceIntoTheDestination)
{
    const QStringList sources = Sources({"one", "two"});
    EXPECT_EQ(Run(sources), 1);
    EXPECT_EQ(NewLog(), Text("id_launching") + LF + ConvertedSourceLog(sources.at(0), {Out("a.TST")})
                            + ConvertedSourceLog(sources.at(1), {Out("b_0.TST"), Out("b_1.TST")}));
    EXPECT_EQ(ReadAll(Out("a.TST")), "one");
    EXPECT_EQ(ReadAll(Out("b_0.TST")), "AB");
    EXPECT_EQ(ReadAll(Out("b_1.TST")), "CDE");
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_TRUE(m_Prompt.mQuestions.isEmpty());
    const QString progress = QStringLiteral("progress ") + Text("id_processing");
    EXPECT_EQ(m_Window.mCalls,
              (QStringList{progress.arg(QStringLiteral("a.txt")) + QStringLiteral(" 50"),
                           progress.arg(QStringLiteral("a.txt")) + QStringLiteral(" 100"), QStringLiteral("init"),
                           progress.arg(QStringLiteral("b.txt")) + QStringLiteral(" 50"),
                           progress.arg(QStringLiteral("b.txt")) + QStringLiteral(" 100"), QStringLiteral("init")}));
}

TEST_F(BatchRunTest, AnsweringNoSkipsOnlyThatSource)
{
    const QStringList sources = Sources({"one", "second", "three"});
    Write(QStringLiteral("out/b.TST"), "old");
    m_Prompt.mAnswers = {1};
    EXPECT_EQ(Run(sources, "TST", QString(), 1), 1);
    EXPECT_EQ(m_Prompt.mQuestions, QStringList{Question(Out("b.TST"))});
    EXPECT_EQ(ReadAll(Out("a.TST")), "one");
    EXPECT_EQ(ReadAll(Out("b.TST")), "old");
    EXPECT_EQ(ReadAll(Out("c.TST")), "three");
}

TEST_F(BatchRunTest, YesToAllIsAskedOnceForTheWholeRun)
{
    const QStringList sources = Sources({"one", "second", "three"});
    for (const char* name : {"out/a.TST", "out/b.TST", "out/c.TST"})
        Write(QString::fromLatin1(name), "old");
    m_Prompt.mAnswers = {0};
    CBatchInfoList list;
    list.append(new CBatchInfo(sources.mid(0, 2), EntryIndex("TST"), QString(), m_Out));
    list.append(new CBatchInfo(sources.mid(2), EntryIndex("TST"), QString(), m_Out));
    B32 result = 7;
    m_Application->LaunchAsked(&list, 0, result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(m_Prompt.mQuestions.size(), 1);
    EXPECT_EQ(ReadAll(Out("a.TST")), "one");
    EXPECT_EQ(ReadAll(Out("b.TST")), "second");
    EXPECT_EQ(ReadAll(Out("c.TST")), "three");
}

TEST_F(BatchRunTest, CancelEndsTheRunWithoutFailure)
{
    const QStringList sources = Sources({"one", "second", "three"});
    Write(QStringLiteral("out/b.TST"), "old");
    m_Prompt.mAnswers = {2};
    NewLog();
    EXPECT_EQ(Run(sources), 1);
    EXPECT_EQ(ReadAll(Out("a.TST")), "one");
    EXPECT_EQ(ReadAll(Out("b.TST")), "old");
    EXPECT_FALSE(QFile::exists(Out("c.TST")));
    EXPECT_FALSE(NewLog().contains(sources.at(2)));
}

TEST_F(BatchRunTest, OnlyTheFirstFileOfASourceIsAskedAbout)
{
    const QStringList sources = Sources({"two"});
    Write(QStringLiteral("out/a_1.TST"), "old");
    EXPECT_EQ(Run(sources), 1);
    EXPECT_TRUE(m_Prompt.mQuestions.isEmpty());
    EXPECT_EQ(ReadAll(Out("a_1.TST")), "CDE");
}

TEST_F(BatchRunTest, AChunkLargerThanThePhoneTakesIsWrittenButFailsTheRun)
{
    const QStringList limit = Sources({QByteArray(1024, 'x')});
    EXPECT_EQ(Run(limit), 1);
    EXPECT_EQ(ReadAll(Out("a.TST")).size(), 1024);
    EXPECT_TRUE(m_Prompt.mShown.empty());

    const QStringList over = Sources({QByteArray(1025, 'x')});
    NewLog();
    m_Prompt.mAnswers = {0};
    EXPECT_EQ(Run(over), 0);
    EXPECT_EQ(ReadAll(Out("a.TST")).size(), 1025);
    EXPECT_TRUE(NewLog().contains(Text("id_warning_media_toobig").arg(Out("a.TST"), QStringLiteral("PHONE1")) + LF
                                  + Text("id_saving_file").arg(Out("a.TST")) + LF));
    EXPECT_EQ(m_Prompt.Messages(),
              OneMessage(Text("id_launch_failed0"), Text("id_launch_failed1").arg(In(QStringLiteral("run.log")))));
}

TEST_F(BatchRunTest, ATranslatorEntryImportsItsOwnInputAndKeepsItsOwnLimits)
{
    const QStringList sources = Sources({QByteArray(1030, 'x')});
    EXPECT_EQ(Run(sources, "TST_SMS"), 1);
    EXPECT_EQ(FilesIn(m_Out).size(), 103);
    EXPECT_EQ(ReadAll(Out("a_102.TST_SMS")), "xxxxxxxxxx");
    EXPECT_FALSE(NewLog().contains(Text("id_warning_media_toobig").left(8)));
}

TEST_F(BatchRunTest, AParameterFileThatFailsIsLoggedAndTheDefaultsAreUsed)
{
    const QStringList sources = Sources({"one"});
    const QString parameters = Write(QStringLiteral("broken.xml"), "<PARAMETERS>");
    NewLog();
    EXPECT_EQ(Run(sources, "TST", parameters), 0);
    EXPECT_EQ(NewLog(), Text("id_launching") + LF + Text("id_param_loaded_failed").arg(parameters)
                            + QStringLiteral("\nReason: it is not a well-formed XML file.") + LF
                            + ConvertedSourceLog(sources.at(0), {Out("a.TST")}));
    EXPECT_EQ(ReadAll(Out("a.TST")), "one");

    // A good file is used for its entry.
    EXPECT_EQ(Run(sources, "TST", Write(QStringLiteral("good.xml"), ValidParameterFile())), 1);
}

TEST_F(BatchRunTest, AFailedSourceLeavesNothingForTheNextOne)
{
    const QStringList sources = Sources({"fail", "good", "fail again", "nopreview last"});
    NewLog();
    EXPECT_EQ(Run(sources, "TWX", QString(), 1), 0);
    EXPECT_EQ(FilesIn(m_Out),
              (QStringList{QStringLiteral("b.TWX"), QStringLiteral("b_previewTWX.WAV"), QStringLiteral("d.TWX")}));
    EXPECT_EQ(ReadAll(Out("b.TWX")), "good");
    EXPECT_EQ(ReadAll(Out("d.TWX")), "nopreview last");
    EXPECT_EQ(ReadAll(Out("b_previewTWX.WAV")).left(4), "RIFF");
    const QString failed = Text("id_opening_file").arg(sources.at(0)) + LF + Text("id_importing") + LF
                           + Text("id_failed_to_convert").arg(sources.at(0))
                           + QStringLiteral("\nReason: Sound conversion failed.") + LF;
    EXPECT_TRUE(NewLog().startsWith(Text("id_launching") + LF + failed));
}

TEST_F(BatchRunTest, ASourceThatRunsOutOfMemoryFailsAloneAndTheRunGoesOn)
{
    const QStringList sources = Sources({"one", "nomemory", "three"});
    NewLog();
    EXPECT_EQ(Run(sources), 0);
    EXPECT_EQ(FilesIn(m_Out), (QStringList{QStringLiteral("a.TST"), QStringLiteral("c.TST")}));
    const QString log = NewLog();
    EXPECT_TRUE(log.contains(Text("id_importing") + LF + Text("id_source_out_of_memory").arg(sources.at(1)) + LF
                             + Text("id_opening_file").arg(sources.at(2))))
        << qPrintable(log);
}

TEST_F(BatchRunTest, SourcesThatCannotBeReadOrImportedFailTheRun)
{
    const QStringList sources{In(QStringLiteral("missing.txt")), Write(QStringLiteral("x.tpi"), "8 8"),
                              Write(QStringLiteral("fine.txt"), "fine")};
    NewLog();
    EXPECT_EQ(Run(sources), 0);
    EXPECT_EQ(NewLog(), Text("id_launching") + LF + Text("id_opening_file").arg(sources.at(0)) + LF
                            + Text("id_failed_to_load").arg(sources.at(0))
                            + QStringLiteral("\nReason: No such file or directory.") + LF
                            + Text("id_select_importer_failed").arg(sources.at(1)) + LF
                            + ConvertedSourceLog(sources.at(2), {Out("fine.TST")}));
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("fine.TST")});
}

TEST_F(BatchRunTest, AProfileTheConverterDoesNotFullyAcceptFailsEachSource)
{
    m_Application->SetCurrentProfile(2);
    const QStringList sources = Sources({"one", "two"});
    NewLog();
    EXPECT_EQ(Run(sources), 0);
    const auto refused = [](const QString& source) {
        return Text("id_failed_to_convert").arg(source) + LF + QStringLiteral("Reason: ")
               + Text("id_profile_not_compatible").arg(QStringLiteral("WARY")) + LF;
    };
    EXPECT_EQ(NewLog(), Text("id_launching") + LF + Text("id_opening_file").arg(sources.at(0)) + LF
                            + Text("id_importing") + LF + refused(sources.at(0))
                            + Text("id_opening_file").arg(sources.at(1)) + LF + Text("id_importing") + LF
                            + refused(sources.at(1)));
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    EXPECT_EQ(m_Prompt.Messages(),
              OneMessage(Text("id_launch_failed0"), Text("id_launch_failed1").arg(In(QStringLiteral("run.log")))));
}

TEST_F(BatchRunTest, AnEmptyListIsReportedAndFails)
{
    CBatchInfoList list;
    B32 result = 7;
    m_Application->LaunchAsked(&list, 0, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_warning"), Text("id_no_valid_conversion")));

    // An entry whose converter is not in the list is refused.
    list.append(new CBatchInfo(Sources({"one"}), 99, QString(), m_Out));
    NewLog();
    m_Application->LaunchAsked(&list, 0, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(NewLog(), Text("id_launching") + LF + Text("id_batch_entry_invalid").arg(99) + LF);
}

TEST_F(BatchRunTest, ASourceWithoutOutputStillSavesItsPreview)
{
    const QStringList sources = Sources({"nochunk", "preview"});
    EXPECT_EQ(Run(sources, "TST", QString(), 1), 1);
    EXPECT_EQ(FilesIn(m_Out), (QStringList{QStringLiteral("b.TST"), QStringLiteral("b_previewTST.BMP")}));
}

#ifdef ORV_FAILING_ALLOCATIONS
TEST_F(BatchRunTest, ASourceThatCannotBeReadIntoMemoryFailsAloneAndTheRunGoesOn)
{
    const QStringList sources = Sources({"one", QByteArray(4 << 20, 'x'), "three"});
    NewLog();
    {
        const CFailingAllocations failing(2 << 20);
        EXPECT_EQ(Run(sources), 0);
    }
    EXPECT_EQ(FilesIn(m_Out), (QStringList{QStringLiteral("a.TST"), QStringLiteral("c.TST")}));
    const QString log = NewLog();
    EXPECT_TRUE(log.contains(Text("id_opening_file").arg(sources.at(1)) + LF
                             + Text("id_source_out_of_memory").arg(sources.at(1)) + LF
                             + Text("id_opening_file").arg(sources.at(2))))
        << qPrintable(log);
}
#endif

} // namespace
