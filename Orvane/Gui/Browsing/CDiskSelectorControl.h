#pragma once
#include "Host/CLocalFileDriver.h"
#include <QPixmap>
#include <QString>
#include <QWidget>

class CFileSelectorControl;
class CFilesSelectorPanel;
class QComboBox;
class QPushButton;

// The folder selector of a file panel: a combo of drive roots whose current entry shows the folder being
// browsed, and a folder-up button. The panel owns the folder string and re-reads the folder on ItemChanged.
class CDiskSelectorControl : public QWidget
{
    Q_OBJECT
public:
    // Layout 0 puts the button before the combo, layout 1 after it.
    CDiskSelectorControl(QWidget* parent, const QString& name, int layout);

    QComboBox* GetCombo() const { return mpCombo; }
    QPushButton* GetCdUpButton() const { return mpCdUpButton; }
    CLocalFileDriver& GetDriver() { return mDriver; }
    // The panel's folder string; not owned.
    void SetCurrentFolder(QString* folder) { mpCurrentFolder = folder; }
    QString* GetCurrentFolder() const { return mpCurrentFolder; }
    void SetFileList(CFileSelectorControl* list) { mpFileList = list; }
    void SetOwner(CFilesSelectorPanel* owner) { mpOwner = owner; }

public slots:
    // Shows the parent of the current folder (a root is its own parent) and tells the panel.
    void CdUp();
    // The entry of the path's drive shows the path and becomes current; no matching entry changes nothing.
    void UpdateComboList(QString& path);

signals:
    void PathChanged(QString* path);
    void ItemChanged(int index);

private:
    QComboBox* mpCombo;
    QPushButton* mpCdUpButton;
    QString* mpCurrentFolder = nullptr;
    CFileSelectorControl* mpFileList = nullptr;
    CFilesSelectorPanel* mpOwner = nullptr;
    CLocalFileDriver mDriver;
};

// The folder-up picture drawn by the program: a folder with an arrow pointing up.
QPixmap MakeFolderUpPicture();
