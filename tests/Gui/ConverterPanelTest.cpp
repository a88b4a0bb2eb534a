// The converter panel on the media tab: its set in the view, saving and loading parameter files, and the
// switch to the converter that a loaded file belongs to.
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include "Xml/CXmlFile.h"
#include <QDir>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>

namespace {

QString PanelText(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CConverterPanel"), QString::fromLatin1(id));
}

// A parameter file of the test exporter with this description and level.
QByteArray ParameterFile(const char* description, int level)
{
    QByteArray info;
    if (description)
        info = QByteArray("<INFO><DESC CONTENT=\"") + description + "\"/></INFO>";
    return "<PARAMETERS>" + info
           + "<TSECTION><TYPE NAME=\"BOOL\"/><TYPE NAME=\"INT\"/><TYPE NAME=\"FLOAT\"/><TYPE NAME=\"TEXT\"/></TSECTION>"
             "<PSECTION><DATA NAME=\"Level\" TYPE=\"INT\" VALUE=\""
           + QByteArray::number(level)
           + "\" MIN=\"0\" MAX=\"9\"/></PSECTION>"
             "<ISECTION><INPUT REF=\"Level\" TYPE=\"EDITBOX\" CAPTION=\"Level\"/></ISECTION></PARAMETERS>";
}

class ConverterPanelTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        CConverterPanel::LoadFolder().clear();
        CConverterPanel::SaveFolder().clear();
        Window().LoadSettings(SettingsPath());
        Window().show();
        // The converters of the phone, as the source panel lists them.
        QStringList names;
        emit Window().GetConverterNameList(names);
        Combo()->clear();
        Combo()->addItems(names);
        m_Exporter = names.indexOf(QStringLiteral("Test exporter"));
        m_Other = m_Exporter == 0 ? 1 : 0;
        ASSERT_GE(m_Exporter, 0);
        ASSERT_GE(names.size(), 2);
        Combo()->setCurrentIndex(m_Exporter);
        Panel().UpdatePanel(m_Exporter);
        Tabs().mpMediaSelectorPanel->SetCurrentPath(m_Start);
    }
    void TearDown() override
    {
        CConverterPanel::LoadFolder().clear();
        CConverterPanel::SaveFolder().clear();
        GuiTest::TearDown();
    }
    CConverterPanel& Panel() { return *Tabs().mpConverterPanel; }
    QComboBox* Combo() { return Tabs().mpMediaSelectorPanel->GetConverterSelector(); }
    int ShownLevel()
    {
        const QList<Element*>& elements = Panel().GetParameterView()->GetElements();
        auto* spin = elements.isEmpty() ? nullptr : dynamic_cast<SpinEdit*>(elements.first());
        return spin ? spin->GetSpinBox()->value() : -1;
    }
    int SetLevel()
    {
        CParameters* set = nullptr;
        emit Window().GetConverterParameters(m_Exporter, &set);
        return set ? set->GetIntParameter(QStringLiteral("Level"))->mValue : -1;
    }

    int m_Exporter = -1;
    int m_Other = -1;
};

TEST_F(ConverterPanelTest, TheViewShowsTheConvertersSetAndButtonsFollowWhetherItHoldsParameters)
{
    const QString file = Write(QStringLiteral("Mine.xml"), ParameterFile("Test exporter", 4));
    m_GuiPrompt.mFileAnswer = file;
    Panel().Load();
    EXPECT_EQ(ShownLevel(), 4);
    CParameters* kept = nullptr;
    Panel().SetConverterParameters(&kept);
    EXPECT_EQ(kept, Panel().GetParameters());
    // A converter without a parameter file gives no set: the panel stays as it is.
    Panel().UpdatePanel(m_Other);
    EXPECT_EQ(ShownLevel(), 4);
    // A set without parameters empties the view and disables the buttons.
    Write(QStringLiteral("Empty.xml"), "<PARAMETERS><INFO><DESC CONTENT=\"Test exporter\"/></INFO><TSECTION/>"
                                       "<PSECTION/><ISECTION/></PARAMETERS>");
    m_GuiPrompt.mFileAnswer = In(QStringLiteral("Empty.xml"));
    Panel().Load();
    EXPECT_TRUE(Panel().GetParameterView()->GetElements().isEmpty());
    int buttons = 0;
    for (QPushButton* button : Panel().findChildren<QPushButton*>()) {
        for (const char* caption : {"id_load_default_caption", "id_save_caption", "id_load_caption"}) {
            if (button->text() == PanelText(caption)) {
                EXPECT_FALSE(button->isEnabled()) << caption;
                ++buttons;
            }
        }
    }
    EXPECT_EQ(buttons, 3);
}

