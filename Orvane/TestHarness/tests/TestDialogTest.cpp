// The diagnostic dialog: an empty window whose parameter test asks for a file through the program's prompt.
#include "TestHarness/TestDialog.h"
#include "Gui/Parameters/CParameterView.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include "ScriptedPrompt.h"
#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kFilter = QStringLiteral("XML (*.XML *.xml)");

class TestDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Arguments.Set({});
        m_Application = std::make_unique<QApplication>(m_Arguments.Count(), m_Arguments.Vector());
        QDir::setCurrent(m_App.Path());
        m_App.Write(QStringLiteral("Broken.xml"), "<PARAMETERS><TSECTION><TYPE NAME=\"INT\"/></TSECTION>\n<PSECTION>");
        m_App.Write(QStringLiteral("Undeclared.xml"),
                    "<PARAMETERS><TSECTION/><PSECTION><DATA NAME=\"A\" TYPE=\"NOTYPE\" VALUE=\"1\"/></PSECTION>"
                    "<ISECTION/></PARAMETERS>");
        m_App.Write(QStringLiteral("Small.xml"), ValidParameterFile());
    }

    CProcessStateKeeper m_Keeper;
    CScratchApp m_App;
    CProgramArguments m_Arguments;
    std::unique_ptr<QApplication> m_Application;
    CScriptedPrompt m_Prompt;
};

// Three slots and no signal of its own; the two plain slots change nothing.
TEST_F(TestDialogTest, SlotsOnlyAndTheTwoPlainOnesDoNothing)
{
    TestDialog dialog(m_Prompt);
    const QMetaObject* meta = dialog.metaObject();
    EXPECT_EQ(meta->methodCount() - meta->methodOffset(), 3);
    for (const char* slot : {"Test()", "TestParameters()", "Changed()"})
        EXPECT_GE(meta->indexOfSlot(slot), meta->methodOffset()) << slot;
    dialog.Test();
    dialog.Changed();
    EXPECT_TRUE(dialog.findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(m_Prompt.mDialogCount, 0);
    EXPECT_TRUE(m_Prompt.mFileQuestions.isEmpty());
}

// The chosen file is loaded into a set of its own; a cancelled question, a missing file and a file that
// does not load give nothing, and nothing modal opens.
TEST_F(TestDialogTest, ChosenParameterFileLoadsOrGivesNothing)
{
    const QString shipped = QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/IMYParameters.xml");
    struct Case
    {
        const char* name;
        QString answer;
        const char* parameter; // a parameter the loaded set holds; null: nothing loads
        int value;
    };
    const Case cases[] = {
        {"shipped parameter file", shipped, "Tempo", 120},
        {"small file", m_App.FilePath(QStringLiteral("Small.xml")), "Level", 3},
        {"relative name", QStringLiteral("Small.xml"), "Level", 3},
        {"cancelled", QString(), nullptr, 0},
        {"missing file", m_App.FilePath(QStringLiteral("Gone.xml")), nullptr, 0},
        {"broken file", m_App.FilePath(QStringLiteral("Broken.xml")), nullptr, 0},
        {"undeclared type", m_App.FilePath(QStringLiteral("Undeclared.xml")), nullptr, 0},
        {"a folder", m_App.Path(), nullptr, 0},
    };
    for (const Case& c : cases) {
        TestDialog dialog(m_Prompt);
        m_Prompt.mFileQuestions.clear();
        m_Prompt.mFiles = QStringList{c.answer};
        const std::unique_ptr<CParameters> parameters = dialog.LoadChosenParameters();
        EXPECT_EQ(m_Prompt.mFileQuestions, QStringList{QDir::currentPath() + QLatin1Char('|') + kFilter}) << c.name;
        EXPECT_EQ(m_Prompt.mDialogCount, 0) << c.name;
        if (!c.parameter) {
            EXPECT_EQ(parameters, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(parameters, nullptr) << c.name;
        CIntParameter* parameter = parameters->GetIntParameter(QString::fromLatin1(c.parameter));
        ASSERT_NE(parameter, nullptr) << c.name;
        EXPECT_EQ(parameter->mValue, c.value) << c.name;
    }
}

// A set that loads is shown modally in a parameter view built from it; the view lets go of the set before
// the slot returns, and the dialog leaves no window behind.
class ViewingPrompt : public CScriptedPrompt
{
public:
    int Exec(QDialog& dialog) override
    {
        CParameterView* view = dialog.findChild<CParameterView*>();
        mElementCounts.append(view ? static_cast<int>(view->GetElements().size()) : -1);
        if (view && !view->GetElements().isEmpty())
            view->GetElements().first()->Reset();
        return CScriptedPrompt::Exec(dialog);
    }
    QList<int> mElementCounts;
};

TEST_F(TestDialogTest, TestParametersShowsTheSetInAParameterViewAndClearsItBeforeTheSetGoes)
{
    ViewingPrompt prompt;
    TestDialog dialog(prompt);
    prompt.mFiles = QStringList{QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/IMYParameters.xml"),
                                m_App.FilePath(QStringLiteral("Broken.xml"))};
    dialog.TestParameters();
    dialog.TestParameters();
    ASSERT_EQ(prompt.mElementCounts.size(), 1);
    EXPECT_GT(prompt.mElementCounts.first(), 3);
    EXPECT_TRUE(dialog.findChildren<QWidget*>().isEmpty());
}

// The slot asks once per call and takes the answers in turn, whatever they give.
TEST_F(TestDialogTest, TestParametersAsksOncePerCall)
{
    TestDialog dialog(m_Prompt);
    m_Prompt.mFiles = QStringList{m_App.FilePath(QStringLiteral("Small.xml")), QString(),
                                  m_App.FilePath(QStringLiteral("Broken.xml"))};
    for (int call = 1; call <= 4; ++call) {
        dialog.TestParameters();
        EXPECT_EQ(m_Prompt.mFileQuestions.size(), call);
    }
    EXPECT_TRUE(m_Prompt.mFiles.isEmpty());
    EXPECT_EQ(m_Prompt.mDialogCount, 1); // only the small file loads
    EXPECT_TRUE(dialog.findChildren<QWidget*>().isEmpty());
}

} // namespace
