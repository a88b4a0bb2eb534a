#pragma once
#include "Gui/Panels/CFilesSelectorPanel.h"
#include "Util/Types.h"

class QTreeWidgetItem;

// A file panel in which one entry at a time is chosen; clicks on the list become file signals.
class CSingleFileSelectorPanel : public CFilesSelectorPanel
{
    Q_OBJECT
    Q_MOC_INCLUDE("Host/CFileInfo.h")
public:
    CSingleFileSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);
    ~CSingleFileSelectorPanel() override;

    // The selected entry (none or one), refilled on each call; the list item owns it.
    CFileInfoList* GetSelectedFiles();

public slots:
    void LoadPanel(CDatabase& database) override = 0;
    void SetCurrentFile(QString& name) override = 0;
    void Clear();
    // Files, and folders other than "." and "..", each as a new list item holding a copy of the entry.
    void AddFiles(const CFileInfoList* files);
    void SelectAll(B32 on);
    void DoubleClicked();
    // A null item (a click on empty space) does nothing.
    void Clicked(QTreeWidgetItem* item);
    void SelectAll();
    void SelectNone();

signals:
    void SelectionChanged();
    void Clicked(const CFileInfo* info);
    void DoubleClicked(const CFileInfo* info);
};
