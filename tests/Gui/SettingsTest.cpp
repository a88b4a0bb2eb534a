// The settings file: defaults, malformed values and a full round trip through a second window.
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include "Xml/CXmlFile.h"
#include <QAction>
#include <QDir>

namespace {

class SettingsTest : public GuiTest
{
protected:
    // Writes a settings file with these attributes.
    void WriteSettings(const QByteArray& attributes)
    {
        m_App.Write(QStringLiteral("Settings.xml"), "<OrvaneMainWindowSettings " + attributes + "/>");
    }
    // Counts the option signals that loading emits.
    void CountSignals()
    {
        QObject::connect(&Window(), &OrvaneMainWindow::Warnings, &Window(),
                         [this](B32 on) { m_Emitted.append(QStringLiteral("warnings %1").arg(on)); });
        QObject::connect(&Window(), &OrvaneMainWindow::ResizeSystematic, &Window(),
                         [this](B32 on) { m_Emitted.append(QStringLiteral("resize %1").arg(on)); });
    }
    // The attribute names of the saved file.
    QStringList SavedNames()
    {
        CXmlFile file;
        EXPECT_TRUE(file.Load(SettingsPath()));
        QStringList names;
        const QDomNamedNodeMap attributes = file.GetCurrentNode().attributes();
        for (int i = 0; i < attributes.count(); ++i)
            names.append(attributes.item(i).nodeName());
        names.sort();
        return names;
    }

    QStringList m_Emitted;
};

const QStringList ALL_NAMES = {
    QStringLiteral("Batch_Input_Path"), QStringLiteral("Batch_Output_Path"), QStringLiteral("Last_active_profile"),
    QStringLiteral("Media_Input_Path"), QStringLiteral("Media_Output_Path"), QStringLiteral("Resize_enabled"),
    QStringLiteral("SMS_Input_Path"),   QStringLiteral("SMS_Output_Path"),   QStringLiteral("Warning_enabled"),
    QStringLiteral("Window_Pos_X"),     QStringLiteral("Window_Pos_Y"),      QStringLiteral("Window_Size_X"),
    QStringLiteral("Window_Size_Y")};

TEST_F(SettingsTest, WithoutAFileTheWindowStartsFromItsDefaults)
{
    CountSignals();
    EXPECT_EQ(Window().LoadSettings(SettingsPath()), 0);
    EXPECT_EQ(Window().size(), QSize(800, 600));
    EXPECT_TRUE(Window().GetWarningItem()->isChecked() && Window().GetResizeItem()->isChecked());
    EXPECT_EQ(Window().GetCheckedProfile(), 0);
    EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(0));
    // The options as shown are in force: the converter offers every animation for resizing.
    EXPECT_EQ(m_Emitted, (QStringList{QStringLiteral("warnings 1"), QStringLiteral("resize 1")}));
    EXPECT_EQ(m_Application->GetEngineState().mResizeOption, 1);
    EXPECT_EQ(Window().SaveSettings(SettingsPath()), 1);
    EXPECT_EQ(SavedNames(), ALL_NAMES);
}

TEST_F(SettingsTest, WithoutProfilesTheProfileIsNotWritten)
{
    QObject::disconnect(&Window(), &OrvaneMainWindow::GetProfileNameList, nullptr, nullptr);
    Window().LoadSettings(SettingsPath());
    EXPECT_EQ(Window().GetCheckedProfile(), -1);
    Window().SaveSettings(SettingsPath());
    QStringList expected = ALL_NAMES;
    expected.removeAll(QStringLiteral("Last_active_profile"));
    EXPECT_EQ(SavedNames(), expected);
}

TEST_F(SettingsTest, OnlyTrueInLowerCaseTurnsAnOptionOn)
{
    CountSignals();
    WriteSettings("Warning_enabled=\"True\" Resize_enabled=\"true\"");
    EXPECT_EQ(Window().LoadSettings(SettingsPath()), 1);
    EXPECT_FALSE(Window().GetWarningItem()->isChecked());
    EXPECT_TRUE(Window().GetResizeItem()->isChecked());
    EXPECT_EQ(m_Emitted, (QStringList{QStringLiteral("warnings 0"), QStringLiteral("resize 1")}));
    EXPECT_EQ(Tabs().GetWarnings(), 0);
}

TEST_F(SettingsTest, AProfileOutsideTheListSelectsTheFirst)
{
    for (const QByteArray& value : {QByteArray("3"), QByteArray("-1"), QByteArray("two"), QByteArray("2")}) {
        SCOPED_TRACE(value.constData());
        TearDown();
        SetUp();
        WriteSettings("Last_active_profile=\"" + value + "\"");
        Window().LoadSettings(SettingsPath());
        const int expected = value == "2" ? 2 : 0;
        EXPECT_EQ(Window().GetCheckedProfile(), expected);
        EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(expected));
    }
}