TEST_F(ConverterPanelTest, TheButtonsStandInTwoRowsUnderTheForm)
{
    QCoreApplication::processEvents();
    const auto place = [this](QWidget* widget) { return QRect(widget->mapTo(&Panel(), QPoint(0, 0)), widget->size()); };
    const QRect form = place(Panel().findChild<QScrollArea*>(QStringLiteral("QScrollView")));
    const QRect loadDefault = place(Panel().GetLoadDefaultButton());
    const QRect save = place(Panel().GetSaveButton());
    const QRect load = place(Panel().GetLoadButton());
    // Load default alone in the first row, save and load side by side in the second, one column at the left.
    EXPECT_LE(form.bottom(), loadDefault.top());
    EXPECT_LT(loadDefault.bottom(), save.top());
    EXPECT_EQ(save.top(), load.top());
    EXPECT_LT(save.right(), load.left());
    EXPECT_EQ(loadDefault.left(), save.left());
    EXPECT_LE(loadDefault.left() - form.left(), 2);
    EXPECT_EQ(Panel().GetSaveButton()->parentWidget()->objectName(), QStringLiteral("ButtonHBox"));
    EXPECT_EQ(Panel().GetLoadButton()->parentWidget()->objectName(), QStringLiteral("ButtonHBox"));
}

TEST_F(ConverterPanelTest, SaveAppendsXmlOnlyWhenMissingAndAsksBeforeReplacingTheFinalName)
{
    ExpectParameterSaves(
        m_GuiPrompt, m_Start,
        {
            {"plain", "plain.xml", false, -1, true},
            {"Mixed.XmL.keep", "Mixed.XmL.keep", false, -1, true},
            {"old", "old.xml", true, 1, false},
            {"old2", "old2.xml", true, 0, true},
        },
        [this] { Panel().Save(); }, "CConverterPanel", "Level");
}

TEST_F(ConverterPanelTest, SaveAndLoadStartInTheSourceFolderThenInTheirOwnLastFolders)
{
    Write(QStringLiteral("sub/Mine.xml"), ParameterFile("Test exporter", 5));
    m_GuiPrompt.mFileAnswer = In(QStringLiteral("sub/Saved"));
    Panel().Save();
    m_GuiPrompt.mFileAnswer = QString();
    Panel().Load();
    Panel().Save();
    const QString filter = QStringLiteral("|XML (*.XML *.xml)");
    EXPECT_EQ(m_GuiPrompt.mFileQuestions,
              QStringList({QStringLiteral("save|") + m_Start + filter, QStringLiteral("open|") + m_Start + filter,
                           QStringLiteral("save|") + In(QStringLiteral("sub")) + filter}));
}

TEST_F(ConverterPanelTest, AFileOfTheChosenConverterLoadsAtOnce)
{
    const QString file = Write(QStringLiteral("Mine.xml"), ParameterFile("Test exporter", 6));
    QSignalSpy switched(&Panel(), &CConverterPanel::ParameterFileTypeChanged);
    m_GuiPrompt.mFileAnswer = file;
    Panel().Load();
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(switched.count(), 0);
    EXPECT_EQ(SetLevel(), 6);
    EXPECT_EQ(ShownLevel(), 6);
    // Default brings the declared values back.
    Panel().LoadDefault();
    EXPECT_EQ(SetLevel(), 3);
}

// A file the reader refuses: the box says why under its first line, naming the value and its key, and the log
// holds the line a command-line run writes for it.
TEST_F(ConverterPanelTest, ARefusedFileSaysWhyInTheBoxAndTheLog)
{
    const QString file = Write(QStringLiteral("Loud.xml"), ParameterFile("Test exporter", 99));
    CParameters reader;
    ASSERT_FALSE(reader.Load(file));
    const QString why = reader.GetLoadError();
    EXPECT_TRUE(why.contains(QStringLiteral("\"Level\"")) && why.contains(QStringLiteral("\"99\""))) << qPrintable(why);
    NewLog();
    m_GuiPrompt.mFileAnswer = file;
    Panel().Load();
    const QString lines = Text("id_param_loaded_failed").arg(file) + LF + QStringLiteral("Reason: %1.").arg(why);
    EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{Text("id_warning") + QLatin1Char('|') + lines});
    EXPECT_EQ(NewLog(), lines + LF);
    EXPECT_EQ(SetLevel(), 3);
}

