// The SMS tab on the built application folder with the shipped translators: the source panel's listing,
// translator choice and saved media results, the builder panel's parameter files, and Generate against the
// command line.
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Host/CLocalFileInfo.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include "Text/CLanguageResources.h"
#include <QDir>
#include <QEnterEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QString BuilderText(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CSmsBuilderPanel"), QString::fromLatin1(id));
}

class SmsPanelTest : public AppFolderWindowTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // The shipped plug-ins, profiles and parameter files, read only.
        StartWindow(ORV_APP_DIR);
        m_Window->LoadSettings(In(QStringLiteral("none.xml")));
        QDir().mkpath(In(QStringLiteral("cards")));
        Source().SetCurrentFolder(In(QStringLiteral("cards")));
    }
    CSmsSelectorPanel& Source() { return *Tabs().mpSmsSelectorPanel; }
    CSmsBuilderPanel& Builder() { return *Tabs().mpSmsBuilderPanel; }
    QComboBox* Combo() { return Source().GetConverterSelector(); }
    // Shows the window on the SMS tab with this profile.
    void ShowSms(const char* profile)
    {
        m_Window->show();
        Tabs().ShowPage(COrvTabview::SMS_TAB);
        QStringList profiles;
        emit m_Window->GetProfileNameList(profiles);
        const int index = int(profiles.indexOf(QString::fromLatin1(profile)));
        ASSERT_GE(index, 0) << profile;
        m_Window->SetCurrentProfile(index);
        m_Ems = TranslatorStarting("EMS");
        m_Tdd = TranslatorStarting("TDD");
    }
    int TranslatorStarting(const char* start)
    {
        for (int i = 0; i < Combo()->count(); ++i)
            if (Combo()->itemText(i).startsWith(QLatin1String(start), Qt::CaseInsensitive))
                return i;
        return -1;
    }
    void Choose(int translator)
    {
        Combo()->setCurrentIndex(translator);
        emit Combo()->activated(translator);
    }
    QStringList Listed()
    {
        QStringList names;
        CFileSelectorControl* list = Source().GetFileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names.append(static_cast<CFileListItem*>(list->topLevelItem(i))->GetInfo()->GetFileName());
        names.sort();
        return names;
    }
    QStringList ImportExtensions(int translator)
    {
        QStringList extensions;
        emit m_Window->GetTraductorImportExtensionList(extensions, translator);
        return extensions;
    }
    QString ParameterFile(const QString& name, const QByteArray& content)
    {
        return Write(name, "<PARAMETERS><INFO><DESC CONTENT=\"" + content
                               + "\"/></INFO><TSECTION/><PSECTION/><ISECTION/></PARAMETERS>");
    }

    int m_Ems = -1;
    int m_Tdd = -1;
};

TEST_F(SmsPanelTest, OnlyFoldersAndTheFilesTheTranslatorTakesAreListedInAnyLetterCase)
{
    for (const char* name : {"a.ecd", "B.ECD", "c.Ecd", "d.txt", "e.ecd.bak", "sub/f.ecd"})
        Write(QStringLiteral("cards/") + QString::fromLatin1(name), "x");
    ShowSms("Model B");
    ASSERT_GE(m_Ems, 0);
    ASSERT_GE(m_Tdd, 0);
    for (int translator : {m_Ems, m_Tdd}) {
        SCOPED_TRACE(translator);
        Choose(translator);
        const QStringList extensions = ImportExtensions(translator);
        ASSERT_TRUE(extensions.contains(QStringLiteral("ecd"), Qt::CaseInsensitive));
        EXPECT_FALSE(extensions.contains(QStringLiteral("txt"), Qt::CaseInsensitive));
        QString filter;
        for (const QString& e : extensions)
            filter += QStringLiteral("*.%1;*.%2;;").arg(e.toUpper(), e.toLower());
        EXPECT_EQ(Source().BuildImportFilter(), filter);
        EXPECT_EQ(Listed(), (QStringList{QStringLiteral("B.ECD"), QStringLiteral("a.ecd"), QStringLiteral("c.Ecd"),
                                         QStringLiteral("sub")}));
    }
    // EMS also takes its own pictures and melodies.
    Write(QStringLiteral("cards/g.EMP"), "x");
    Choose(m_Ems);
    EXPECT_TRUE(Listed().contains(QStringLiteral("g.EMP")));

    // The open dialog gets one entry per extension; the chosen file is announced as if clicked.
    m_GuiPrompt.mFileAnswer = In(QStringLiteral("cards/sub/f.ecd"));
    Source().OpenSmsDialog();
    ASSERT_EQ(m_GuiPrompt.mFileQuestions.size(), 1);
    EXPECT_TRUE(m_GuiPrompt.mFileQuestions.first().startsWith(QStringLiteral("open||ECD (*.ECD *.ecd);;")))
        << m_GuiPrompt.mFileQuestions.first().toStdString();
    EXPECT_EQ(Source().GetCurrentFolder(), In(QStringLiteral("cards/sub")));
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("f.ecd"));
    EXPECT_EQ(Listed(), QStringList{QStringLiteral("f.ecd")});
}

