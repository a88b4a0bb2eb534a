#include "Core/COrvApplication.h"
#include "Core/CTestBase.h"
#include "Core/CUserPrompt.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include "ScriptedPrompt.h"
#include "Text/CLanguageResources.h"
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

QString Text(const char* id)
{
    return CScratchApp::TestMessage(QString::fromLatin1(id));
}

class CRecordingTest : public CTestBase
{
public:
    explicit CRecordingTest(QStringList& calls) : m_Calls(calls) {}
    ~CRecordingTest() override { m_Calls.append(QStringLiteral("deleted")); }
    bool Start() override { return Record("start"); }
    bool Run() override { return Record("run"); }
    bool Close() override { return Record("close"); }

private:
    bool Record(const char* what)
    {
        m_Calls.append(QString::fromLatin1(what));
        return true;
    }
    QStringList& m_Calls;
};

class CTestApplication : public COrvApplication
{
public:
    using COrvApplication::COrvApplication;
    using COrvApplication::SetTestObject;
};

// One application object per test, started from a scratch folder with a scripted prompt.
class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ORVANEDIR", QFile::encodeName(m_App.Path()));
        m_Start = m_App.FilePath(QStringLiteral("start"));
        m_App.MakeFolder(QStringLiteral("start"));
        QDir::setCurrent(m_Start);
    }
    void TearDown() override
    {
        if (m_Application) {
            m_Application->Shutdown();
            m_Application.reset();
        }
    }

    CTestApplication& Make(const QStringList& arguments = QStringList())
    {
        m_Arguments.Set(arguments);
        m_Application = std::make_unique<CTestApplication>(m_Arguments.Count(), m_Arguments.Vector());
        m_Application->SetUserPrompt(&m_Prompt);
        return *m_Application;
    }

    CProcessStateKeeper m_Keeper;
    CScratchApp m_App;
    QString m_Start;
    CScriptedPrompt m_Prompt;
    std::unique_ptr<CTestApplication> m_Application;
    CProgramArguments m_Arguments;
};

TEST(LogFileName, DateThenTime)
{
    EXPECT_EQ(COrvApplication::MakeLogFileName(QDateTime(QDate(2003, 1, 2), QTime(4, 5, 6))),
              QStringLiteral("Logfile02_01_2003_04_05_06.log"));
    EXPECT_EQ(COrvApplication::MakeLogFileName(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58))),
              QStringLiteral("Logfile31_12_1999_23_59_58.log"));
}

