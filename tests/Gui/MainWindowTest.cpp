// The main window: menus and keys, the unsaved-result question (also when the window is closed by its frame),
// the Target menu, the progress slots, the About box and the plug-in list.
#include "Core/CUserPrompt.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Window/CHelpWnd.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include "Text/ShownName.h"
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

QString M(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("OrvaneMainWindow"), QString::fromLatin1(id));
}

class MainWindowTest : public GuiTest
{
protected:
    void Show()
    {
        Window().LoadSettings(SettingsPath());
        Window().show();
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }
    QString Question(const char* textId) const
    {
        return M("id_warning_title") + QLatin1Char('|') + M(textId) + QLatin1Char('|') + M("id_yes_caption")
               + QLatin1Char('/') + M("id_no_caption") + QStringLiteral("|1|1");
    }
};

TEST_F(MainWindowTest, MenusCarryTheirItemsAndKeys)
{
    const QList<QAction*> menus = Window().menuBar()->actions();
    QStringList titles;
    for (QAction* menu : menus)
        titles.append(menu->text());
    EXPECT_EQ(titles, (QStringList{M("id_file_menu"), M("id_media_menu"), M("id_sms_menu"), M("id_batch_menu"),
                                   M("id_Target_menu"), M("id_help_menu")}));
    QStringList keys;
    for (QAction* menu : menus) {
        for (QAction* item : menu->menu()->actions())
            keys.append(item->shortcut().toString());
    }
    EXPECT_EQ(keys, (QStringList{QString(), QStringLiteral("Ctrl+P"), QStringLiteral("Ctrl+Q"),
                                 QStringLiteral("Ctrl+O"), QStringLiteral("Ctrl+C"), QStringLiteral("Ctrl+V"),
                                 QStringLiteral("Ctrl+Z"), QStringLiteral("Ctrl+A"), QStringLiteral("Ctrl+F"),
                                 QStringLiteral("Ctrl+G"), QStringLiteral("Ctrl+H"), QStringLiteral("Ctrl+N"),
                                 QStringLiteral("Ctrl+X"), QStringLiteral("Ctrl+S"), QStringLiteral("Ctrl+L"),
                                 QStringLiteral("F1"), QStringLiteral("F2")}));
    EXPECT_TRUE(Window().GetWarningItem()->isChecked());
    EXPECT_TRUE(Window().GetResizeItem()->isChecked());
    EXPECT_EQ(Window().size(), QSize(800, 600));
    EXPECT_EQ(Window().windowTitle(), M("id_titlewindow"));
}

TEST_F(MainWindowTest, KeysOpenTheAboutBoxPluginListAndHelp)
{
    Show();
    QTest::keyClick(&Window(), Qt::Key_F1);
    QTest::keyClick(&Window(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(m_GuiPrompt.mDialogs, (QStringList{M("id_about_title"), M("id_plugin_info")}));
    QTest::keyClick(&Window(), Qt::Key_F2);
    CHelpWnd* help = Window().GetHelpWindow();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->GetPage(), m_App.Path() + QStringLiteral("/Help/index.html#top"));
    EXPECT_TRUE(help->testAttribute(Qt::WA_QuitOnClose) == false);
    help->close();
}

TEST_F(MainWindowTest, F2OnAnOpenHelpWindowReturnsToItsFirstPage)
{
    m_App.Write(QStringLiteral("Help/index.html"),
                "<html><body><a name=\"top\"></a><a href=\"other.html\">other</a></body></html>");
    m_App.Write(QStringLiteral("Help/other.html"), "<html><body>other page</body></html>");
    Show();
    CHelpWnd* help = Window().GetHelpWindow();
    QTest::keyClick(&Window(), Qt::Key_F2);
    ASSERT_TRUE(help->isVisible());
    help->GetBrowser()->setSource(QUrl::fromLocalFile(m_App.FilePath(QStringLiteral("Help/other.html"))));
    ASSERT_EQ(help->GetBrowser()->source().toLocalFile(), m_App.FilePath(QStringLiteral("Help/other.html")));
    // The window stays open between the two presses.
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keyClick(&Window(), Qt::Key_F2);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->GetBrowser()->source().toLocalFile(), m_App.FilePath(QStringLiteral("Help/index.html")));
    EXPECT_EQ(help->GetBrowser()->source().fragment(), QStringLiteral("top"));
    help->close();
}

