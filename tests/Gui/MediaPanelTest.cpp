// The media source panel: the files the chosen converter reads, loading a clicked one, folders, converter
// changes and the unsaved-result question.
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Host/CLocalFileInfo.h"
#include "QtPrinters.h"
#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <cerrno>
#include <cstring>

namespace {

class MediaPanelTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Write(QStringLiteral("media/Song.TXT"), "do re mi");
        Write(QStringLiteral("media/lower.txt"), "fa sol");
        Write(QStringLiteral("media/Picture.TPI"), "not a melody");
        Write(QStringLiteral("media/inner/deep.txt"), "la");
        Panel().SetCurrentPath(In(QStringLiteral("media")));
        Window().show();
        m_Exporter = Combo()->findText(QStringLiteral("Test exporter"));
        m_Picture = Combo()->findText(QStringLiteral("Test picture exporter"));
        ASSERT_GE(m_Exporter, 0);
        ASSERT_GE(m_Picture, 0);
        SelectConverter(m_Exporter);
    }
    CMediaSelectorPanel& Panel() { return *Tabs().mpMediaSelectorPanel; }
    QComboBox* Combo() { return Panel().GetConverterSelector(); }
    void SelectConverter(int index)
    {
        Combo()->setCurrentIndex(index);
        emit Combo()->activated(index);
    }
    QStringList Listed()
    {
        QStringList names;
        CFileSelectorControl* list = Panel().GetFileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names.append(list->topLevelItem(i)->text(0));
        names.sort();
        return names;
    }
    void Click(const QString& relative)
    {
        const CLocalFileInfo info(In(relative));
        Panel().UpdatePanel(&info);
    }
    QString Indicated() { return Panel().GetFileIndicator()->text(); }

    int m_Exporter = -1;
    int m_Picture = -1;
};

TEST_F(MediaPanelTest, TheListHoldsFoldersAndTheFilesTheConverterReads)
{
    EXPECT_EQ(Panel().GetCurrentFolder(), In(QStringLiteral("media")));
    EXPECT_EQ(Listed(),
              (QStringList{QStringLiteral("Song.TXT"), QStringLiteral("inner"), QStringLiteral("lower.txt")}));
    EXPECT_EQ(Panel().BuildImportFilter(), QStringLiteral("*.TXT;*.txt;;*.TST;*.tst;;"));
    EXPECT_EQ(Panel().BuildDialogFilter(), QStringLiteral("TXT (*.TXT *.txt);;TST (*.TST *.tst)"));
    // Another converter: only the list changes.
    SelectConverter(m_Picture);
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Picture.TPI"), QStringLiteral("inner")}));
}

TEST_F(MediaPanelTest, AClickedFileLoadsUnderItsOwnMixedCaseName)
{
    QStringList asked;
    QObject::connect(&Panel(), &CMediaSelectorPanel::LoadMediaAsked, &Panel(),
                     [&](QString& path, int, B32&) { asked.append(path); });
    QSignalSpy type(&Panel(), &CMediaSelectorPanel::CurrentFileTypeChanged);
    Click(QStringLiteral("media/Song.TXT"));
    EXPECT_EQ(asked, QStringList{In(QStringLiteral("media/Song.TXT"))});
    ASSERT_NE(Loaded(), nullptr);
    EXPECT_EQ(Indicated(), QStringLiteral("Song.TXT"));
    EXPECT_EQ(Panel().GetCurrentFileName(), QStringLiteral("Song.TXT"));
    EXPECT_EQ(type.count(), 1);
}

TEST_F(MediaPanelTest, AFileThatDoesNotImportLeavesAnEmptyLineAndPreview)
{
    SelectConverter(m_Picture);
    Click(QStringLiteral("media/Picture.TPI"));
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(Indicated(), QString());
    EXPECT_EQ(Panel().GetCurrentFileName(), QStringLiteral("Picture.TPI"));
}

struct QuestionCase
{
    const char* name;
    bool warnings;
    int answer; // -1: no answer scripted
    bool asked;
    bool entered; // the folder was entered and the media closed
};

