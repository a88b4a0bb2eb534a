// The batch tab's source panel: the files and folders chosen, walked with or without their sub-folders.
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class BatchSourceTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_Panel = Tabs().mpBatchSelectorPanel;
        QStringList extensions;
        emit m_Panel->GetEntireImportExtensionList(extensions);
        ASSERT_FALSE(extensions.isEmpty());
        m_Ext = QLatin1Char('.') + extensions.first();
        m_Folder = In(QStringLiteral("F"));
        for (const char* name : {"a", "b", "sub/c", "sub/deeper/d"})
            Write(QStringLiteral("F/") + QString::fromLatin1(name) + m_Ext, "x");
        // Not listed, as no converter reads it; a selected folder gives it all the same.
        Write(QStringLiteral("F/sub/notes.unknown"), "x");
        Write(QStringLiteral("F/skipped.unknown"), "x");
    }
    void Show(const QString& folder)
    {
        m_Panel->SetCurrentFolder(folder);
        m_Panel->show();
    }
    QStringList Names() const
    {
        QStringList names;
        CFileSelectorControl* list = m_Panel->GetFileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names.append(list->topLevelItem(i)->text(0));
        return names;
    }
    QTreeWidgetItem* Item(const QString& name) const
    {
        CFileSelectorControl* list = m_Panel->GetFileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(0) == name)
                return list->topLevelItem(i);
        ADD_FAILURE() << qPrintable(name);
        return nullptr;
    }
    // A click as the list reports it: the item becomes current, its selection toggled as the user left it.
    void Click(const QString& name, bool selected)
    {
        QTreeWidgetItem* item = Item(name);
        m_Panel->GetFileList()->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        item->setSelected(selected);
        emit m_Panel->GetFileList()->itemClicked(item, 0);
    }
    QStringList Chosen()
    {
        QStringList files;
        m_Panel->GetSourceFileNameList(files);
        return files;
    }
    QString F(const QString& relative) const { return m_Folder + QLatin1Char('/') + relative; }

    CBatchSelectorPanel* m_Panel = nullptr;
    QString m_Ext;
    QString m_Folder;
};

TEST_F(BatchSourceTest, SelectedFoldersComeWithTheirSubFoldersOnlyWhenRecursive)
{
    Show(m_Folder);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("sub"), QStringLiteral("a") + m_Ext, QStringLiteral("b") + m_Ext}));
    EXPECT_EQ(m_Panel->title(), GuiMessage("CBatchSelectorPanel", "id_batch_source_panel"));
    EXPECT_TRUE(Chosen().isEmpty());
    for (const char* name : {"a", "b"})
        Item(QString::fromLatin1(name) + m_Ext)->setSelected(true);
    Click(QStringLiteral("sub"), true);
    EXPECT_TRUE(m_Panel->GetRecursiveBox()->isEnabled());
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isChecked());
    EXPECT_EQ(Chosen(), (QStringList{F(QStringLiteral("sub/c") + m_Ext), F(QStringLiteral("sub/notes.unknown")),
                                     F(QStringLiteral("a") + m_Ext), F(QStringLiteral("b") + m_Ext)}));
    m_Panel->GetRecursiveBox()->setChecked(true);
    QStringList files{QStringLiteral("kept")};
    m_Panel->GetSourceFileNameList(files);
    EXPECT_EQ(files, (QStringList{QStringLiteral("kept"), F(QStringLiteral("sub/deeper/d") + m_Ext),
                                  F(QStringLiteral("sub/c") + m_Ext), F(QStringLiteral("sub/notes.unknown")),
                                  F(QStringLiteral("a") + m_Ext), F(QStringLiteral("b") + m_Ext)}));
}

TEST_F(BatchSourceTest, TheRecursiveBoxFollowsTheClickedFolder)
{
    Show(m_Folder);
    Click(QStringLiteral("sub"), true);
    EXPECT_TRUE(m_Panel->GetRecursiveBox()->isEnabled());
    m_Panel->GetRecursiveBox()->setChecked(true);
    // Clicked again while selected: the check stays.
    Click(QStringLiteral("sub"), true);
    EXPECT_TRUE(m_Panel->GetRecursiveBox()->isChecked());
    // Toggled off by the click: disabled and unchecked.
    Click(QStringLiteral("sub"), false);
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isEnabled());
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isChecked());
    Click(QStringLiteral("sub"), true);
    EXPECT_TRUE(m_Panel->GetRecursiveBox()->isEnabled());
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isChecked());
    m_Panel->GetRecursiveBox()->setChecked(true);
    Click(QStringLiteral("a") + m_Ext, true);
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isEnabled());
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isChecked());
}

