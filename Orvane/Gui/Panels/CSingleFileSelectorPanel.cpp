#include "Gui/Panels/CSingleFileSelectorPanel.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Widgets/GuiResources.h"
#include "Host/CFileInfo.h"

CSingleFileSelectorPanel::CSingleFileSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CFilesSelectorPanel(parent, name, diskSelectorLayout, QAbstractItemView::SingleSelection)
{
    mpSelectedEntries = new CFileInfoList(false);
    CheckConnection(
        connect(mpFileList, &CFileSelectorControl::BackspacePressed, mpDiskSelector, &CDiskSelectorControl::CdUp));
    CheckConnection(
        connect(mpFileList, &QTreeWidget::itemSelectionChanged, this, &CSingleFileSelectorPanel::SelectionChanged));
    CheckConnection(connect(mpFileList, &QTreeWidget::itemActivated, this,
                            qOverload<QTreeWidgetItem*>(&CSingleFileSelectorPanel::Clicked)));
    CheckConnection(connect(mpFileList, &QTreeWidget::itemClicked, this,
                            qOverload<QTreeWidgetItem*>(&CSingleFileSelectorPanel::Clicked)));
    CheckConnection(connect(mpFileList, &QTreeWidget::itemDoubleClicked, this,
                            qOverload<>(&CSingleFileSelectorPanel::DoubleClicked)));
}

CSingleFileSelectorPanel::~CSingleFileSelectorPanel()
{
    delete mpSelectedEntries;
}

CFileInfoList* CSingleFileSelectorPanel::GetSelectedFiles()
{
    mpSelectedEntries->clear();
    const QList<QTreeWidgetItem*> selected = mpFileList->selectedItems();
    if (!selected.isEmpty())
        mpSelectedEntries->append(const_cast<CFileInfo*>(static_cast<CFileListItem*>(selected.first())->GetInfo()));
    return mpSelectedEntries;
}

void CSingleFileSelectorPanel::Clear()
{
    mpFileList->clear();
}

void CSingleFileSelectorPanel::AddFiles(const CFileInfoList* files)
{
    AddEntries(files);
}

void CSingleFileSelectorPanel::SelectAll(B32 on)
{
    if (on)
        mpFileList->selectAll();
    else
        mpFileList->clearSelection();
}

void CSingleFileSelectorPanel::SelectAll()
{
    SelectAll(1);
}

void CSingleFileSelectorPanel::SelectNone()
{
    SelectAll(0);
}

void CSingleFileSelectorPanel::Clicked(QTreeWidgetItem* item)
{
    QTreeWidgetItem* current = mpFileList->currentItem();
    if (!item || !current)
        return;
    current->setSelected(true);
    emit Clicked(static_cast<CFileListItem*>(current)->GetInfo());
}

void CSingleFileSelectorPanel::DoubleClicked()
{
    if (QTreeWidgetItem* current = mpFileList->currentItem())
        emit DoubleClicked(static_cast<CFileListItem*>(current)->GetInfo());
}