TEST_F(ApplicationTest, StartsAndAnswersTheListQueries)
{
    m_App.MakeComplete();
    m_App.WriteProfile(QStringLiteral("Zed.XML"), QStringLiteral("ZED"),
                       "<DATA NAME=\"TestExporterCompatible\" TYPE=\"BOOL\" VALUE=\"false\"/>");
    m_App.Write(QStringLiteral("Profiles/broken.xml"), "<PROFILE>");
    m_App.Write(QStringLiteral("Profiles/notes.txt"), "not a profile");
    COrvApplication& app = Make();
    ASSERT_EQ(app.Init(), 1);
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(QDir::currentPath(), m_Start);
    EXPECT_EQ(app.GetApplicationPath(), m_App.Path());
    EXPECT_EQ(app.GetCurrentPath(), m_Start);

    QStringList list{QStringLiteral("stale")};
    app.GetProfileNameList(list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("PHONE1"), QStringLiteral("ZED")}));
    EXPECT_EQ(app.GetCurrentProfile(), app.GetProfileList().at(0));

    list = QStringList{QStringLiteral("stale")};
    app.GetConverterNameList(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Test exporter")});
    app.GetTraductorNameList(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Test SMS translator")});
    app.GetEntireNameList(list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("Test exporter"), QStringLiteral("Test SMS translator")}));

    app.GetConverterImportExtensionList(list, 0);
    EXPECT_EQ(list, (QStringList{QStringLiteral("TXT"), QStringLiteral("TST")}));
    app.GetTraductorImportExtensionList(list, 0);
    EXPECT_EQ(list, (QStringList{QStringLiteral("txt"), QStringLiteral("ecd")}));
    app.GetExtensionListForBatch(0, list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("TXT"), QStringLiteral("TST")}));
    app.GetExtensionListForBatch(1, list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("txt"), QStringLiteral("ecd")}));
    app.GetEntireImportExtensionList(list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("TXT"), QStringLiteral("TST"), QStringLiteral("txt"),
                                 QStringLiteral("ecd")}));

    // Indexes outside the lists give empty results.
    for (int index : {-1, 1, 2, 1000}) {
        list = QStringList{QStringLiteral("stale")};
        app.GetConverterImportExtensionList(list, index);
        EXPECT_TRUE(list.isEmpty()) << index;
    }
    list = QStringList{QStringLiteral("stale")};
    app.GetTraductorImportExtensionList(list, 1);
    EXPECT_TRUE(list.isEmpty());
    app.GetExtensionListForBatch(2, list);
    EXPECT_TRUE(list.isEmpty());

    // The second profile refuses the exporter; past the end no profile is selected and nothing is checked.
    app.SetCurrentProfile(1);
    app.GetConverterNameList(list);
    EXPECT_TRUE(list.isEmpty());
    app.GetEntireNameList(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Test SMS translator")});
    app.GetEntireImportExtensionList(list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("txt"), QStringLiteral("ecd")}));
    app.SetCurrentProfile(2);
    EXPECT_EQ(app.GetCurrentProfile(), nullptr);
    app.GetConverterNameList(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Test exporter")});
    app.SetCurrentProfile(-1);
    EXPECT_EQ(app.GetCurrentProfile(), nullptr);

    app.GetInstalledPlugins(list);
    ASSERT_EQ(list.size(), 3);
    EXPECT_TRUE(list.at(0).startsWith(QStringLiteral("Test exporter|1.22|")));
    EXPECT_TRUE(list.at(1).startsWith(QStringLiteral("Test importer|1.1|")));
    EXPECT_TRUE(list.at(2).startsWith(QStringLiteral("Test translator|2.0|")));

    int version = 0;
    app.GetVersionNumber(version);
    EXPECT_EQ(version, 0x00020003);
    QString path;
    app.GetTempPath(path);
    EXPECT_EQ(path, m_Start);
    app.GetApplicationPath(path);
    EXPECT_EQ(path, m_App.Path());

    EXPECT_EQ(app.Shutdown(), 1);
    EXPECT_TRUE(app.GetProfileList().isEmpty());
    EXPECT_EQ(app.GetPluginManager().GetPluginCount(), 0);
    EXPECT_TRUE(
        CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), QStringLiteral("id_warning")).isEmpty());
}

TEST_F(ApplicationTest, ProfilesAreListedInNameOrderWhateverTheCase)
{
    m_App.MakeComplete();
    QFile::remove(m_App.FilePath(QStringLiteral("Profiles/Phone.xml")));
    m_App.WriteProfile(QStringLiteral("beta.xml"), QStringLiteral("BETA"));
    m_App.WriteProfile(QStringLiteral("GAMMA.xml"), QStringLiteral("GAMMA"));
    m_App.WriteProfile(QStringLiteral("delta.Xml"), QStringLiteral("DELTA"));
    m_App.WriteProfile(QStringLiteral("Alpha.XML"), QStringLiteral("ALPHA"));
    COrvApplication& app = Make();
    ASSERT_EQ(app.Init(), 1);
    QStringList names;
    app.GetProfileNameList(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("ALPHA"), QStringLiteral("BETA"), QStringLiteral("DELTA"),
                                  QStringLiteral("GAMMA")}));
    EXPECT_EQ(app.GetCurrentProfile(), app.GetProfileList().at(0));
}

struct FatalCase
{
    const char* name;
    void (*prepare)(const CScratchApp&);
    std::vector<std::pair<int, QString>> reports; // kind, text; titles follow from the kind
};

