// The program run from the command line on a scratch application folder: what it writes, logs and returns.
#include "EngineTestSupport.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct CRun
{
    int exitCode = -1;
    QString log;
};

class CommandLineRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrepareEngineApp(m_App);
        m_App.MakeFolder(QStringLiteral("work"));
        m_Work = m_App.FilePath(QStringLiteral("work"));
        ASSERT_TRUE(CLanguageResources::Load(m_App.FilePath(QStringLiteral("Languages/English.xml"))));
    }
    void TearDown() override { CLanguageResources::Load(QString()); }

    QString Write(const QString& relative, const QByteArray& content) const
    {
        m_App.Write(QStringLiteral("work/") + relative, content);
        return W(relative);
    }
    // A path in the start folder.
    QString W(const QString& relative) const { return m_Work + QLatin1Char('/') + relative; }

    // Runs the program from the start folder with /profile=phone1, the converter and the arguments.
    CRun Run(const char* converter, const QStringList& arguments, bool withProfile = true)
    {
        QStringList all{QStringLiteral("/logfile=run.log")};
        if (withProfile)
            all << QStringLiteral("/profile=phone1");
        if (converter)
            all << QStringLiteral("/converter=") + QString::fromLatin1(converter);
        all << arguments;
        CRun run;
        const CProgramRun program = RunProgram(QStringLiteral(ORV_PROGRAM_FILE), all, m_Work, m_App.Path());
        if (!program.finished) {
            ADD_FAILURE() << "the program did not end";
            return run;
        }
        run.exitCode = program.exitCode;
        run.log = QString::fromLocal8Bit(ReadAll(W(QStringLiteral("run.log"))));
        return run;
    }

    CScratchApp m_App;
    QString m_Work;
};

TEST_F(CommandLineRunTest, ConvertsEverySourceWithTheExactRunLog)
{
    Write(QStringLiteral("a.txt"), "hello");
    Write(QStringLiteral("b.txt"), "two");
    Write(QStringLiteral("c.txt"), "preview");
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun run = Run("tst", {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt"),
                                 QStringLiteral("/destination=out"), QStringLiteral("/preview")});
    EXPECT_EQ(run.exitCode, 0);
    const QString w = m_Work;
    EXPECT_EQ(run.log, QStringLiteral("Opening %1/a.txt\n"
                                      "Importing...\n"
                                      "Conversion succeeded.\n"
                                      "Saving %1/out/a.TST\n"
                                      "Opening %1/b.txt\n"
                                      "Importing...\n"
                                      "Conversion succeeded.\n"
                                      "Saving %1/out/b_0.TST\n"
                                      "Saving %1/out/b_1.TST\n"
                                      "Opening %1/c.txt\n"
                                      "Importing...\n"
                                      "Conversion succeeded.\n"
                                      "Saving %1/out/c.TST\n"
                                      "Saving %1/out/c_previewTST.BMP\n")
                           .arg(w));
    EXPECT_EQ(FilesIn(W(QStringLiteral("out"))),
              (QStringList{QStringLiteral("a.TST"), QStringLiteral("b_0.TST"), QStringLiteral("b_1.TST"),
                           QStringLiteral("c.TST"), QStringLiteral("c_previewTST.BMP")}));
    EXPECT_EQ(ReadAll(W(QStringLiteral("out/a.TST"))), "hello");
    EXPECT_EQ(ReadAll(W(QStringLiteral("out/b_0.TST"))), "AB");
    EXPECT_EQ(ReadAll(W(QStringLiteral("out/b_1.TST"))), "CDE");
}

TEST_F(CommandLineRunTest, TheExitCodeSaysWhetherEverythingNamedWasConverted)
{
    Write(QStringLiteral("a.txt"), "hello");
    Write(QStringLiteral("pic.tpi"), "8 8");
    struct Case
    {
        const char* name;
        const char* converter;
        QStringList arguments;
        bool withProfile;
        int exitCode;
        QString log;
    };
    const QString converted = ConvertedSourceLog(W(QStringLiteral("a.txt")), {W(QStringLiteral("a.TST"))});
    const Case cases[] = {
        {"no profile named",
         "tst",
         {QStringLiteral("a.txt")},
         false,
         1,
         Text("id_profile_option_missing").arg(QStringLiteral("PHONE1, REFUSER, WARY")) + LF},
        {"unknown profile",
         "tst",
         {QStringLiteral("a.txt"), QStringLiteral("/profile=nobody")},
         false,
         1,
         Text("id_select_profile_failed").arg(QStringLiteral("NOBODY")) + LF},
        {"no converter named",
         nullptr,
         {QStringLiteral("a.txt")},
         true,
         1,
         Text("id_converter_option_missing").arg(QStringLiteral("TST, TPX, TAX, TWX, TST_SMS")) + LF},
        {"unknown converter",
         "xyz",
         {QStringLiteral("a.txt")},
         true,
         1,
         Text("id_select_converter_failed").arg(QStringLiteral("XYZ")) + LF},
        // No failure, but the log says where the pattern looked.
        {"pattern matching nothing",
         "tst",
         {QStringLiteral("*.nomatch")},
         true,
         0,
         Text("id_pattern_matched_nothing").arg(QStringLiteral("*.nomatch"), m_Work) + LF},
        {"everything converted", "tst", {QStringLiteral("a.txt")}, true, 0, converted},
        {"pattern", "tst", {QStringLiteral("*.TXT")}, true, 0, converted},
        {"missing source",
         "tst",
         {QStringLiteral("ghost.txt"), QStringLiteral("a.txt")},
         true,
         1,
         Text("id_source_missing").arg(QStringLiteral("ghost.txt")) + LF + converted},
        {"source without importer",
         "tst",
         {QStringLiteral("pic.tpi"), QStringLiteral("a.txt")},
         true,
         1,
         Text("id_select_importer_failed").arg(QStringLiteral("pic.tpi")) + LF + converted},
        {"only a source without importer",
         "tst",
         {QStringLiteral("pic.tpi")},
         true,
         1,
         Text("id_select_importer_failed").arg(QStringLiteral("pic.tpi")) + LF},
    };
    for (const Case& c : cases) {
        QFile::remove(W(QStringLiteral("a.TST")));
        const CRun run = Run(c.converter, c.arguments, c.withProfile);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(run.log, c.log) << c.name;
    }
}