TEST_F(SmsPanelTest, ADeletedChosenFileIsLetGoOnTheNextMouseEntry)
{
    Write(QStringLiteral("cards/a.ecd"), "x");
    Write(QStringLiteral("cards/b.ecd"), "x");
    ShowSms("Model B");
    Choose(m_Ems);
    CFileSelectorControl* list = Source().GetFileList();
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QStringLiteral("a.ecd")) {
            list->setCurrentItem(list->topLevelItem(i));
            Source().Clicked(list->topLevelItem(i));
        }
    ASSERT_EQ(Source().GetCurrentFileName(), QStringLiteral("a.ecd"));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    // A new file keeps the choice.
    Write(QStringLiteral("cards/c.ecd"), "x");
    QCoreApplication::sendEvent(&Source(), &enter);
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("a.ecd"));
    EXPECT_EQ(Listed().size(), 3);
    QFile::remove(In(QStringLiteral("cards/a.ecd")));
    QCoreApplication::sendEvent(&Source(), &enter);
    EXPECT_TRUE(Source().GetCurrentFileName().isEmpty());
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("b.ecd"), QStringLiteral("c.ecd")}));
}

TEST_F(SmsPanelTest, APhoneWithoutTheChosenTranslatorFallsBackToTheFirstAndWarnsOnlyWhenAsked)
{
    for (const B32 warnings : {1, 0}) {
        SCOPED_TRACE(warnings);
        ShowSms("Model B");
        Choose(m_Tdd);
        const QString tdd = Combo()->currentText();
        emit m_Window->Warnings(warnings);
        m_GuiPrompt.mShown.clear();
        ShowSms("Model A");
        EXPECT_EQ(Combo()->findText(tdd), -1);
        EXPECT_EQ(Combo()->currentIndex(), 0);
        ASSERT_EQ(m_GuiPrompt.mShown.size(), warnings ? 1u : 0u);
        if (warnings) {
            EXPECT_EQ(m_GuiPrompt.mShown[0].title,
                      CLanguageResources::GetMessage(QStringLiteral("CSmsSelectorPanel"),
                                                     QStringLiteral("id_profile_warning_title")));
        }
        // A translator the new phone keeps stays chosen without a word.
        Choose(m_Ems);
        m_GuiPrompt.mShown.clear();
        const QString ems = Combo()->currentText();
        ShowSms("Model B");
        EXPECT_EQ(Combo()->currentText(), ems);
        EXPECT_TRUE(m_GuiPrompt.mShown.empty());
    }
}