TEST_F(BatchSourceTest, AFolderEndingInASlashGivesOneSlash)
{
    Show(m_Folder + QLatin1Char('/'));
    Item(QStringLiteral("a") + m_Ext)->setSelected(true);
    EXPECT_EQ(Chosen(), QStringList{F(QStringLiteral("a") + m_Ext)});
    QString folder;
    m_Panel->SetOriginalPath(folder);
    EXPECT_EQ(folder, m_Folder + QLatin1Char('/'));
}

TEST_F(BatchSourceTest, ADoubleClickedFolderBecomesTheFolderAndAFileDoesNothing)
{
    Show(m_Folder);
    Item(QStringLiteral("a") + m_Ext)->setSelected(true);
    m_Panel->GetFileList()->setCurrentItem(Item(QStringLiteral("b") + m_Ext), 0, QItemSelectionModel::NoUpdate);
    emit m_Panel->GetFileList()->itemDoubleClicked(Item(QStringLiteral("b") + m_Ext), 0);
    EXPECT_EQ(m_Panel->GetCurrentFolder(), m_Folder);
    EXPECT_EQ(Chosen(), QStringList{F(QStringLiteral("a") + m_Ext)});

    m_Panel->GetFileList()->setCurrentItem(Item(QStringLiteral("sub")), 0, QItemSelectionModel::NoUpdate);
    emit m_Panel->GetFileList()->itemDoubleClicked(Item(QStringLiteral("sub")), 0);
    EXPECT_EQ(m_Panel->GetCurrentFolder(), F(QStringLiteral("sub")));
    EXPECT_EQ(m_Panel->GetDiskSelector()->GetCombo()->currentText(), F(QStringLiteral("sub")));
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("deeper"), QStringLiteral("c") + m_Ext}));
    EXPECT_TRUE(Chosen().isEmpty());
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isEnabled());
}

TEST_F(BatchSourceTest, ALinkBackToAParentEndsTheWalk)
{
    ASSERT_TRUE(QFile::link(m_Folder, F(QStringLiteral("sub/deeper/back"))));
    Show(m_Folder);
    Click(QStringLiteral("sub"), true);
    m_Panel->GetRecursiveBox()->setChecked(true);
    Item(QStringLiteral("a") + m_Ext)->setSelected(true);
    const QStringList files = Chosen();
    // Every file once: the link leads to the folder above, walked only through the link itself.
    EXPECT_EQ(files.size(), QSet<QString>(files.begin(), files.end()).size()) << qPrintable(files.join(LF));
    EXPECT_TRUE(files.contains(F(QStringLiteral("sub/c") + m_Ext)));
    EXPECT_TRUE(files.contains(F(QStringLiteral("sub/deeper/d") + m_Ext)));
}

TEST_F(BatchSourceTest, AFolderChangedOnDiskIsReadAgainOnEnteringWithItsSelectionKept)
{
    Show(m_Folder);
    Item(QStringLiteral("b") + m_Ext)->setSelected(true);
    Write(QStringLiteral("F/aa") + m_Ext, "new");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(m_Panel, &enter);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("sub"), QStringLiteral("a") + m_Ext, QStringLiteral("aa") + m_Ext,
                                    QStringLiteral("b") + m_Ext}));
    EXPECT_EQ(Chosen(), QStringList{F(QStringLiteral("b") + m_Ext)});
}

TEST_F(BatchSourceTest, AnotherFolderDisablesTheRecursiveBox)
{
    // On screen, for the real double click below.
    m_Panel->SetCurrentFolder(F(QStringLiteral("sub")));
    Window().show();
    Tabs().ShowPage(COrvTabview::BATCH_TAB);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    Click(QStringLiteral("deeper"), true);
    EXPECT_TRUE(m_Panel->GetRecursiveBox()->isEnabled());
    // Up to the parent with the folder selector's button.
    m_Panel->GetDiskSelector()->GetCdUpButton()->click();
    EXPECT_EQ(m_Panel->GetCurrentFolder(), m_Folder);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("sub"), QStringLiteral("a") + m_Ext, QStringLiteral("b") + m_Ext}));
    EXPECT_FALSE(m_Panel->GetRecursiveBox()->isEnabled());

    // A real double click on a folder opens it; the list it came from is gone by then.
    CFileSelectorControl* list = m_Panel->GetFileList();
    // On its name: the whole row is wider than the narrow list.
    const QRect row = list->visualItemRect(Item(QStringLiteral("sub")));
    const QPoint place(row.left() + list->columnWidth(CFileSelectorControl::NAME_COLUMN) / 2, row.center().y());
    // The view takes a double click only on the item the button went down on.
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
    EXPECT_EQ(m_Panel->GetCurrentFolder(), F(QStringLiteral("sub")));
}

} // namespace
