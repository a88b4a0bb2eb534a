// The program itself, started on scratch application folders.
#include "QtPrinters.h"
#include "ScratchApp.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using CRun = CProgramRun;

QByteArray Fatal(const char* id)
{
    return (CScratchApp::FatalReport(id) + QLatin1Char('\n')).toLatin1();
}

class EndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Work = m_App.FilePath(QStringLiteral("work"));
        m_App.MakeFolder(QStringLiteral("work"));
        m_Log = m_Work + QStringLiteral("/run.log");
    }

    // Runs the program from the work folder; ORVANEDIR names the scratch folder unless told otherwise.
    // Command-line runs get no platform: the program must choose one that needs no display itself.
    CRun Start(const QStringList& arguments, bool withOrvanedir = true, const QString& folder = QString(),
               const QString& platform = QString())
    {
        return RunProgram(QStringLiteral(ORV_PROGRAM_FILE), arguments, folder.isEmpty() ? m_Work : folder,
                          withOrvanedir ? m_App.Path() : QString(), platform);
    }
    // What a command-line run of StartCommandLine logs, started from folder: that its pattern matched nothing.
    static QByteArray NoMatchLog(const QString& folder)
    {
        return QStringLiteral("No match for *.nomatch in %1.\n").arg(folder).toUtf8();
    }
    // A command-line run (its source matches nothing, so it converts nothing) logging to run.log.
    CRun StartCommandLine(bool withOrvanedir = true, const QString& folder = QString())
    {
        return Start({QStringLiteral("*.nomatch"), QStringLiteral("/profile=phone1"), QStringLiteral("/converter=tst"),
                      QStringLiteral("/logfile=") + m_Log},
                     withOrvanedir, folder);
    }

    CScratchApp m_App;
    QString m_Work;
    QString m_Log;
};

TEST_F(EndToEndTest, FatalStartUpReportsEndWithExitCodeOne)
{
    struct Case
    {
        const char* name;
        void (*prepare)(const CScratchApp&);
        QByteArray log;
    };
    const Case cases[] = {
        {"no language file",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Languages/English.xml")));
         },
         "No resource file installed !\nPlease re-install the application.\n"},
        {"no plug-in", [](const CScratchApp& app) { app.WriteLanguageFile(); }, Fatal("id_no_converter")},
        {"exporter without importer",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Plugins/TestImporter.so")));
         },
         Fatal("id_import_plugmissing")},
        {"no translator",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Plugins/TestTranslator.so")));
         },
         Fatal("id_no_sms_translator")},
        {"no loadable profile",
         [](const CScratchApp& app) {
             app.MakeComplete();
             app.Write(QStringLiteral("Profiles/Phone.xml"), "<PROFILE/>");
         },
         Fatal("id_no_profile")},
        {"parameter file that fails",
         [](const CScratchApp& app) {
             app.MakeComplete();
             app.Write(QStringLiteral("Plugins/Parameters/TestExporter.xml"), "not xml");
         },
         "Cannot load TestExporter.xml\nWhy: it is not a well-formed XML file.\n" + Fatal("id_no_converter")},
    };
    for (const Case& c : cases) {
        CScratchApp app;
        c.prepare(app);
        const QStringList arguments{QStringLiteral("*.nomatch"), QStringLiteral("/logfile=run.log")};
        const CRun run = RunProgram(QStringLiteral(ORV_PROGRAM_FILE), arguments, app.Path(), app.Path());
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(run.exitCode, 1) << c.name; // -1 for a crash
        EXPECT_EQ(ReadAll(app.FilePath(QStringLiteral("run.log"))), c.log) << c.name;
    }
}

TEST_F(EndToEndTest, StartsWithStrayLibrariesAndReachesTheRun)
{
    m_App.MakeComplete();
    m_App.AddPlugin(QStringLiteral("TestNotAPlugin"));
    m_App.AddPlugin(QStringLiteral("TestMissingExport"));
    m_App.AddPlugin(QStringLiteral("TestImporter"), QStringLiteral("SECOND_IMPORTER.SO"));
    const CRun run = StartCommandLine();
    ASSERT_TRUE(run.finished);
    // A pattern that matches nothing converts nothing and succeeds; the log says so.
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadAll(m_Log), NoMatchLog(m_Work));
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(EndToEndTest, WithoutOrvanedirTheStartFolderIsTheApplicationFolder)
{
    m_App.MakeComplete();
    const CRun run = StartCommandLine(false, m_App.Path());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadAll(m_Log), NoMatchLog(m_App.Path()));
    // From any other folder the language file is missing.
    const CRun elsewhere = StartCommandLine(false);
    EXPECT_EQ(elsewhere.exitCode, 1);
    EXPECT_EQ(ReadAll(m_Log), "No resource file installed !\nPlease re-install the application.\n");
}

TEST_F(EndToEndTest, HelpIsPrintedExactlyAndEndsTheRun)
{
    m_App.WriteLanguageFile(); // no plug-in: nothing is loaded beyond the language file
    const QByteArray help = "Test help 2.3\n"
                            "/profile=<name> profile\n"
                            "/parameter=<file> parameters\n"
                            "/destination=<folder> destination\n"
                            "/converter=<ext> converter\n"
                            "/logfile=<file> log\n"
                            "/preview previews\n"
                            "/help help\n"
                            "\n";
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("/help")},
          QStringList{QStringLiteral("a.mid"), QStringLiteral("/HELP"), QStringLiteral("/profile=x"),
                      QStringLiteral("/logfile=") + m_Log}}) {
        const CRun run = Start(arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, help);
    }
    // The help leaves no run log behind, not even an empty one.
    EXPECT_EQ(ReadAll(m_Log), QByteArray("<missing>"));
}

TEST_F(EndToEndTest, HelpWithoutALanguageFileReportsToTheLogInsteadOfABox)
{
    // Nothing is installed: the fatal report must not wait for a box that no display can show.
    const CRun run = Start({QStringLiteral("/help"), QStringLiteral("/logfile=") + m_Log});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QByteArray());
    EXPECT_EQ(ReadAll(m_Log), QByteArray("No resource file installed !\nPlease re-install the application.\n"));
}

TEST_F(EndToEndTest, LogFileIsNamedByDateAndTimeAndEmptiedAtStart)
{
    m_App.MakeComplete();
    const CRun run = Start({QStringLiteral("*.nomatch")});
    ASSERT_TRUE(run.finished);
    const QStringList logs = QDir(m_Work).entryList(QStringList{QStringLiteral("*.log")}, QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Logfile\\d\\d_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d\\.log$"))
                    .match(logs.first())
                    .hasMatch())
        << qPrintable(logs.first());

    QFile old(m_Log);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();
    StartCommandLine();
    EXPECT_EQ(ReadAll(m_Log), NoMatchLog(m_Work));
}

} // namespace
