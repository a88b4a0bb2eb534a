#include "CBatchSelectorPanel.h"
#include "CDiskSelectorControl.h"
#include "CFileSelectorControl.h"
#include "GuiResources.h"
#include <QCheckBox>
#include <QComboBox>
#include <QVBoxLayout>

CBatchSelectorPanel::CBatchSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CFilesSelectorPanel(parent, name, diskSelectorLayout, QAbstractItemView::ExtendedSelection),
      mpRecursive(new QCheckBox(this))
{
    setTitle(GuiText("CBatchSelectorPanel", "id_source_panel"));
    mpRecursive->setText(GuiText("CBatchSelectorPanel", "id_recursive_caption"));
    mpRecursive->setEnabled(false);
    PanelLayout()->addWidget(mpRecursive);
    mpDiskSelector->SetCurrentFolder(&mCurrentFolder);

    CheckConnection(connect(mpFileList, &QTreeWidget::itemSelectionChanged, this,
                            &CBatchSelectorPanel::SelectionChanged));
    CheckConnection(connect(mpFileList, &QTreeWidget::itemClicked, this, qOverload<>(&CBatchSelectorPanel::Clicked)));
    CheckConnection(connect(mpFileList, &QTreeWidget::itemDoubleClicked, this,
                            qOverload<>(&CBatchSelectorPanel::DoubleClicked)));
    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CBatchSelectorPanel::DoubleClicked), this,
                            &CBatchSelectorPanel::UpdatePanel));
    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CBatchSelectorPanel::Clicked), this,
                            &CBatchSelectorPanel::UpdateOption));
    CheckConnection(connect(this, &CBatchSelectorPanel::PathChanged, mpDiskSelector,
                            &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CBatchSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this,
                            &CBatchSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this, &CBatchSelectorPanel::OnCdUp));
}

void CBatchSelectorPanel::SetFileList(const QStringList*)
{
}

void CBatchSelectorPanel::LoadPanel(CDatabase&)
{
}

void CBatchSelectorPanel::SetCurrentFile(QString&)
{
}

void CBatchSelectorPanel::Clear()
{
    mpFileList->clear();
}

void CBatchSelectorPanel::AddFiles(const CFileInfoList* files)
{
    AddEntries(files);
}

void CBatchSelectorPanel::DiskChanged(int)
{
}

void CBatchSelectorPanel::UpdatePanel(const CFileInfo*)
{
    mInitialised = true;
}

void CBatchSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CBatchSelectorPanel::GetSourceFileNameList(QStringList&)
{
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
    const bool folder = info && info->IsDir();
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