TEST_F(MainWindowTest, TheAboutBoxTellsVersionAndMaker)
{
    const QString lf = QStringLiteral("\n");
    const QString company = QStringLiteral("The Orvane project");
    EXPECT_EQ(Window().AboutText(), lf + lf + M("id_about_product_name") + lf + lf + M("id_about_copyright") + lf
                                        + company + lf + lf + M("id_about_licensed_to") + lf + company + lf + lf
                                        + M("id_about_product_version") + QStringLiteral("2.3") + lf
                                        + M("id_about_built_on") + QStringLiteral("Oct  1 2002"));
    QString text;
    m_GuiPrompt.mOnExec = [&](QDialog& dialog) { text = qobject_cast<QMessageBox*>(&dialog)->text(); };
    Window().about();
    EXPECT_EQ(text, Window().AboutText());
}

TEST_F(MainWindowTest, PluginRowsSplitAtTheUnderscore)
{
    const struct
    {
        const char* entry;
        const char* left;
        const char* right;
    } rows[] = {{"Tunra_version 1.0, built Oct  1 2002", "Tunra", "version 1.0, built Oct  1 2002"},
                {"_Lead_rest", "_Lead", "rest"},
                {"NoUnderscore", "NoUnderscore", ""},
                {"", "", ""}};
    for (const auto& row : rows) {
        const auto parts = OrvaneMainWindow::SplitPluginEntry(QString::fromLatin1(row.entry));
        EXPECT_EQ(parts.first, QString::fromLatin1(row.left));
        EXPECT_EQ(parts.second, QString::fromLatin1(row.right));
    }
    QStringList plugins;
    m_Application->GetInstalledPlugins(plugins);
    QStringList cells;
    m_GuiPrompt.mOnExec = [&](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            cells.append(label->text());
    };
    Window().PluginInfoDialog();
    ASSERT_EQ(cells.size(), 2 * plugins.size());
    EXPECT_EQ(cells.at(0), OrvaneMainWindow::SplitPluginEntry(plugins.at(0)).first);
    EXPECT_TRUE(cells.at(1).startsWith(QStringLiteral("version ")));
}

TEST_F(MainWindowTest, WithWarningsOffOpenCloseAndQuitActAtOnce)
{
    Show();
    MakeUnsavedResult();
    QStringList warnings;
    QObject::connect(&Window(), &OrvaneMainWindow::Warnings, &Window(),
                     [&](B32 on) { warnings.append(QString::number(on)); });
    Window().SettingDialog();
    EXPECT_FALSE(Window().GetWarningItem()->isChecked());
    EXPECT_EQ(warnings, QStringList{QStringLiteral("0")});
    Window().OpenMediaDialog();
    EXPECT_NE(Loaded(), nullptr);
    Window().CheckSavingBeforeClose();
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(Loaded(), nullptr);
    MakeUnsavedResult();
    Window().CheckSavingBeforeQuit();
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    // Once quitting, closing the window asks nothing more.
    EXPECT_TRUE(Window().close());
}

TEST_F(MainWindowTest, AnsweringNoKeepsTheMediaAndTheWindow)
{
    Show();
    MakeUnsavedResult();
    m_GuiPrompt.mAnswers = {1, 1, 1, 1};
    // Each question says what Yes would do.
    Window().OpenMediaDialog();
    Window().CheckSavingBeforeClose();
    Window().CheckSavingBeforeQuit();
    // Closing by the frame asks as Quit does, and No keeps the window open.
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_NE(Loaded(), nullptr);
    EXPECT_EQ(m_GuiPrompt.mQuestions,
              (QStringList{Question("id_unsaved_result_open_media"), Question("id_unsaved_result_close_media"),
                           Question("id_warning_text"), Question("id_warning_text")}));
    // The default answer is No too, as is a box closed by Escape.
    Window().CheckSavingBeforeClose();
    EXPECT_NE(Loaded(), nullptr);

    m_GuiPrompt.mAnswers = {0};
    EXPECT_TRUE(Window().close());
    EXPECT_FALSE(Window().isVisible());
}

// Every box is a child of the main window, so it opens over it. A path too long for a line of the box keeps its
// start, "..." and the whole file name, as the run log keeps them; a short text is left as it is.
TEST_F(MainWindowTest, BoxesOpenOverTheWindowAndALongPathKeepsItsFileName)
{
    Show();
    const QString file = QStringLiteral("evening-tune-for-the-phone.png");
    const QString folders =
        QStringLiteral("/home/newcomer") + QStringLiteral("/a-folder-with-a-long-name").repeated(12);
    const QString path = folders + QLatin1Char('/') + file;
    ASSERT_GT(path.size(), kShownNameLength);
    const QString reason = QStringLiteral("Reason: The picture could not be read.");
    const QString text = QStringLiteral("The file %1 could not be read.\n").arg(ShowName(path)) + reason;
    const auto box = CWidgetPrompt::MakeBox(QMessageBox::Warning, QStringLiteral("Import failed"), text);
    EXPECT_EQ(box->parentWidget(), &Window());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Import failed"));
    const QStringList lines = box->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(1), reason);
    QString shown;
    for (const QString& word : lines.at(0).split(QLatin1Char(' '))) {
        EXPECT_LE(box->fontMetrics().horizontalAdvance(word), CWidgetPrompt::BoxLineWidth(*box)) << word.toStdString();
        if (word.contains(QLatin1String("...")))
            shown = word;
    }
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/newcomer/a-folder"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...") + file)) << shown.toStdString();
    EXPECT_EQ(shown.count(QStringLiteral("...")), 1) << shown.toStdString();
    EXPECT_TRUE(lines.at(0).startsWith(QStringLiteral("The file /home/newcomer/"))) << lines.at(0).toStdString();
    EXPECT_TRUE(lines.at(0).endsWith(QStringLiteral(" could not be read.")));

    const QString shortText = QStringLiteral("The file /tmp/a.png could not be read.");
    EXPECT_EQ(CWidgetPrompt::MakeBox(QMessageBox::Critical, QString(), shortText)->text(), shortText);
}