struct SwitchCase
{
    const char* name;
    int answer; // to the switch question; -1: the prompt's default, as Escape gives
    bool loaded;
};

TEST_F(ConverterPanelTest, AFileOfAnotherConverterAsksBeforeSwitching)
{
    // "TEST converter settings" is cut to "test ", which the first listed converter holds.
    ASSERT_EQ(m_Exporter, 0);
    const QString file = Write(QStringLiteral("Mine.xml"), ParameterFile("TEST converter settings", 8));
    const SwitchCase cases[] = {{"yes", 0, true}, {"no", 1, false}, {"escape", -1, false}};
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Combo()->setCurrentIndex(m_Other);
        emit Window().LoadDefaultParamsAsked(m_Exporter);
        m_GuiPrompt.mQuestions.clear();
        m_GuiPrompt.mAnswers.clear();
        if (c.answer >= 0)
            m_GuiPrompt.mAnswers.append(c.answer);
        QSignalSpy switched(&Panel(), &CConverterPanel::ParameterFileTypeChanged);
        m_GuiPrompt.mFileAnswer = file;
        Panel().Load();
        ASSERT_EQ(m_GuiPrompt.mQuestions.size(), 1);
        EXPECT_EQ(m_GuiPrompt.mQuestions.first(), PanelText("id_warning_title") + QLatin1Char('|')
                                                      + PanelText("id_warning_text") + QLatin1Char('|')
                                                      + PanelText("id_yes_caption") + QLatin1Char('/')
                                                      + PanelText("id_no_caption") + QStringLiteral("|1|1"));
        EXPECT_EQ(switched.count(), c.loaded ? 1 : 0);
        EXPECT_EQ(Combo()->currentIndex(), c.loaded ? m_Exporter : m_Other);
        EXPECT_EQ(SetLevel(), c.loaded ? 8 : 3);
        if (c.loaded) {
            EXPECT_EQ(ShownLevel(), 8);
        }
    }
}

TEST_F(ConverterPanelTest, AFileThatNamesNoConverterIsReportedAndChangesNothing)
{
    const struct
    {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"empty key", ParameterFile("", 7)},
        {"key cut to nothing", ParameterFile("converter parameters", 7)},
        {"unknown converter", ParameterFile("Nobody converter", 7)},
        {"whole text not a name", ParameterFile("Test exporter parameters", 7)},
        {"no description", ParameterFile(nullptr, 7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = Write(QStringLiteral("Foreign.xml"), c.content);
        m_GuiPrompt.mShown.clear();
        m_GuiPrompt.mFileAnswer = file;
        CParameters* before = Panel().GetParameters();
        Panel().Load();
        EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{PanelText("id_warning_title") + QLatin1Char('|')
                                                      + PanelText("id_param_not_recognised").arg(file)});
        EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
        EXPECT_EQ(Combo()->currentIndex(), m_Exporter);
        EXPECT_EQ(Panel().GetParameters(), before);
        EXPECT_EQ(SetLevel(), 3);
    }
}

// A file that is no XML or cannot be read at all is refused as any parameter file is: the first line says whether
// it could be read, the next why, in a sentence; the log has the command line's line for it.
TEST_F(ConverterPanelTest, AFileThatIsNoXmlOrCannotBeReadSaysSoInTheBoxAndTheLog)
{
    QDir().mkpath(In(QStringLiteral("Folder.xml")));
    const struct
    {
        const char* name;
        QString file;
        const char *firstLine, *reasonLine;
    } cases[] = {
        {"not XML", Write(QStringLiteral("Foreign.xml"), "Level=7"), "id_param_loaded_failed",
         "Reason: it is not a well-formed XML file."},
        {"missing", In(QStringLiteral("Gone.xml")), "id_param_read_failed", "Reason: No such file or directory."},
        {"folder", In(QStringLiteral("Folder.xml")), "id_param_read_failed", "Reason: it is a folder."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_GuiPrompt.mShown.clear();
        m_GuiPrompt.mFileAnswer = c.file;
        NewLog();
        CParameters* before = Panel().GetParameters();
        Panel().Load();
        const QString lines = Text(c.firstLine).arg(c.file) + LF + QString::fromLatin1(c.reasonLine);
        EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{Text("id_warning") + QLatin1Char('|') + lines});
        EXPECT_EQ(NewLog(), lines + LF);
        EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
        EXPECT_EQ(Combo()->currentIndex(), m_Exporter);
        EXPECT_EQ(Panel().GetParameters(), before);
        EXPECT_EQ(SetLevel(), 3);
    }
}

} // namespace
