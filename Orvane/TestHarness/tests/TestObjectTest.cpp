// The developer test objects: which "/user=" value selects which object, and what each does at the
// application's start, run and shut-down.
#include "Core/COrvApplication.h"
#include "Core/CTestBase.h"
#include "MessageCapture.h"
#include "QtPrinters.h"
#include "ScopedAppFolder.h"
#include "ScratchApp.h"
#include "ScriptedPrompt.h"
#include "TestHarness/CMoreTests.h"
#include "TestHarness/CQuietTests.h"
#include "TestHarness/CTalmoTests.h"
#include "TestHarness/TestDialog.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>
#include <typeinfo>

namespace {

const QString kTalmoClose = QStringLiteral("Test Talmo : Close");

// Tells whether the application already holds a test object: one handed over after it is deleted at once.
class CProbe : public CTestBase
{
public:
    explicit CProbe(bool& deleted) : m_Deleted(deleted) {}
    ~CProbe() override { m_Deleted = true; }

private:
    bool& m_Deleted;
};

class CTestApplication : public COrvApplication
{
public:
    using COrvApplication::COrvApplication;
    using COrvApplication::SetTestObject;
};

// The diagnostic dialogs on screen.
QList<TestDialog*> OpenDialogs()
{
    QList<TestDialog*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<TestDialog*>(widget))
            dialogs.append(dialog);
    return dialogs;
}

class TestObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_App.MakeComplete();
        m_AppFolder = std::make_unique<ScopedAppFolder>(QFile::encodeName(m_App.Path()));
        QDir::setCurrent(m_App.Path());
    }
    void TearDown() override
    {
        if (m_Application) {
            m_Application->Shutdown();
            m_Application.reset();
        }
    }

    CTestApplication& Make(const QStringList& arguments)
    {
        m_Arguments.Set(arguments);
        m_Application = std::make_unique<CTestApplication>(m_Arguments.Count(), m_Arguments.Vector());
        m_Application->SetUserPrompt(&m_Prompt);
        return *m_Application;
    }

    CProcessStateKeeper m_Keeper;
    CScratchApp m_App;
    std::unique_ptr<ScopedAppFolder> m_AppFolder;
    CScriptedPrompt m_Prompt;
    CProgramArguments m_Arguments;
    std::unique_ptr<CTestApplication> m_Application;
};

TEST(TestObjectSelector, EachKeyCreatesItsObject)
{
    struct Case
    {
        const char* value;
        const std::type_info* type; // null: no object
    };
    const Case cases[] = {
        {"BRENNA", &typeid(CBrennaTests)},
        {"CORVIN", &typeid(CMoreTests)},
        {"ISOLDE", &typeid(CIsoldeTests)},
        {"TALMO", &typeid(CTalmoTests)},
        {"WEYLAND", &typeid(CWeylandTests)},
        // The command line upper-cases the value; the selector compares exactly.
        {"talmo", nullptr},
        {"", nullptr},
        {"TALMOS", nullptr},
        {"TALM", nullptr},
        {" TALMO", nullptr},
        {"NOBODY", nullptr},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CTestBase> object(CreateTestObject(QString::fromLatin1(c.value)));
        if (!c.type) {
            EXPECT_EQ(object, nullptr) << c.value;
            continue;
        }
        ASSERT_NE(object, nullptr) << c.value;
        EXPECT_EQ(typeid(*object), *c.type) << c.value;
        // Start does nothing and succeeds for every shipped object.
        EXPECT_TRUE(object->Start()) << c.value;
    }
}

// From the command line to the object the application holds: any case selects, an unknown or empty value
// selects nothing and leaves the choice to a later option, and the first selection stays.
TEST_F(TestObjectTest, UserOptionsSelectTheFirstKnownKeyInAnyCase)
{
    struct Case
    {
        QStringList arguments;
        bool held;
        bool talmo;
    };
    const Case cases[] = {
        {{QStringLiteral("/user=talmo")}, true, true},
        {{QStringLiteral("/USER=TaLmO")}, true, true},
        {{QStringLiteral("/user=brenna")}, true, false},
        {{QStringLiteral("/user=Corvin")}, true, false},
        {{QStringLiteral("/user=isolde")}, true, false},
        {{QStringLiteral("/user=WEYLAND")}, true, false},
        {{QStringLiteral("/user=")}, false, false},
        {{QStringLiteral("/user=nobody")}, false, false},
        {{QStringLiteral("/user=talmo x")}, false, false},
        {{QStringLiteral("/user=nobody"), QStringLiteral("/user=talmo")}, true, true},
        {{QStringLiteral("/user=brenna"), QStringLiteral("/user=talmo")}, true, false},
        {{QStringLiteral("/user=talmo"), QStringLiteral("/user=brenna")}, true, true},
        {{}, false, false},
    };
    for (const Case& c : cases) {
        const QString name = c.arguments.join(QLatin1Char(' '));
        CTestApplication& app = Make(c.arguments);
        app.ParseCommandLine();
        bool probeDeleted = false;
        app.SetTestObject(new CProbe(probeDeleted));
        EXPECT_EQ(probeDeleted, c.held) << name.toStdString();

        MessageCapture capture;
        app.Shutdown();
        EXPECT_EQ(capture.DebugLines().count(kTalmoClose), c.talmo ? 1 : 0) << name.toStdString();
        EXPECT_TRUE(probeDeleted) << name.toStdString();
        m_Application.reset();
    }
}