TEST_F(SettingsTest, AMissingSizeGivesTheSmallestWindow)
{
    WriteSettings("Window_Pos_X=\"10\" Window_Pos_Y=\"abc\"");
    Window().LoadSettings(SettingsPath());
    EXPECT_GE(Window().width(), 1);
    EXPECT_LT(Window().width(), 800);
    EXPECT_EQ(Window().pos(), QPoint(10, 0));
}

TEST_F(SettingsTest, AMalformedFileGivesTheDefaults)
{
    m_App.Write(QStringLiteral("Settings.xml"), "<OrvaneMainWindowSettings Window_Size_X=\"300\"");
    EXPECT_EQ(Window().LoadSettings(SettingsPath()), 0);
    EXPECT_EQ(Window().size(), QSize(800, 600));
    EXPECT_EQ(Window().GetCheckedProfile(), 0);
    EXPECT_EQ(m_Application->GetEngineState().mResizeOption, 1);
}

TEST_F(SettingsTest, ADeletedFolderComesBackAsTheCurrentPath)
{
    const QString kept = In(QStringLiteral("kept"));
    QDir().mkpath(kept);
    WriteSettings("Media_Input_Path=\"" + kept.toUtf8() + "\" Media_Output_Path=\""
                  + In(QStringLiteral("gone")).toUtf8() + "\" SMS_Output_Path=\"\"");
    Window().LoadSettings(SettingsPath());
    EXPECT_EQ(Tabs().mpMediaSelectorPanel->GetCurrentFolder(), kept);
    EXPECT_EQ(Tabs().mpMediaDestinationPanel->GetOutputFolder(), m_Application->GetCurrentPath());
    // An empty folder is no folder, and an absent one stays unknown.
    EXPECT_EQ(Tabs().mpSmsDestinationPanel->GetOutputFolder(), m_Application->GetCurrentPath());
    EXPECT_TRUE(Tabs().mpBatchSelectorPanel->GetCurrentFolder().isNull());
}

TEST_F(SettingsTest, EverythingSurvivesARestart)
{
    QStringList folders;
    for (const char* name : {"mi", "mo", "si", "so", "bi", "bo"}) {
        folders.append(In(QString::fromLatin1(name)));
        QDir().mkpath(folders.last());
    }
    Window().LoadSettings(SettingsPath());
    Window().resize(900, 650);
    Window().move(20, 30);
    COrvTabview& t = Tabs();
    t.mpMediaSelectorPanel->SetCurrentPath(folders.at(0));
    t.mpMediaDestinationPanel->SetOutputFolder(folders.at(1));
    t.mpSmsSelectorPanel->SetCurrentFolder(folders.at(2));
    t.mpSmsDestinationPanel->SetOutputFolder(folders.at(3));
    t.mpBatchSelectorPanel->SetCurrentFolder(folders.at(4));
    t.mpBatchDestinationPanel->SetOutputFolder(folders.at(5));
    Window().SettingDialog();
    Window().SettingResize();
    Window().SetCurrentProfile(1);
    ASSERT_EQ(Window().SaveSettings(SettingsPath()), 1);

    m_MainWindow = std::make_unique<OrvaneMainWindow>(nullptr, Qt::Window);
    ConnectMainWindow(*m_MainWindow, *m_Application);
    CountSignals();
    ASSERT_EQ(Window().LoadSettings(SettingsPath()), 1);
    EXPECT_EQ(Window().size(), QSize(900, 650));
    EXPECT_EQ(Window().pos(), QPoint(20, 30));
    COrvTabview& u = Tabs();
    EXPECT_EQ((QStringList{u.mpMediaSelectorPanel->GetCurrentFolder(), u.mpMediaDestinationPanel->GetOutputFolder(),
                           u.mpSmsSelectorPanel->GetCurrentFolder(), u.mpSmsDestinationPanel->GetOutputFolder(),
                           u.mpBatchSelectorPanel->GetCurrentFolder(), u.mpBatchDestinationPanel->GetOutputFolder()}),
              folders);
    EXPECT_FALSE(Window().GetWarningItem()->isChecked());
    EXPECT_FALSE(Window().GetResizeItem()->isChecked());
    EXPECT_EQ(m_Emitted, (QStringList{QStringLiteral("warnings 0"), QStringLiteral("resize 0")}));
    EXPECT_EQ(Window().GetCheckedProfile(), 1);
    EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(1));
}

} // namespace
