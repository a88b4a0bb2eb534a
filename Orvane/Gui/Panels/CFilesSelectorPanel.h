#pragma once
#include "Host/CFileInfoList.h"
#include <QAbstractItemView>
#include <QGroupBox>
#include <QPixmap>
#include <QString>
#include <QStringList>

class CDatabase;
class CDiskSelectorControl;
#include "Host/CFileInfo.h"
class CFileSelectorControl;
class QVBoxLayout;

// Root of the file panels: a folder selector over a file list, the list's cell texts, pictures and sort keys,
// and the check for a folder that changed on disk.
class CFilesSelectorPanel : public QGroupBox
{
    Q_OBJECT
    Q_MOC_INCLUDE("Host/CFileInfo.h")
public:
    CFilesSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout,
                        QAbstractItemView::SelectionMode selection);
    ~CFilesSelectorPanel() override;

    // A string list kept by the concrete panel.
    virtual QStringList* GetNameList() = 0;
    virtual QString GetColumnText(int column, const CFileInfo* info);
    virtual QString GetColumnKey(int column, const CFileInfo* info);
    virtual const QPixmap* GetColumnPixmap(int column, const CFileInfo* info);

    // The list's folder entries and file entries, refilled on each call; the items own them.
    CFileInfoList* GetFolderEntries();
    CFileInfoList* GetFileEntries();
    // The vertical position of the first item named as the entry, -1 when none is.
    int FindItemPos(const CFileInfo* info);
    // Whether the folder's sub-folders or its files matching the pattern differ from what the list shows.
    bool IsFolderChanged(const QString& pattern);
    // Same entries (path and name) with the same modification times, in any order.
    static bool CompareLists(CFileInfoList& a, CFileInfoList& b);

    CDiskSelectorControl* GetDiskSelector() const { return mpDiskSelector; }
    CFileSelectorControl* GetFileList() const { return mpFileList; }

public slots:
    virtual void SetFileList(const QStringList* list) = 0;
    virtual void LoadPanel(CDatabase& database) = 0;
    virtual void SetCurrentFile(QString& name) = 0;

protected:
    QVBoxLayout* PanelLayout() const { return mpLayout; }
    // Files, and folders other than "." and "..", each as a new list item holding a copy of the entry.
    void AddEntries(const CFileInfoList* files);

    CDiskSelectorControl* mpDiskSelector;
    CFileSelectorControl* mpFileList;
    CFileInfoList* mpSelectedEntries = nullptr;
    CFileInfoList mFolderEntries;
    CFileInfoList mFileEntries;

private:
    QVBoxLayout* mpLayout;
};