// A command-line run with every key: start, run and shut-down go through, the fourth key closes last
// thing before everything else is released and shows no window.
TEST_F(TestObjectTest, CommandLineRunCallsTheHooksAndShowsNothing)
{
    for (const char* key : {"brenna", "corvin", "isolde", "talmo", "weyland"}) {
        CTestApplication& app = Make({QStringLiteral("/user=") + QString::fromLatin1(key), QStringLiteral("*.none")});
        MessageCapture capture;
        ASSERT_EQ(app.Init(), 1) << key;
        EXPECT_EQ(capture.DebugLines().count(kTalmoClose), 0) << key;
        app.Run();
        EXPECT_TRUE(OpenDialogs().isEmpty()) << key;
        EXPECT_EQ(capture.DebugLines().count(kTalmoClose), 0) << key;
        app.Shutdown();
        EXPECT_EQ(capture.DebugLines().count(kTalmoClose), QLatin1String(key) == QLatin1String("talmo") ? 1 : 0) << key;
        EXPECT_EQ(m_Prompt.mDialogCount, 0) << key;
        m_Application.reset();
    }
}

// The fourth key's run shows the diagnostic dialog beside the main window: no parent, no child widgets,
// modeless; its close says so on the debug output and deletes the dialog. A command-line run shows none.
TEST_F(TestObjectTest, TalmoShowsItsDialogInWindowModeAndDeletesItAtClose)
{
    struct Case
    {
        QStringList arguments;
        bool dialog;
    };
    const Case cases[] = {
        {{}, true},
        {{QStringLiteral("*.none"), QStringLiteral("/ihm")}, true},
        {{QStringLiteral("*.none")}, false},
    };
    for (const Case& c : cases) {
        const std::string name = c.arguments.join(QLatin1Char(' ')).toStdString();
        CTestApplication& app = Make(c.arguments);
        app.ParseCommandLine();
        const std::unique_ptr<CTestBase> talmo(CreateTestObject(QStringLiteral("TALMO")));
        ASSERT_NE(talmo, nullptr);
        EXPECT_TRUE(talmo->Start());
        EXPECT_TRUE(OpenDialogs().isEmpty()) << name;
        EXPECT_TRUE(talmo->Run());

        const QList<TestDialog*> dialogs = OpenDialogs();
        QPointer<TestDialog> dialog = dialogs.value(0);
        if (c.dialog) {
            ASSERT_EQ(dialogs.size(), 1) << name;
            EXPECT_TRUE(dialog->isVisible()) << name;
            EXPECT_EQ(dialog->parentWidget(), nullptr) << name;
            EXPECT_FALSE(dialog->isModal()) << name;
            EXPECT_EQ(dialog->windowModality(), Qt::NonModal) << name;
            EXPECT_TRUE(dialog->findChildren<QWidget*>().isEmpty()) << name;
            // Left open, it does not keep the program alive once the main window has closed.
            EXPECT_FALSE(dialog->testAttribute(Qt::WA_QuitOnClose)) << name;
            EXPECT_EQ(m_Prompt.mDialogCount, 0) << name;
        } else {
            EXPECT_TRUE(dialogs.isEmpty()) << name;
        }

        MessageCapture capture;
        EXPECT_TRUE(talmo->Close());
        EXPECT_EQ(capture.DebugLines(), QStringList{kTalmoClose}) << name;
        EXPECT_TRUE(dialog.isNull()) << name;
        EXPECT_TRUE(OpenDialogs().isEmpty()) << name;
        m_Application.reset();
    }
}

// Deleted without its close (a start-up that failed before the run, say), the object still takes its dialog.
TEST_F(TestObjectTest, TalmoDeletedWithoutCloseTakesItsDialog)
{
    Make({});
    std::unique_ptr<CTestBase> talmo(CreateTestObject(QStringLiteral("TALMO")));
    ASSERT_NE(talmo, nullptr);
    talmo->Run();
    QPointer<TestDialog> dialog = OpenDialogs().value(0);
    ASSERT_FALSE(dialog.isNull());
    talmo.reset();
    EXPECT_TRUE(dialog.isNull());
}

TEST(MoreTests, FakeConverterNamesReplaceTheList)
{
    QStringList expected;
    for (int n = 0; n <= 10; ++n)
        expected.append(QStringLiteral("fakeConverter") + QString::number(n));
    for (const QStringList& before : {QStringList(), QStringList{QStringLiteral("Tunra"), QStringLiteral("x")}}) {
        CMoreTests tests;
        QStringList list = before;
        tests.SetListOfFakeName(list);
        EXPECT_EQ(list, expected);
        EXPECT_EQ(list.size(), 11);
    }
}

} // namespace