TEST_F(SmsPanelTest, AFileIsAnnouncedAndAFolderOrAnotherTranslatorClearsTheChoice)
{
    Write(QStringLiteral("cards/a.ecd"), "x");
    Write(QStringLiteral("cards/sub/b.ecd"), "x");
    ShowSms("Model B");
    QPushButton* generate = Tabs().mpSmsDestinationPanel->GetGenerateButton();
    EXPECT_FALSE(generate->isEnabled()); // nothing chosen yet
    QStringList files;
    QObject::connect(&Source(), &CSmsSelectorPanel::CurrentFileChanged, &Source(),
                     [&files](QString& name) { files.append(name); });
    QSignalSpy types(&Source(), &CSmsSelectorPanel::CurrentFileTypeChanged);
    Choose(m_Ems);
    const CLocalFileInfo card(In(QStringLiteral("cards/a.ecd")));
    Source().UpdatePanel(&card);
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("a.ecd"));
    EXPECT_EQ(Source().GetFileIndicator()->text(), QStringLiteral("a.ecd"));
    ASSERT_FALSE(files.isEmpty());
    EXPECT_EQ(files.last(), QStringLiteral("a.ecd"));
    EXPECT_EQ(types.last().at(0).toInt(), m_Ems);
    EXPECT_TRUE(Tabs().mpSmsDestinationPanel->GetDestFileIndicator()->text().startsWith(QStringLiteral("a.")));
    EXPECT_TRUE(generate->isEnabled());

    const CLocalFileInfo folder(In(QStringLiteral("cards/sub")));
    Source().UpdatePanel(&folder);
    EXPECT_FALSE(generate->isEnabled());
    EXPECT_EQ(Source().GetCurrentFolder(), In(QStringLiteral("cards/sub")));
    EXPECT_EQ(QDir::currentPath(), In(QStringLiteral("cards/sub")));
    EXPECT_TRUE(Source().GetFileIndicator()->text().isEmpty());
    EXPECT_EQ(files.last(), QString());
    EXPECT_EQ(Listed(), QStringList{QStringLiteral("b.ecd")});

    const CLocalFileInfo other(In(QStringLiteral("cards/sub/b.ecd")));
    Source().UpdatePanel(&other);
    Choose(m_Tdd);
    EXPECT_TRUE(Source().GetCurrentFileName().isEmpty());
    EXPECT_EQ(files.last(), QString());
    EXPECT_EQ(types.last().at(0).toInt(), m_Tdd);
}

TEST_F(SmsPanelTest, AResultSavedBeforeTheFirstShowListsEveryTranslatorOnceAndKeepsItsOwnName)
{
    // The profile list is refilled before the tab is ever shown: nothing happens yet.
    Source().UpdateConverterList();
    EXPECT_EQ(Combo()->count(), 0);
    Write(QStringLiteral("results/b.x.imy"), "x");
    QStringList names;
    emit m_Window->GetTraductorNameList(names);
    ASSERT_GE(names.size(), 1);
    QString saved = In(QStringLiteral("results/b.x.imy"));
    emit Tabs().mpMediaDestinationPanel->ResultFileSaved(saved);
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("b.x.imy"));
    EXPECT_EQ(Source().GetCurrentFolder(), In(QStringLiteral("results")));
    const QString taker = Combo()->currentText();
    EXPECT_TRUE(ImportExtensions(Combo()->currentIndex()).contains(QStringLiteral("imy"), Qt::CaseInsensitive));

    m_Window->show();
    Tabs().ShowPage(COrvTabview::SMS_TAB);
    QStringList listed;
    for (int i = 0; i < Combo()->count(); ++i)
        listed.append(Combo()->itemText(i));
    EXPECT_EQ(listed, names);
    EXPECT_EQ(Combo()->currentText(), taker);
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("b.x.imy"));
    EXPECT_EQ(Listed(), QStringList{QStringLiteral("b.x.imy")});

    // Saved again once shown: still one entry per translator.
    emit Tabs().mpMediaDestinationPanel->ResultFileSaved(saved);
    EXPECT_EQ(Combo()->count(), names.size());
}

