#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Widgets/GuiResources.h"
#include "Host/CLocalFileInfo.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QVBoxLayout>
#include <memory>
#include <vector>

CBatchSelectorPanel::CBatchSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CFilesSelectorPanel(parent, name, diskSelectorLayout, QAbstractItemView::ExtendedSelection),
      mpRecursive(new QCheckBox(this))
{
    setTitle(GuiText("CBatchSelectorPanel", "id_batch_source_panel"));
    mpDiskSelector->setToolTip(GuiText("CBatchSelectorPanel", "id_tool_tip_directory_selection"));
    mpFileList->setToolTip(GuiText("CBatchSelectorPanel", "id_tool_tip_file_and_directory_list"));
    mpSelectedEntries = &mSelectedEntries;
    mpRecursive->setText(GuiText("CBatchSelectorPanel", "id_recursive_caption"));
    mpRecursive->setEnabled(false);
    PanelLayout()->addWidget(mpRecursive);
    mpDiskSelector->SetCurrentFolder(&mCurrentFolder);

    CheckConnection(
        connect(mpFileList, &QTreeWidget::itemSelectionChanged, this, &CBatchSelectorPanel::SelectionChanged));
    CheckConnection(connect(mpFileList, &QTreeWidget::itemClicked, this, qOverload<>(&CBatchSelectorPanel::Clicked)));
    CheckConnection(
        connect(mpFileList, &QTreeWidget::itemDoubleClicked, this, qOverload<>(&CBatchSelectorPanel::DoubleClicked)));
    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CBatchSelectorPanel::DoubleClicked), this,
                            &CBatchSelectorPanel::UpdatePanel));
    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CBatchSelectorPanel::Clicked), this,
                            &CBatchSelectorPanel::UpdateOption));
    CheckConnection(
        connect(this, &CBatchSelectorPanel::PathChanged, mpDiskSelector, &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CBatchSelectorPanel::DiskChanged));
    CheckConnection(
        connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this, &CBatchSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this, &CBatchSelectorPanel::OnCdUp));
}

void CBatchSelectorPanel::SetFileList(const QStringList*) {}

void CBatchSelectorPanel::LoadPanel(CDatabase&) {}

void CBatchSelectorPanel::SetCurrentFile(QString&) {}

void CBatchSelectorPanel::Clear()
{
    mpFileList->clear();
}

void CBatchSelectorPanel::AddFiles(const CFileInfoList* files)
{
    AddEntries(files);
}

QString CBatchSelectorPanel::BuildPattern()
{
    QStringList extensions;
    emit GetEntireImportExtensionList(extensions);
    QString pattern;
    for (const QString& extension : extensions)
        pattern += QStringLiteral("*.") + extension + QLatin1Char(';');
    return pattern;
}

void CBatchSelectorPanel::AddListing(const QString& pattern)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    AddFiles(driver.GetEntryList(QString(), CFileDriver::DIRS, CFileDriver::UNSORTED | CFileDriver::SORT_DIRS_FIRST));
    AddFiles(driver.GetEntryList(pattern, CFileDriver::FILES, CFileDriver::UNSORTED | CFileDriver::SORT_DIRS_FIRST));
}

void CBatchSelectorPanel::Refill(const QString& pattern)
{
    mpDiskSelector->GetDriver().SetCurrentDir(mpDiskSelector->GetCombo()->currentText());
    Clear();
    AddListing(pattern);
}

void CBatchSelectorPanel::DiskChanged(int index)
{
    mCurrentFolder = mpDiskSelector->GetCombo()->itemText(index);
    mpDiskSelector->GetDriver().SetCurrentDir(mCurrentFolder);
    emit PathChanged(mCurrentFolder);
    Refill(BuildPattern());
    mpRecursive->setEnabled(false);
}

