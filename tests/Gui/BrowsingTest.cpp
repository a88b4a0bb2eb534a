// The file browsing controls and the panels' list: cells, sort keys, listings compared, clicks.
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileSizeText.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Host/CLocalFileInfo.h"
#include "QtPrinters.h"
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class BrowsingTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_Panel = Tabs().mpMediaSelectorPanel;
        // The browsing controls alone: the media panel's own answers to clicks and folder changes (loading,
        // refilling the list) are tested with the panel.
        QObject::disconnect(m_Panel, qOverload<const CFileInfo*>(&CSingleFileSelectorPanel::Clicked), m_Panel,
                            &CMediaSelectorPanel::UpdatePanel);
        QObject::disconnect(m_Panel->GetDiskSelector(), &CDiskSelectorControl::ItemChanged, m_Panel,
                            &CMediaSelectorPanel::DiskChanged);
        m_Folder = In(QStringLiteral("browse"));
        Write(QStringLiteral("browse/b.mid"), "12345");
        Write(QStringLiteral("browse/a.mid"), "");
        Write(QStringLiteral("browse/zeta/inner.txt"), "x");
    }
    // The media panel's list filled with the folder's entries.
    void Fill()
    {
        CLocalFileDriver& driver = m_Panel->GetDiskSelector()->GetDriver();
        driver.SetCurrentDir(m_Folder);
        m_Panel->Clear();
        m_Panel->AddFiles(
            driver.GetEntryList(QString(), CFileDriver::FILES | CFileDriver::DIRS, CFileDriver::UNSORTED));
    }
    QStringList Names()
    {
        QStringList names;
        CFileSelectorControl* list = m_Panel->GetFileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names.append(list->topLevelItem(i)->text(0));
        return names;
    }

    CMediaSelectorPanel* m_Panel = nullptr;
    QString m_Folder;
};

TEST_F(BrowsingTest, OneDriveIsListedTwice)
{
    QComboBox* combo = m_Panel->GetDiskSelector()->GetCombo();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("/"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("/"));
}

TEST_F(BrowsingTest, FolderUpShowsTheParentAndARootIsItsOwnParent)
{
    CDiskSelectorControl* disk = m_Panel->GetDiskSelector();
    QSignalSpy changed(disk, &CDiskSelectorControl::ItemChanged);
    m_Panel->SetCurrentPath(m_Folder);
    disk->CdUp();
    EXPECT_EQ(disk->GetCombo()->currentText(), m_Start);
    m_Panel->SetCurrentPath(QStringLiteral("/"));
    disk->GetCdUpButton()->click();
    EXPECT_EQ(disk->GetCombo()->currentText(), QStringLiteral("/"));
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(BrowsingTest, APathOnNoListedDriveChangesNothing)
{
    QComboBox* combo = m_Panel->GetDiskSelector()->GetCombo();
    QString path = QStringLiteral("relative/folder");
    m_Panel->GetDiskSelector()->UpdateComboList(path);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("/"));
    EXPECT_EQ(combo->currentIndex(), 0);
}

TEST_F(BrowsingTest, BackspaceGoesUpAndNeverReachesTheList)
{
    Fill();
    CFileSelectorControl* list = m_Panel->GetFileList();
    QSignalSpy up(m_Panel->GetDiskSelector(), &CDiskSelectorControl::ItemChanged);
    list->setCurrentItem(list->topLevelItem(1));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &key);
    EXPECT_TRUE(key.isAccepted());
    EXPECT_EQ(up.count(), 1);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
}

TEST_F(BrowsingTest, CellsAndSortKeysOfFilesAndFolders)
{
    const CLocalFileInfo empty(m_Folder + QStringLiteral("/a.mid"));
    const CLocalFileInfo five(m_Folder + QStringLiteral("/b.mid"));
    const CLocalFileInfo folder(m_Folder + QStringLiteral("/zeta"));
    const struct
    {
        const CFileInfo* info;
        int column;
        QString text;
        QString key;
    } cells[] = {
        {&empty, 0, QStringLiteral("a.mid"), QStringLiteral("1a.mid")},
        {&empty, 1, QStringLiteral("0 B "), QStringLiteral("0000000000")},
        {&five, 1, QStringLiteral("5 B "), QStringLiteral("0000000005")},
        {&five, 2, QStringLiteral("mid"), QStringLiteral("1mid")},
        {&folder, 0, QStringLiteral("zeta"), QStringLiteral(" zeta")},
        {&folder, 1, QString(), QStringLiteral("0000000000")},
        {&folder, 2, QStringLiteral("Folder"), QStringLiteral(" Folder")},
    };
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.text.toStdString());
        EXPECT_EQ(m_Panel->GetColumnText(cell.column, cell.info), cell.text);
        EXPECT_EQ(m_Panel->GetColumnKey(cell.column, cell.info), cell.key);
    }
    const qint64 seconds = five.GetLastModified().toSecsSinceEpoch();
    EXPECT_EQ(m_Panel->GetColumnKey(3, &five), QStringLiteral("%1").arg(seconds, 10, 10, QLatin1Char('0')));
    EXPECT_EQ(m_Panel->GetColumnText(3, &five), five.GetLastModified().toString(Qt::TextDate));
    EXPECT_NE(m_Panel->GetColumnPixmap(0, &folder), nullptr);
    EXPECT_NE(m_Panel->GetColumnPixmap(0, &five), m_Panel->GetColumnPixmap(0, &folder));
    EXPECT_EQ(m_Panel->GetColumnPixmap(1, &five), nullptr);
}