TEST_F(MainWindowTest, AnsweringYesClosesTheMedia)
{
    Show();
    MakeUnsavedResult();
    m_GuiPrompt.mAnswers = {0};
    Window().CheckSavingBeforeClose();
    EXPECT_EQ(Loaded(), nullptr);
    B32 converted = 1;
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    EXPECT_EQ(converted, 0);
}

TEST_F(MainWindowTest, ChoosingATargetChecksItAloneAndTellsTheApplicationFirst)
{
    Show();
    QStringList order;
    QObject::connect(&Window(), &OrvaneMainWindow::CurrentProfile, &Window(),
                     [&](int index) { order.append(QStringLiteral("profile %1").arg(index)); });
    QObject::connect(&Window(), &OrvaneMainWindow::UpdateConverterList, &Window(),
                     [&] { order.append(QStringLiteral("panels")); });
    const QList<QAction*> items = Window().GetTargetMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    items.at(2)->trigger();
    EXPECT_EQ(order, (QStringList{QStringLiteral("profile 2"), QStringLiteral("panels")}));
    EXPECT_EQ(Window().GetCheckedProfile(), 2);
    EXPECT_FALSE(items.at(0)->isChecked() || items.at(1)->isChecked());
    EXPECT_EQ(Window().GetProfileLabel()->text(), QStringLiteral("WARY"));
    EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(2));
}

// Another phone drops the unsaved result: asked as closing the media is; No keeps the phone and the result.
TEST_F(MainWindowTest, ChoosingAnotherPhoneAsksBeforeTheUnsavedResultIsDropped)
{
    Show();
    MakeUnsavedResult();
    const QList<QAction*> items = Window().GetTargetMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    B32 converted = 0;
    m_GuiPrompt.mAnswers = {1};
    items.at(2)->trigger();
    EXPECT_EQ(m_GuiPrompt.mQuestions, QStringList{Question("id_unsaved_result_change_phone")});
    EXPECT_EQ(Window().GetCheckedProfile(), 0);
    EXPECT_FALSE(items.at(2)->isChecked());
    EXPECT_EQ(Window().GetProfileLabel()->text(), QStringLiteral("PHONE1"));
    EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(0));
    EXPECT_NE(Loaded(), nullptr);
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    EXPECT_EQ(converted, 1);

    m_GuiPrompt.mAnswers = {0};
    items.at(2)->trigger();
    EXPECT_EQ(m_GuiPrompt.mQuestions.size(), 2);
    EXPECT_EQ(Window().GetCheckedProfile(), 2);
    EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(2));
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    EXPECT_EQ(converted, 0);
    // With nothing left to lose the next phone is taken without a question.
    items.at(1)->trigger();
    EXPECT_EQ(m_GuiPrompt.mQuestions.size(), 2);
    EXPECT_EQ(Window().GetCheckedProfile(), 1);
}

// The phone already chosen, chosen again, changes nothing: no question, and the result stays.
TEST_F(MainWindowTest, ChoosingThePhoneAlreadyChosenKeepsTheResultUnasked)
{
    Show();
    MakeUnsavedResult();
    const QList<QAction*> items = Window().GetTargetMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    ASSERT_EQ(Window().GetCheckedProfile(), 0);
    int panelUpdates = 0;
    QObject::connect(&Window(), &OrvaneMainWindow::UpdateConverterList, &Window(), [&] { ++panelUpdates; });
    items.at(0)->trigger();
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(panelUpdates, 0);
    EXPECT_EQ(Window().GetCheckedProfile(), 0);
    EXPECT_NE(Loaded(), nullptr);
    B32 converted = 0;
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    EXPECT_EQ(converted, 1);
}