TEST_F(ApplicationTest, EveryFatalStartUpReport)
{
    const FatalCase cases[] = {
        {"no language file",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Languages/English.xml")));
         },
         {{1, QStringLiteral("No resource file installed !\nPlease re-install the application.")}}},
        {"no plug-in",
         [](const CScratchApp& app) {
             app.WriteLanguageFile();
             app.WriteProfile(QStringLiteral("P.xml"), QStringLiteral("P"));
         },
         {{1, CScratchApp::FatalReport("id_no_converter")}}},
        {"exporter without importer",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Plugins/TestImporter.so")));
         },
         {{1, CScratchApp::FatalReport("id_import_plugmissing")}}},
        {"no translator",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Plugins/TestTranslator.so")));
         },
         {{1, CScratchApp::FatalReport("id_no_sms_translator")}}},
        {"no loadable profile",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QFile::remove(app.FilePath(QStringLiteral("Profiles/Phone.xml")));
             app.Write(QStringLiteral("Profiles/Broken.xml"), "<PROFILE><TSECTION/></PROFILE>");
         },
         {{1, CScratchApp::FatalReport("id_no_profile")}}},
        {"no profile folder",
         [](const CScratchApp& app) {
             app.MakeComplete();
             QDir(app.FilePath(QStringLiteral("Profiles"))).removeRecursively();
         },
         {{1, CScratchApp::FatalReport("id_no_profile")}}},
        {"parameter file that fails",
         [](const CScratchApp& app) {
             app.MakeComplete();
             app.Write(QStringLiteral("Plugins/Parameters/TestExporter.xml"), "<PARAMETERS>");
         },
         {{0, Text("id_param_loaded_failed").arg(QStringLiteral("TestExporter.xml"))
                  + QStringLiteral("\nWhy: it is not a well-formed XML file.")},
          {1, CScratchApp::FatalReport("id_no_converter")}}},
    };
    for (const FatalCase& c : cases) {
        CScratchApp app;
        qputenv("ORVANEDIR", QFile::encodeName(app.Path()));
        c.prepare(app);
        m_Prompt.mShown.clear();
        COrvApplication& application = Make();
        EXPECT_EQ(application.Init(), 0) << c.name;
        EXPECT_EQ(QDir::currentPath(), m_Start) << c.name;
        ASSERT_EQ(m_Prompt.mShown.size(), c.reports.size()) << c.name;
        for (size_t i = 0; i < c.reports.size(); ++i) {
            const CScriptedPrompt::Shown& shown = m_Prompt.mShown.at(i);
            EXPECT_EQ(shown.kind, c.reports.at(i).first) << c.name;
            EXPECT_EQ(shown.text, c.reports.at(i).second) << c.name;
            const QString title = c.reports.at(i).first == 0 ? Text("id_warning")
                                  : QString::fromLatin1(c.name) == QLatin1String("no language file")
                                      ? QStringLiteral("Orvane error")
                                      : Text("id_fatal_error");
            EXPECT_EQ(shown.title, title) << c.name;
        }
        application.Shutdown();
        m_Application.reset();
    }
}

TEST_F(ApplicationTest, MissingPathsElementGivesThatFolderItsDefault)
{
    m_App.MakeComplete();
    QDir().rename(m_App.FilePath(QStringLiteral("Profiles")), m_App.FilePath(QStringLiteral("Phones")));
    m_App.Write(QStringLiteral("Paths.xml"), "<Paths><resource name=\"pictures\"/><profile name=\"Phones\"/></Paths>");
    COrvApplication& app = Make();
    ASSERT_EQ(app.Init(), 1);
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(CLanguageResources::GetResourceFolder(), m_App.Path() + QStringLiteral("/Languages/pictures/"));
    for (CPluginClass* record : app.GetPluginManager().GetClassList())
        EXPECT_EQ(record->GetFlags(), 0);
}

TEST_F(ApplicationTest, PathOptionNamesAnotherPathsFileAndEmptyNamesGiveDefaults)
{
    m_App.MakeComplete();
    QDir().rename(m_App.FilePath(QStringLiteral("Plugins/Parameters")),
                  m_App.FilePath(QStringLiteral("Plugins/Defaults")));
    m_App.Write(QStringLiteral("Paths.xml"), "<Paths><parameter name=\"Wrong\"/></Paths>");
    m_App.Write(QStringLiteral("Other.xml"),
                "<Paths><resource name=\"\"/><parameter name=\"Defaults\"/><profile name=\"\"/></Paths>");
    COrvApplication& app = Make({QStringLiteral("/path=Other.xml")});
    ASSERT_EQ(app.Init(), 1);
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(CLanguageResources::GetResourceFolder(), m_App.Path() + QStringLiteral("/Languages/resources/"));
}