TEST_F(SmsPanelTest, ASavedResultNoTranslatorTakesKeepsTheTranslatorAndOneWithoutExtensionIsIgnored)
{
    ShowSms("Model B");
    Choose(m_Tdd);
    Write(QStringLiteral("results/b.x.ems"), "x");
    Write(QStringLiteral("results/card.ecd"), "x");
    QString saved = In(QStringLiteral("results/b.x.ems"));
    Source().MediaConversionSaved(saved);
    EXPECT_EQ(Combo()->currentIndex(), m_Tdd);
    // The saved file's own name, never "b.ems", which does not exist.
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("b.x.ems"));
    EXPECT_EQ(Source().GetFileIndicator()->text(), QStringLiteral("b.x.ems"));
    EXPECT_EQ(Source().GetCurrentFolder(), In(QStringLiteral("results")));
    EXPECT_EQ(Listed(), QStringList{QStringLiteral("card.ecd")});

    QString bare = In(QStringLiteral("results/noext"));
    Source().MediaConversionSaved(bare);
    EXPECT_EQ(Source().GetCurrentFileName(), QStringLiteral("b.x.ems"));
}

TEST_F(SmsPanelTest, TheBuilderShowsTheTranslatorsSetAndDisablesItsButtonsWithoutOne)
{
    ShowSms("Model B");
    Choose(m_Ems);
    const QList<QPushButton*> buttons = {Builder().GetLoadDefaultButton(), Builder().GetSaveButton(),
                                         Builder().GetLoadButton()};
    ASSERT_NE(Builder().GetParameters(), nullptr);
    EXPECT_FALSE(Builder().GetParameterView()->GetElements().isEmpty());
    for (QPushButton* button : buttons)
        EXPECT_TRUE(button->isEnabled());
    CParameters* handed = nullptr;
    Builder().SetTranslatorParameters(&handed);
    EXPECT_EQ(handed, Builder().GetParameters());
    // No such translator: no set, an empty view, nothing to press.
    Builder().UpdatePanel(Combo()->count());
    EXPECT_EQ(Builder().GetParameters(), nullptr);
    EXPECT_TRUE(Builder().GetParameterView()->GetElements().isEmpty());
    for (QPushButton* button : buttons)
        EXPECT_FALSE(button->isEnabled());

    QSignalSpy defaults(&Builder(), &CSmsBuilderPanel::LoadDefaultTraductorParamsAsked);
    Builder().LoadDefault();
    ASSERT_EQ(defaults.count(), 1);
    EXPECT_EQ(defaults.first().at(0).toInt(), m_Ems);
    EXPECT_NE(Builder().GetParameters(), nullptr);
}

TEST_F(SmsPanelTest, SaveAppendsXmlOnlyWhenMissingAndAsksBeforeReplacingTheFinalName)
{
    ShowSms("Model B");
    Choose(m_Ems);
    ExpectParameterSaves(
        m_GuiPrompt, m_Start,
        {
            {"params", "params.xml", false, -1, true},
            {"p.XML", "p.XML", false, -1, true},
            {"old", "old.xml", true, 1, false},
            {"old2", "old2.xml", true, 0, true},
        },
        [this] { Builder().Save(); }, "CSmsBuilderPanel", "EMS SMS translator");
    EXPECT_TRUE(m_GuiPrompt.mFileQuestions.first().startsWith(QStringLiteral("save|") + In(QStringLiteral("cards"))))
        << m_GuiPrompt.mFileQuestions.first().toStdString();
    EXPECT_TRUE(m_GuiPrompt.mFileQuestions.first().endsWith(QStringLiteral("|XML (*.XML *.xml)")));
}

struct SwitchCase
{
    const char* name;
    int answer; // to the switch question; -1: none, the prompt's default, as Escape or closing gives
    bool switched;
};