TEST_F(MediaPanelTest, AFolderClickEntersItAfterTheUnsavedResultQuestion)
{
    const QuestionCase cases[] = {
        {"yes", true, 0, true, true},
        {"no", true, 1, true, false},
        {"escape", true, -1, true, false},
        {"warnings off", false, -1, false, true},
    };
    for (const QuestionCase& c : cases) {
        SCOPED_TRACE(c.name);
        Panel().SetWarnings(c.warnings);
        Panel().SetCurrentPath(In(QStringLiteral("media")));
        MakeUnsavedResult();
        m_GuiPrompt.mQuestions.clear();
        m_GuiPrompt.mAnswers.clear();
        if (c.answer >= 0)
            m_GuiPrompt.mAnswers.append(c.answer);
        Click(QStringLiteral("media/inner"));
        EXPECT_EQ(m_GuiPrompt.mQuestions.size(), c.asked ? 1 : 0);
        EXPECT_EQ(Panel().GetCurrentFolder(), In(c.entered ? QStringLiteral("media/inner") : QStringLiteral("media")));
        EXPECT_EQ(Loaded() == nullptr, c.entered);
        if (c.entered) {
            EXPECT_EQ(Listed(), QStringList{QStringLiteral("deep.txt")});
        }
    }
}

TEST_F(MediaPanelTest, AConverterChangeWithAFileLoadedClosesTheMedia)
{
    Click(QStringLiteral("media/Song.TXT"));
    ASSERT_NE(Loaded(), nullptr);
    SelectConverter(m_Picture);
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(Panel().GetCurrentFileName(), QString());
    EXPECT_EQ(Indicated(), QString());
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Picture.TPI"), QStringLiteral("inner")}));
}

TEST_F(MediaPanelTest, AParameterFileOfAnotherConverterSwitchesAndRefiltersTheList)
{
    SelectConverter(m_Picture);
    Write(QStringLiteral("Mine.xml"),
          "<PARAMETERS><INFO><DESC CONTENT=\"Test exporter\"/></INFO><TSECTION><TYPE NAME=\"BOOL\"/>"
          "<TYPE NAME=\"INT\"/></TSECTION><PSECTION><DATA NAME=\"Level\" TYPE=\"INT\" VALUE=\"5\" MIN=\"0\" "
          "MAX=\"9\"/></PSECTION><ISECTION/></PARAMETERS>");
    m_GuiPrompt.mAnswers.append(0);
    m_GuiPrompt.mFileAnswer = In(QStringLiteral("Mine.xml"));
    Tabs().mpConverterPanel->Load();
    EXPECT_EQ(Combo()->currentIndex(), m_Exporter);
    EXPECT_EQ(Listed(),
              (QStringList{QStringLiteral("Song.TXT"), QStringLiteral("inner"), QStringLiteral("lower.txt")}));
}

TEST_F(MediaPanelTest, ADeletedSelectedFileIsClosedOnTheNextMouseEntry)
{
    CFileSelectorControl* list = Panel().GetFileList();
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QStringLiteral("Song.TXT")) {
            list->setCurrentItem(list->topLevelItem(i));
            Panel().Clicked(list->topLevelItem(i));
        }
    ASSERT_NE(Loaded(), nullptr);
    QFile::remove(In(QStringLiteral("media/Song.TXT")));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&Panel(), &enter);
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("inner"), QStringLiteral("lower.txt")}));
}

TEST_F(MediaPanelTest, AFileDeletedBehindTheListLeavesItAfterItsFailedRead)
{
    QFile::remove(In(QStringLiteral("media/Song.TXT")));
    // Clicked in the list, whose entry goes while the click is handled.
    CFileSelectorControl* list = Panel().GetFileList();
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QStringLiteral("Song.TXT")) {
            list->setCurrentItem(list->topLevelItem(i));
            Panel().Clicked(list->topLevelItem(i));
            break;
        }
    // The box says why under its first line: the system's reason, in the lines the log holds too.
    const QString why = QString::fromLocal8Bit(std::strerror(ENOENT));
    ASSERT_EQ(m_GuiPrompt.mShown.size(), 1u);
    const QString song = In(QStringLiteral("media/Song.TXT"));
    const QString lines = Text("id_failed_to_load").arg(song) + LF + QStringLiteral("Reason: %1.").arg(why);
    EXPECT_EQ(m_GuiPrompt.mShown[0].text, lines);
    EXPECT_TRUE(NewLog().contains(lines + LF));
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(Indicated(), QString());
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("inner"), QStringLiteral("lower.txt")}));
    // A file that is there but does not import stays listed.
    SelectConverter(m_Picture);
    Click(QStringLiteral("media/Picture.TPI"));
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Picture.TPI"), QStringLiteral("inner")}));
}