// Sizes fit the Size column: bytes, whole KB rounded up, then MB and GB with one decimal; the list still sorts
// by the bytes.
TEST_F(BrowsingTest, SizesAreShownInUnitsThatFitTheColumn)
{
    const struct
    {
        qint64 bytes;
        const char* shown;
    } sizes[] = {{0, "0 B"},
                 {1023, "1023 B"},
                 {1024, "1 KB"},
                 {1025, "2 KB"},
                 {1048575, "1024 KB"},
                 {1048576, "1.0 MB"},
                 {149940000, "143.0 MB"},
                 {1073741823, "1024.0 MB"},
                 {1073741824, "1.0 GB"},
                 {4294967295, "4.0 GB"}};
    for (const auto& size : sizes)
        EXPECT_EQ(FileSizeText(size.bytes), QString::fromLatin1(size.shown)) << size.bytes;
    // Shown in the list's own font, the widest fits the column with the cell's margins.
    const CFileSelectorControl* list = m_Panel->GetFileList();
    EXPECT_LT(list->fontMetrics().horizontalAdvance(QStringLiteral("1024.0 MB ")) + 12,
              list->columnWidth(CFileSelectorControl::SIZE_COLUMN));
}

TEST_F(BrowsingTest, FoldersSortFirstAscendingAndLastDescending)
{
    Fill();
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("zeta"), QStringLiteral("a.mid"), QStringLiteral("b.mid")}));
    m_Panel->GetFileList()->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("b.mid"), QStringLiteral("a.mid"), QStringLiteral("zeta")}));
    m_Panel->GetFileList()->sortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(Names().last(), QStringLiteral("b.mid"));
    EXPECT_EQ(m_Panel->GetFolderEntries()->count(), 1);
    EXPECT_EQ(m_Panel->GetFileEntries()->count(), 2);
}

TEST_F(BrowsingTest, ListingsDifferWhenAFileIsTouchedAddedOrGone)
{
    Fill();
    CFileInfoList same;
    for (CFileInfo* entry : *m_Panel->GetFileEntries())
        same.append(entry);
    EXPECT_TRUE(CFilesSelectorPanel::CompareLists(*m_Panel->GetFileEntries(), same));
    CFileInfoList none;
    CFileInfoList alsoNone;
    EXPECT_TRUE(CFilesSelectorPanel::CompareLists(none, alsoNone));
    EXPECT_FALSE(CFilesSelectorPanel::CompareLists(*m_Panel->GetFileEntries(), none));

    m_Panel->GetDiskSelector()->GetCombo()->setItemText(0, m_Folder);
    m_Panel->GetDiskSelector()->GetCombo()->setCurrentIndex(0);
    EXPECT_FALSE(m_Panel->IsFolderChanged(QString()));
    QFile touched(m_Folder + QStringLiteral("/b.mid"));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    touched.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    touched.close();
    EXPECT_TRUE(m_Panel->IsFolderChanged(QString()));
    Fill();
    Write(QStringLiteral("browse/zeta2/x"), "");
    EXPECT_TRUE(m_Panel->IsFolderChanged(QString()));
    // The driver's folder is left as it was.
    EXPECT_EQ(m_Panel->GetDiskSelector()->GetDriver().GetCurrentDir(), m_Folder);
}

TEST_F(BrowsingTest, ClicksOnEmptySpaceDoNothing)
{
    Fill();
    QSignalSpy clicked(m_Panel, qOverload<const CFileInfo*>(&CSingleFileSelectorPanel::Clicked));
    m_Panel->Clicked(static_cast<QTreeWidgetItem*>(nullptr));
    EXPECT_EQ(clicked.count(), 0);
    CFileSelectorControl* list = m_Panel->GetFileList();
    list->setCurrentItem(list->topLevelItem(2));
    m_Panel->Clicked(list->topLevelItem(2));
    ASSERT_EQ(clicked.count(), 1);
    ASSERT_EQ(m_Panel->GetSelectedFiles()->count(), 1);
    EXPECT_EQ(m_Panel->GetSelectedFiles()->at(0)->GetFileName(), QStringLiteral("b.mid"));
    EXPECT_EQ(m_Panel->FindItemPos(m_Panel->GetSelectedFiles()->at(0)), list->ItemPos(list->topLevelItem(2)));
    const CLocalFileInfo missing(m_Folder + QStringLiteral("/none.mid"));
    EXPECT_EQ(m_Panel->FindItemPos(&missing), -1);
    m_Panel->SelectNone();
    EXPECT_EQ(m_Panel->GetSelectedFiles()->count(), 0);
}

} // namespace