TEST_F(CommandLineRunTest, ExistingFilesAreOverwrittenWithoutAQuestion)
{
    Write(QStringLiteral("a.txt"), "new");
    Write(QStringLiteral("a.TST"), "a longer old file");
    const CRun run = Run("TST", {QStringLiteral("a.txt")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadAll(W(QStringLiteral("a.TST"))), "new");
}

TEST_F(CommandLineRunTest, AMissingDestinationFolderFailsTheRunAndWritesNothing)
{
    Write(QStringLiteral("a.txt"), "hello");
    const CRun run = Run("tst", {QStringLiteral("a.txt"), QStringLiteral("/destination=nowhere")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.log, Text("id_opening_file").arg(W(QStringLiteral("a.txt"))) + LF + Text("id_importing") + LF
                           + Text("id_convertion_success") + LF
                           + Text("id_saving_file").arg(W(QStringLiteral("nowhere/a.TST"))) + LF
                           + Text("id_saving_failed_because")
                                 .arg(W(QStringLiteral("nowhere/a.TST")), QStringLiteral("No such file or directory"))
                           + LF);
    EXPECT_FALSE(QDir(W(QStringLiteral("nowhere"))).exists());
}

TEST_F(CommandLineRunTest, AParameterFileThatFailsIsLoggedAndTheDefaultsConvert)
{
    Write(QStringLiteral("a.txt"), "hello");
    Write(QStringLiteral("broken.xml"), "<PARAMETERS>");
    const CRun run = Run("tst", {QStringLiteral("a.txt"), QStringLiteral("/parameter=broken.xml")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.log, Text("id_param_loaded_failed").arg(W(QStringLiteral("broken.xml")))
                           + QStringLiteral("\nReason: it is not a well-formed XML file.") + LF
                           + ConvertedSourceLog(W(QStringLiteral("a.txt")), {W(QStringLiteral("a.TST"))}));
    EXPECT_EQ(ReadAll(W(QStringLiteral("a.TST"))), "hello");
}

TEST_F(CommandLineRunTest, RelativeNamesInSeveralFoldersResolveAgainstTheStartFolder)
{
    Write(QStringLiteral("x/a.txt"), "first");
    Write(QStringLiteral("y/b.txt"), "second");
    Write(QStringLiteral("settings/good.xml"), ValidParameterFile());
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun run = Run("tst", {QStringLiteral("x/a.txt"), QStringLiteral("y/b.txt"),
                                 QStringLiteral("/destination=out"), QStringLiteral("/parameter=settings/good.xml")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.log, ConvertedSourceLog(W(QStringLiteral("x/a.txt")), {W(QStringLiteral("out/a.TST"))})
                           + ConvertedSourceLog(W(QStringLiteral("y/b.txt")), {W(QStringLiteral("out/b.TST"))}));
    EXPECT_EQ(ReadAll(W(QStringLiteral("out/a.TST"))), "first");
    EXPECT_EQ(ReadAll(W(QStringLiteral("out/b.TST"))), "second");
}

TEST_F(CommandLineRunTest, AConverterThatFailsOnOneSourceLeavesTheNextOneClean)
{
    Write(QStringLiteral("bad.txt"), "fail");
    Write(QStringLiteral("good.txt"), "nopreview good");
    const CRun run = Run("twx", {QStringLiteral("bad.txt"), QStringLiteral("good.txt"), QStringLiteral("/preview")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.log, Text("id_opening_file").arg(W(QStringLiteral("bad.txt"))) + LF + Text("id_importing") + LF
                           + Text("id_failed_to_convert").arg(W(QStringLiteral("bad.txt")))
                           + QStringLiteral("\nReason: Sound conversion failed.") + LF
                           + ConvertedSourceLog(W(QStringLiteral("good.txt")), {W(QStringLiteral("good.TWX"))}));
    EXPECT_EQ(ReadAll(W(QStringLiteral("good.TWX"))), "nopreview good");
    // Neither the failed source's chunk nor its preview reached the good one.
    EXPECT_FALSE(QFile::exists(W(QStringLiteral("good_previewTWX.WAV"))));
    EXPECT_FALSE(QFile::exists(W(QStringLiteral("bad.TWX"))));
}

TEST_F(CommandLineRunTest, ATranslatorReadsItsOwnSources)
{
    Write(QStringLiteral("card.ecd"), "fifteen bytes!!");
    const CRun run = Run("tst_sms", {QStringLiteral("card.ecd")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadAll(W(QStringLiteral("card_0.TST_SMS"))), "fifteen by");
    EXPECT_EQ(ReadAll(W(QStringLiteral("card_1.TST_SMS"))), "tes!!");
}

} // namespace