TEST_F(SmsPanelTest, AFileOfAnotherTranslatorAsksBeforeSwitchingAndClosingTheQuestionAnswersNo)
{
    ShowSms("Model B");
    // Any case of the first three letters names the translator.
    const QString file = ParameterFile(QStringLiteral("Tdd.xml"), "Tdd parameters");
    const SwitchCase cases[] = {{"yes", 0, true}, {"no", 1, false}, {"escape", -1, false}};
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Choose(m_Ems);
        QSignalSpy loads(&Builder(), &CSmsBuilderPanel::LoadTraductorParamsAsked);
        QSignalSpy switches(&Builder(), &CSmsBuilderPanel::ParameterFileTypeChanged);
        QSignalSpy types(&Source(), &CSmsSelectorPanel::CurrentFileTypeChanged);
        m_GuiPrompt.mQuestions.clear();
        m_GuiPrompt.mAnswers.clear();
        if (c.answer >= 0)
            m_GuiPrompt.mAnswers.append(c.answer);
        m_GuiPrompt.mFileAnswer = file;
        Builder().Load();
        ASSERT_EQ(m_GuiPrompt.mQuestions.size(), 1);
        EXPECT_EQ(m_GuiPrompt.mQuestions.first(), BuilderText("id_warning_title") + QLatin1Char('|')
                                                      + BuilderText("id_warning_text") + QLatin1Char('|')
                                                      + BuilderText("id_yes_caption") + QLatin1Char('/')
                                                      + BuilderText("id_no_caption") + QStringLiteral("|1|1"));
        EXPECT_EQ(Combo()->currentIndex(), c.switched ? m_Tdd : m_Ems);
        EXPECT_EQ(switches.count(), c.switched ? 1 : 0);
        // The source panel relays the switch to the tab.
        EXPECT_EQ(types.count(), c.switched ? 1 : 0);
        ASSERT_EQ(loads.count(), c.switched ? 1 : 0);
        if (c.switched) {
            EXPECT_EQ(loads.first().at(0).toInt(), m_Tdd);
            EXPECT_EQ(loads.first().at(1).toString(), file);
        }
    }
    // A file of the chosen translator loads without a question.
    Choose(m_Tdd);
    m_GuiPrompt.mQuestions.clear();
    QSignalSpy loads(&Builder(), &CSmsBuilderPanel::LoadTraductorParamsAsked);
    Builder().Load();
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(loads.count(), 1);
    EXPECT_TRUE(m_GuiPrompt.mShown.empty());
}

TEST_F(SmsPanelTest, AFileOfNoListedTranslatorIsRefusedWithAWarning)
{
    ShowSms("Model B");
    Choose(m_Ems);
    struct Refused
    {
        const char* name;
        QByteArray content;
    };
    const Refused cases[] = {
        {"noinfo.xml", "<PARAMETERS><TSECTION/></PARAMETERS>"},
        {"nodesc.xml", "<PARAMETERS><INFO/></PARAMETERS>"},
        // Inside the extension EMS_SMS, yet the beginning of no translator's name.
        {"inside.xml", "<PARAMETERS><INFO><DESC CONTENT=\"MS_ settings\"/></INFO></PARAMETERS>"},
        {"empty.xml", "<PARAMETERS><INFO><DESC CONTENT=\"\"/></INFO></PARAMETERS>"},
        {"melody.xml", "<PARAMETERS><INFO><DESC CONTENT=\"iMelody converter parameters\"/></INFO></PARAMETERS>"},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = Write(QString::fromLatin1(c.name), c.content);
        m_GuiPrompt.mShown.clear();
        QSignalSpy loads(&Builder(), &CSmsBuilderPanel::LoadTraductorParamsAsked);
        m_GuiPrompt.mFileAnswer = file;
        Builder().Load();
        EXPECT_EQ(loads.count(), 0);
        EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
        EXPECT_EQ(Combo()->currentIndex(), m_Ems);
        ASSERT_EQ(m_GuiPrompt.mShown.size(), 1u);
        EXPECT_EQ(m_GuiPrompt.mShown[0].kind, int(CUserPrompt::WARNING));
        EXPECT_EQ(m_GuiPrompt.mShown[0].text, BuilderText("id_param_not_recognised").arg(file));
    }

    // A file that is no XML goes to the application, which refuses it as any parameter file: the reason in a
    // sentence under the first line, and the same lines in the log, as the command line has them.
    const QString notXml = Write(QStringLiteral("notxml.xml"), "no markup at all");
    m_GuiPrompt.mShown.clear();
    NewLog();
    m_GuiPrompt.mFileAnswer = notXml;
    Builder().Load();
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(Combo()->currentIndex(), m_Ems);
    const QString lines =
        Text("id_param_loaded_failed").arg(notXml) + QStringLiteral("\nReason: it is not a well-formed XML file.");
    EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{Text("id_warning") + QLatin1Char('|') + lines});
    EXPECT_EQ(NewLog(), lines + LF);
}