void CBatchSelectorPanel::UpdatePanel(const CFileInfo* info)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    if (!mInitialised) {
        mInitialised = true;
        const QString pattern = BuildPattern();
        if (mCurrentFolder.isEmpty())
            emit GetCurrentPath(mCurrentFolder);
        mpDiskSelector->SetCurrentFolder(&mCurrentFolder);
        driver.SetCurrentDir(mCurrentFolder);
        emit PathChanged(mCurrentFolder);
        AddListing(pattern);
        return;
    }
    if (!info || !info->IsDir())
        return;
    // The entry belongs to the list that the refill empties.
    mCurrentFolder = info->GetFilePath();
    driver.SetCurrentDir(mCurrentFolder);
    emit PathChanged(mCurrentFolder);
    Refill(BuildPattern());
    mpRecursive->setEnabled(false);
}

void CBatchSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CBatchSelectorPanel::GetSourceFileNameList(QStringList& list)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    QSet<QString> walked;
    for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = mpFileList->topLevelItem(i);
        if (!item->isSelected())
            continue;
        const CFileInfo* info = static_cast<CFileListItem*>(item)->GetInfo();
        if (info->IsDir()) {
            driver.SetCurrentDir(mpDiskSelector->GetCombo()->currentText());
            WalkFolder(info->GetFilePath(), mpRecursive->isChecked(), list, walked);
        } else {
            const QString separator = mCurrentFolder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
            list.append(mCurrentFolder + separator + info->GetFileName());
        }
    }
}

void CBatchSelectorPanel::WalkFolder(const QString& path, bool recursive, QStringList& list, QSet<QString>& walked)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || walked.contains(canonical))
        return;
    walked.insert(canonical);
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    const QString saved = driver.GetCurrentDir();
    if (!driver.SetCurrentDir(path))
        return;
    if (recursive) {
        // The driver refills its listing at every call: the names are taken before going down.
        QStringList folders;
        for (const CFileInfo* folder : *driver.GetEntryList(QString(), CFileDriver::DIRS, CFileDriver::SORT_NAME))
            folders.append(folder->GetFilePath());
        for (const QString& folder : folders)
            WalkFolder(folder, true, list, walked);
        driver.SetCurrentDir(path);
    }
    for (const CFileInfo* file : *driver.GetEntryList(QString(), CFileDriver::FILES, CFileDriver::SORT_NAME))
        list.append(path + QLatin1Char('/') + file->GetFileName());
    driver.SetCurrentDir(saved);
}

void CBatchSelectorPanel::SetOriginalPath(QString& folder)
{
    folder = mCurrentFolder;
}

void CBatchSelectorPanel::OnCdUp(int)
{
    UpdateOption(nullptr);
}

void CBatchSelectorPanel::UpdateOption(const CFileInfo* info)
{
    QTreeWidgetItem* current = mpFileList->currentItem();
    const bool folder = info && info->IsDir() && current && current->isSelected();
    mpRecursive->setEnabled(folder);
    if (!folder)
        mpRecursive->setChecked(false);
}

void CBatchSelectorPanel::DoubleClicked()
{
    if (QTreeWidgetItem* current = mpFileList->currentItem())
        emit DoubleClicked(static_cast<CFileListItem*>(current)->GetInfo());
}

void CBatchSelectorPanel::Clicked()
{
    if (QTreeWidgetItem* current = mpFileList->currentItem())
        emit Clicked(static_cast<CFileListItem*>(current)->GetInfo());
}

void CBatchSelectorPanel::enterEvent(QEnterEvent* event)
{
    const QString pattern = BuildPattern();
    if (mInitialised && IsFolderChanged(pattern)) {
        // The folder changed on disk: the list is read again and what was selected stays selected.
        std::vector<std::unique_ptr<CFileInfo>> selected;
        for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = mpFileList->topLevelItem(i);
            if (item->isSelected())
                selected.emplace_back(static_cast<CFileListItem*>(item)->GetInfo()->Clone());
        }
        mSelectedEntries.clear();
        for (const auto& entry : selected)
            mSelectedEntries.append(entry.get());
        Refill(pattern);
        for (const auto& entry : selected) {
            for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = mpFileList->topLevelItem(i);
                if (static_cast<CFileListItem*>(item)->GetInfo()->GetFileName() == entry->GetFileName())
                    item->setSelected(true);
            }
        }
        mSelectedEntries.clear();
    }
    CFilesSelectorPanel::enterEvent(event);
}