TEST_F(ApplicationTest, WithoutOrvanedirTheCurrentFolderIsTheApplicationFolderForPlugInsToo)
{
    m_App.MakeComplete();
    qunsetenv("ORVANEDIR");
    QDir::setCurrent(m_App.Path());
    COrvApplication& app = Make();
    ASSERT_EQ(app.Init(), 1);
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(app.GetApplicationPath(), m_App.Path());
    EXPECT_EQ(qgetenv("ORVANEDIR"), QFile::encodeName(m_App.Path()));
    for (CPluginClass* record : app.GetPluginManager().GetClassList())
        EXPECT_EQ(record->GetFlags(), 0);
}

TEST_F(ApplicationTest, RelativeOrvanedirIsTakenFromTheStartFolder)
{
    m_App.MakeComplete();
    qputenv("ORVANEDIR", "..");
    COrvApplication& app = Make();
    ASSERT_EQ(app.Init(), 1);
    EXPECT_EQ(app.GetApplicationPath(), m_App.Path());
}

TEST_F(ApplicationTest, TestObjectHooksRunAtTheirPoints)
{
    m_App.MakeComplete();
    QStringList calls;
    CTestApplication& app = Make({QStringLiteral("/user=NOBODY")});
    app.SetTestObject(new CRecordingTest(calls));
    app.SetTestObject(new CRecordingTest(calls)); // the first object stays
    EXPECT_EQ(calls, QStringList{QStringLiteral("deleted")});
    calls.clear();
    // The start operation is the developers' own: neither start-up nor anything later calls it.
    ASSERT_EQ(app.Init(), 1);
    EXPECT_EQ(calls, QStringList());
    // The window opens and its event loop ends at once.
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    app.Run();
    EXPECT_EQ(calls, QStringList{QStringLiteral("run")});
    app.Shutdown();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("run"), QStringLiteral("close"), QStringLiteral("deleted")}));
}

TEST_F(ApplicationTest, AWindowStartThatLogsNothingLeavesNoLog)
{
    m_App.MakeComplete();
    const auto logs = [this] { return QDir(m_Start).entryList({QStringLiteral("Logfile*.log")}, QDir::Files); };
    for (const bool writes : {false, true}) {
        CTestApplication& app = Make();
        ASSERT_EQ(app.Init(), 1);
        ASSERT_EQ(logs().size(), 1) << writes;
        if (writes)
            app.Log(QStringLiteral("a line\n"));
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
        app.Run();
        app.Shutdown();
        m_Application.reset();
        EXPECT_EQ(logs().size(), writes ? 1 : 0) << writes;
    }
}

TEST_F(ApplicationTest, FailedStartUpStillClosesTheTestObject)
{
    m_App.WriteLanguageFile();
    QStringList calls;
    CTestApplication& app = Make();
    app.SetTestObject(new CRecordingTest(calls));
    EXPECT_EQ(app.Init(), 0);
    app.Shutdown();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("close"), QStringLiteral("deleted")}));
}

TEST_F(ApplicationTest, CommandLineReportsAreLogLinesAndTheLogStartsAfresh)
{
    m_App.MakeComplete();
    const QString log = m_App.FilePath(QStringLiteral("run.log"));
    m_App.Write(QStringLiteral("run.log"), "left over from an earlier run\n");
    CTestApplication& app = Make({QStringLiteral("*.none"), QStringLiteral("/logfile=") + log});
    app.SetUserPrompt(nullptr);
    // A text of before the log exists waits for it, and the earlier run's text goes.
    app.Log(QStringLiteral("before the log exists\n"));
    ASSERT_EQ(app.Init(), 1);
    EXPECT_EQ(app.IsCommandLineMode(), 1);
    EXPECT_EQ(ReadAll(log), QByteArray("before the log exists\n"));
    app.Report(1, QStringLiteral("title"), QStringLiteral("X"));
    app.Report(2, QString(), QStringLiteral("kind two"));
    app.Log(QStringLiteral("no line end"));
    app.Log(QStringLiteral(" continues\n"));
    EXPECT_EQ(ReadAll(log), QByteArray("before the log exists\nX\nkind two\nno line end continues\n"));

    // Questions take their default answer and dialogs are refused, so nothing modal opens.
    CUserPrompt& prompt = app.GetUserPrompt();
    EXPECT_EQ(prompt.Ask(QStringLiteral("t"), QStringLiteral("q"), {QStringLiteral("Yes"), QStringLiteral("No")}, 1, 1),
              1);
    QDialog dialog;
    EXPECT_EQ(prompt.Exec(dialog), int(QDialog::Rejected));
    EXPECT_FALSE(dialog.isVisible());

    app.Shutdown();
    app.Log(QStringLiteral("after the log is closed"));
    EXPECT_EQ(ReadAll(log), QByteArray("before the log exists\nX\nkind two\nno line end continues\n"));
}