TEST_F(SmsPanelTest, EveryTextOfThePanelsIsInTheLanguageFile)
{
    const std::pair<const char*, std::vector<const char*>> classes[] = {
        {"CSmsSelectorPanel",
         {"id_source_sms_panel", "id_tool_tip_folder_selection", "id_tool_tip_file_selection",
          "id_tool_tip_selected_file_edit", "id_tool_tip_traductor_selection", "id_profile_warning_title",
          "id_profile_warning_text"}},
        {"CSmsBuilderPanel",
         {"id_options_group_panel", "id_load_default_caption", "id_save_caption", "id_load_caption",
          "id_tool_tip_translator_parameters_load_default_button", "id_tool_tip_translator_parameters_save_button",
          "id_tool_tip_translator_parameters_load_button", "id_warning_title", "id_warning_text", "id_yes_caption",
          "id_no_caption", "id_overwrite_text", "id_param_not_recognised"}},
    };
    for (const auto& [className, ids] : classes)
        for (const char* id : ids)
            EXPECT_FALSE(
                CLanguageResources::GetMessage(QString::fromLatin1(className), QString::fromLatin1(id)).isEmpty())
                << className << " " << id;
    EXPECT_EQ(Builder().title(), BuilderText("id_options_group_panel"));
}

TEST_F(SmsPanelTest, TheTypedDestinationNamesTheMessagesFiles)
{
    CFileIndicatorControl* name = Tabs().mpSmsDestinationPanel->GetDestFileIndicator();
    // Open to typing from the start, before any source is chosen.
    EXPECT_FALSE(name->isReadOnly());
    for (const char* item : {"greeting.ecd", "chime.imy"})
        Write(QStringLiteral("cards/") + QLatin1String(item),
              ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/") + QLatin1String(item)));
    const QString out = In(QStringLiteral("typed"));
    QDir().mkpath(out);
    ShowSms("Model A");
    ASSERT_GE(m_Ems, 0);
    Choose(m_Ems);
    Tabs().mpSmsDestinationPanel->SetOutputFolder(out);
    const CLocalFileInfo card(In(QStringLiteral("cards/greeting.ecd")));
    Source().UpdatePanel(&card);
    EXPECT_FALSE(name->isReadOnly());
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("hello"));
    ASSERT_EQ(name->text(), QStringLiteral("hello"));
    Tabs().mpSmsDestinationPanel->GenerateButtonClicked();
    EXPECT_EQ(FilesIn(out), (QStringList{QStringLiteral("hello_0.EMS_SMS"), QStringLiteral("hello_1.EMS_SMS")}));
}

struct GenerateCase
{
    const char* card;
    const char* profile;
    const char* translator; // the first letters of its name
    const char* option;     // the command line's converter
    const char* output;     // the messages' files, numbered from the source's name
};