TEST_F(MediaPanelTest, ADoubleClickOnAFolderOnlyEntersIt)
{
    Write(QStringLiteral("media/inner/first.txt"), "la la");
    Window().resize(800, 600);
    CFileSelectorControl* list = Panel().GetFileList();
    list->sortByColumn(CFileSelectorControl::NAME_COLUMN, Qt::AscendingOrder);
    QTreeWidgetItem* inner = nullptr;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QStringLiteral("inner"))
            inner = list->topLevelItem(i);
    ASSERT_NE(inner, nullptr);
    QSignalSpy loads(&Panel(), &CMediaSelectorPanel::LoadMediaAsked);
    // The user's double click: press, release, a second press as a double click, release, at one point.
    QWidget* view = list->viewport();
    const QPoint at = list->visualItemRect(inner).center();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(Panel().GetCurrentFolder(), In(QStringLiteral("media/inner")));
    // A file of the new list now lies under the pointer.
    ASSERT_NE(list->itemAt(at), nullptr);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view, &twice);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(loads.count(), 0);
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_EQ(Indicated(), QString());
    EXPECT_TRUE(list->selectedItems().isEmpty());
    // A double click on a file still loads it.
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(loads.count(), 1);
    EXPECT_NE(Loaded(), nullptr);
}

TEST_F(MediaPanelTest, OpenLoadsTheChosenFileAsIfClicked)
{
    m_GuiPrompt.mFileAnswer = In(QStringLiteral("media/inner/deep.txt"));
    Panel().OpenMediaDialog();
    EXPECT_EQ(m_GuiPrompt.mFileQuestions.last(), QStringLiteral("open||TXT (*.TXT *.txt);;TST (*.TST *.tst)"));
    EXPECT_EQ(Panel().GetCurrentFolder(), In(QStringLiteral("media/inner")));
    EXPECT_NE(Loaded(), nullptr);
    EXPECT_EQ(Indicated(), QStringLiteral("deep.txt"));
    // Its row is selected, as after a click.
    const QList<QTreeWidgetItem*> selected = Panel().GetFileList()->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first()->text(0), QStringLiteral("deep.txt"));
}

} // namespace

namespace {

class ProfileChangeTest : public MediaPanelTest
{
protected:
    int ProfileIndex(const char* name)
    {
        QStringList profiles;
        emit Window().GetProfileNameList(profiles);
        return int(profiles.indexOf(QString::fromLatin1(name)));
    }
};

TEST_F(ProfileChangeTest, AConverterThatLeavesThePhonesListFallsBackToTheFirstWithAWarningWhenOn)
{
    for (const bool warnings : {true, false}) {
        SCOPED_TRACE(warnings);
        Window().SetCurrentProfile(ProfileIndex("PHONE1"));
        SelectConverter(Combo()->findText(QStringLiteral("Test exporter")));
        Panel().SetWarnings(warnings);
        m_GuiPrompt.mShown.clear();
        const int refuser = ProfileIndex("REFUSER");
        ASSERT_GE(refuser, 0);
        Window().SetCurrentProfile(refuser);
        EXPECT_EQ(Combo()->findText(QStringLiteral("Test exporter")), -1);
        EXPECT_EQ(Combo()->currentIndex(), 0);
        EXPECT_EQ(m_GuiPrompt.mShown.size(), warnings ? 1u : 0u);
    }
    // A converter that stays keeps its place.
    Window().SetCurrentProfile(ProfileIndex("PHONE1"));
    const int picture = Combo()->findText(QStringLiteral("Test picture exporter"));
    SelectConverter(picture);
    m_GuiPrompt.mShown.clear();
    Window().SetCurrentProfile(ProfileIndex("WARY"));
    EXPECT_EQ(Combo()->currentText(), QStringLiteral("Test picture exporter"));
    EXPECT_TRUE(m_GuiPrompt.mShown.empty());
}

} // namespace