TEST_F(ApplicationTest, CommandLineFatalReportGoesToTheLog)
{
    m_App.WriteLanguageFile();
    CTestApplication& app = Make({QStringLiteral("*.none"), QStringLiteral("/logfile=run.log")});
    app.SetUserPrompt(nullptr);
    EXPECT_EQ(app.Init(), 0);
    EXPECT_EQ(ReadAll(m_Start + QStringLiteral("/run.log")),
              (CScratchApp::FatalReport("id_no_converter") + QLatin1Char('\n')).toLatin1());
}

TEST_F(ApplicationTest, MissingFoldersListNothingOfTheCurrentFolder)
{
    // Libraries in the start folder and a profile in the parameter folder, where loading leaves the current
    // folder, must not stand in for the missing plug-in and profile folders.
    m_App.MakeComplete();
    for (const char* module : {"TestImporter", "TestExporter", "TestTranslator"})
        QFile::copy(m_App.FilePath(QStringLiteral("Plugins/%1.so").arg(QLatin1String(module))),
                    m_Start + QStringLiteral("/%1.so").arg(QLatin1String(module)));
    QDir().rename(m_App.FilePath(QStringLiteral("Plugins")), m_App.FilePath(QStringLiteral("Elsewhere")));
    COrvApplication& app = Make();
    EXPECT_EQ(app.Init(), 0);
    ASSERT_EQ(m_Prompt.mShown.size(), 1u);
    EXPECT_EQ(m_Prompt.mShown.at(0).text, CScratchApp::FatalReport("id_no_converter"));
    app.Shutdown();
    m_Application.reset();

    QDir().rename(m_App.FilePath(QStringLiteral("Elsewhere")), m_App.FilePath(QStringLiteral("Plugins")));
    QDir().rename(m_App.FilePath(QStringLiteral("Profiles/Phone.xml")),
                  m_App.FilePath(QStringLiteral("Plugins/Parameters/Phone.xml")));
    QDir(m_App.FilePath(QStringLiteral("Profiles"))).removeRecursively();
    m_Prompt.mShown.clear();
    COrvApplication& second = Make();
    EXPECT_EQ(second.Init(), 0);
    ASSERT_EQ(m_Prompt.mShown.size(), 1u);
    EXPECT_EQ(m_Prompt.mShown.at(0).text, CScratchApp::FatalReport("id_no_profile"));
}

TEST_F(ApplicationTest, ConversionLogSummaryGoesToTheRunLog)
{
    m_App.MakeComplete();
    CTestApplication& app = Make({QStringLiteral("*.none"), QStringLiteral("/logfile=run.log")});
    ASSERT_EQ(app.Init(), 1);
    CPluginBase* exporter = COrvApplication::EntryAt(app.GetConverterList(nullptr), 0)->GetConverter();
    exporter->GetConversionLog()->AddText(3, QStringLiteral("summary line\n"));
    exporter->GetConversionLog()->AddText(2, QStringLiteral("detail only\n"));
    app.LogConversionLog(exporter);
    app.LogConversionLog(nullptr);
    EXPECT_EQ(ReadAll(m_Start + QStringLiteral("/run.log")), QByteArray("summary line\n"));
    EXPECT_EQ(COrvApplication::EntryAt(app.GetConverterList(nullptr), 1), nullptr);
    EXPECT_EQ(COrvApplication::EntryAt(app.GetConverterList(nullptr), -1), nullptr);
}

TEST_F(ApplicationTest, HelpLoadsNothingBeyondTheLanguageFile)
{
    m_App.MakeComplete();
    COrvApplication& app = Make({QStringLiteral("/help"), QStringLiteral("/logfile=run.log")});
    EXPECT_EQ(app.Init(), 0);
    EXPECT_EQ(app.GetPluginManager().GetPluginCount(), 0);
    EXPECT_TRUE(app.GetProfileList().isEmpty());
    EXPECT_TRUE(m_Prompt.mShown.empty());
}

} // namespace