TEST_F(SmsPanelTest, GenerateWritesTheNamesAndBytesTheCommandLineWrites)
{
    // The e-cards find their items beside them.
    for (const QString& name : QDir(QStringLiteral(ORV_SOURCE_DIR "/examples")).entryList(QDir::Files))
        Write(QStringLiteral("cards/") + name, ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/") + name));
    const GenerateCase cases[] = {
        {"greeting.ecd", "Model A", "EMS", "/converter=ems_sms", "greeting_0.EMS_SMS greeting_1.EMS_SMS"},
        {"postcard.ecd", "Model B", "TDD", "/converter=tdd_sms", "postcard_0.TDD_SMS postcard_1.TDD_SMS"}};
    m_Window->show();
    for (const GenerateCase& c : cases) {
        SCOPED_TRACE(c.card);
        const QString gui = In(QStringLiteral("gui-") + QString::fromLatin1(c.card));
        const QString cli = In(QStringLiteral("cli-") + QString::fromLatin1(c.card));
        QDir().mkpath(gui);
        QDir().mkpath(cli);
        ShowSms(c.profile);
        const int translator = TranslatorStarting(c.translator);
        ASSERT_GE(translator, 0);
        Choose(translator);
        Tabs().mpSmsDestinationPanel->SetOutputFolder(gui);
        const QString card = In(QStringLiteral("cards/") + QString::fromLatin1(c.card));
        const CLocalFileInfo file(card);
        Source().UpdatePanel(&file);
        m_Window->SmsGenerate();
        const QStringList guiFiles = FilesIn(gui);
        EXPECT_EQ(guiFiles, QString::fromLatin1(c.output).split(QLatin1Char(' ')));

        const CProgramRun run = RunProgram(QStringLiteral(ORV_PROGRAM_FILE),
                                           {card, QStringLiteral("/profile=") + QString::fromLatin1(c.profile),
                                            QString::fromLatin1(c.option), QStringLiteral("/destination=") + cli},
                                           m_Start, QStringLiteral(ORV_APP_DIR), QStringLiteral("offscreen"));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(FilesIn(cli), guiFiles);
        for (const QString& name : guiFiles) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(ReadAll(cli + QLatin1Char('/') + name), ReadAll(gui + QLatin1Char('/') + name));
        }
    }
}

// An e-card of random bytes: the box names the file on its first line and gives the translator's words as the
// reason, and the run log has the same lines.
TEST_F(SmsPanelTest, AnEcardItsReaderRefusesIsNamedWithTheReadersWords)
{
    QByteArray noise(600, '\0');
    uint32_t seed = 5;
    for (char& byte : noise) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 24);
    }
    const QString card = Write(QStringLiteral("cards/noise.ecd"), noise);
    QDir().mkpath(In(QStringLiteral("gui")));
    ShowSms("Model A");
    Choose(TranslatorStarting("EMS"));
    Tabs().mpSmsDestinationPanel->SetOutputFolder(In(QStringLiteral("gui")));
    const CLocalFileInfo file(card);
    Source().UpdatePanel(&file);
    m_GuiPrompt.mShown.clear();
    NewLog();
    m_Window->SmsGenerate();
    const QString text =
        QStringLiteral("The file %1 could not be translated.\nReason: Ecard content is not well-formed !").arg(card);
    EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{QStringLiteral("Translation failed|") + text});
    EXPECT_TRUE(NewLog().endsWith(text + QLatin1Char('\n')));
    EXPECT_TRUE(FilesIn(In(QStringLiteral("gui"))).isEmpty());
}

// After a phone change the chosen file is gone: no file stays highlighted in the list either, so the list, the
// chosen-file field and the Generate button agree.
TEST_F(SmsPanelTest, APhoneChangeLeavesNoFileHighlightedWhenNoneIsChosen)
{
    Write(QStringLiteral("cards/greeting.ecd"), "x");
    ShowSms("Model B");
    Choose(m_Ems);
    CFileSelectorControl* list = Source().GetFileList();
    QTreeWidgetItem* entry = nullptr;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QStringLiteral("greeting.ecd"))
            entry = list->topLevelItem(i);
    ASSERT_NE(entry, nullptr);
    list->setCurrentItem(entry);
    Source().Clicked(entry);
    ASSERT_EQ(Source().GetCurrentFileName(), QStringLiteral("greeting.ecd"));
    ASSERT_TRUE(entry->isSelected());
    ShowSms("Model A");
    EXPECT_TRUE(Source().GetCurrentFileName().isEmpty());
    EXPECT_TRUE(Source().GetFileIndicator()->text().isEmpty());
    EXPECT_FALSE(Tabs().mpSmsDestinationPanel->GetGenerateButton()->isEnabled());
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

} // namespace