TEST_F(MainWindowTest, ThePhonesNameStaysAfterAMenuWasOpened)
{
    Show();
    ASSERT_EQ(Window().GetProfileLabel()->text(), QStringLiteral("PHONE1"));
    // Hovering an item of an open menu sends the window the item's (empty) tip.
    QMenu* file = Window().menuBar()->actions().first()->menu();
    file->popup(Window().mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    QAction* plugins = file->actions().at(1);
    QTest::mouseMove(file, file->actionGeometry(plugins).center());
    QTRY_COMPARE(file->activeAction(), plugins);
    QStatusTipEvent tip{QString()};
    QCoreApplication::sendEvent(&Window(), &tip);
    file->close();
    EXPECT_TRUE(Window().GetProfileLabel()->isVisible());
    EXPECT_EQ(Window().GetProfileLabel()->text(), QStringLiteral("PHONE1"));
    // Progress texts come and go beside it.
    Window().SetProgress(QStringLiteral("Processing 40"), 40);
    EXPECT_EQ(Window().GetProfileLabel()->text(), QStringLiteral("PHONE1"));
}

// The part of the picture where two grabs of one widget differ, left of column end.
QRect ChangedLeftOf(const QImage& before, const QImage& after, int end)
{
    QRect changed;
    for (int y = 0; y < qMin(before.height(), after.height()); ++y)
        for (int x = 0; x < qMin(end, qMin(before.width(), after.width())); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    return changed;
}

TEST_F(MainWindowTest, TheProgressTextIsDrawnBesideThePhonesName)
{
    Show();
    QStatusBar* bar = Window().statusBar();
    QLabel* phone = Window().GetProfileLabel();
    ASSERT_EQ(phone->text(), QStringLiteral("PHONE1"));
    const QImage idle = bar->grab().toImage();
    const QString text = QStringLiteral("Processing morning.mid");
    Window().SetProgress(text, 40);
    const QImage working = bar->grab().toImage();
    // The text is drawn, nearly as wide as it is, left of the phone's name ...
    const QRect drawn = ChangedLeftOf(idle, working, phone->geometry().left());
    EXPECT_GE(drawn.width(), bar->fontMetrics().horizontalAdvance(text) * 3 / 4) << drawn;
    // ... and the phone's name is still drawn where it was.
    EXPECT_TRUE(phone->isVisible());
    EXPECT_GE(phone->width(), phone->fontMetrics().horizontalAdvance(phone->text()));
    EXPECT_EQ(idle.copy(phone->geometry()), working.copy(phone->geometry()));
    // Once the work ends the text goes.
    Window().InitProgressBar();
    EXPECT_TRUE(ChangedLeftOf(idle, bar->grab().toImage(), phone->geometry().left()).isEmpty());
}

TEST_F(MainWindowTest, ProgressShowsInTheStatusBarUntilReset)
{
    Show();
    Window().SetProgress(QStringLiteral("Processing 40"), 40);
    EXPECT_EQ(Window().statusBar()->currentMessage(), QStringLiteral("Processing 40"));
    EXPECT_EQ(Window().GetProgressBar()->value(), 40);
    Window().InitProgressBar();
    EXPECT_EQ(Window().GetProgressBar()->value(), -1);
    EXPECT_EQ(Window().statusBar()->currentMessage(), QString());
    EXPECT_EQ(Window().GetProfileLabel()->text(), QStringLiteral("PHONE1"));
    Window().ValidateConversion(1);
    B32 converted = 0;
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    EXPECT_EQ(converted, 1);
    Window().ValidateConversion(0);
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    EXPECT_EQ(converted, 0);
}

} // namespace

namespace {

// The program's own window run: the window opens, the event loop ends when it is closed or quit, and the
// settings are written either way.
class WindowRunTest : public GuiTest
{
protected:
    OrvaneMainWindow* OpenWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<OrvaneMainWindow*>(widget); window && window->isVisible())
                return window;
        }
        return nullptr;
    }
};

TEST_F(WindowRunTest, ClosingTheWindowEndsTheRunAndKeepsTheSettings)
{
    for (bool quit : {false, true}) {
        QFile::remove(SettingsPath());
        bool seen = false;
        QTimer::singleShot(0, m_Application.get(), [&] {
            OrvaneMainWindow* window = OpenWindow();
            seen = window && window->GetCheckedProfile() == 0;
            if (!window)
                QCoreApplication::quit();
            else if (quit)
                window->CheckSavingBeforeQuit();
            else
                window->close();
        });
        EXPECT_EQ(m_Application->Run(), 1);
        EXPECT_TRUE(seen);
        EXPECT_TRUE(ReadAll(SettingsPath()).contains("Window_Size_X=\"800\"")) << quit;
        EXPECT_EQ(OpenWindow(), nullptr);
    }
}

} // namespace
