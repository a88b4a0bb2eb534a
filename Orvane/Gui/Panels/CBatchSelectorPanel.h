#pragma once
#include "Gui/Panels/CFilesSelectorPanel.h"
#include "Util/Types.h"

class QCheckBox;
class QEnterEvent;
template <typename T>
class QSet;

// The batch tab's source panel: any number of files and folders chosen from one folder.
class CBatchSelectorPanel : public CFilesSelectorPanel
{
    Q_OBJECT
    Q_MOC_INCLUDE("Host/CFileInfo.h")
public:
    CBatchSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);

    QStringList* GetNameList() override { return &mNameList; }
    const QString& GetCurrentFolder() const { return mCurrentFolder; }
    void SetCurrentFolder(const QString& folder) { mCurrentFolder = folder; }
    QCheckBox* GetRecursiveBox() const { return mpRecursive; }

public slots:
    void SetFileList(const QStringList* list) override;
    void LoadPanel(CDatabase& database) override;
    void SetCurrentFile(QString& name) override;
    void Clear();
    void AddFiles(const CFileInfoList* files);
    void DiskChanged(int index);
    void UpdatePanel(const CFileInfo* info);
    void show();
    void GetSourceFileNameList(QStringList& list);
    void SetOriginalPath(QString& folder);
    void OnCdUp(int index);
    void UpdateOption(const CFileInfo* info);

protected slots:
    void DoubleClicked();
    void Clicked();

signals:
    void GetEntireNameList(QStringList& entireNameList);
    void PathChanged(QString& path);
    void GetCurrentPath(QString& path);
    void GetEntireImportExtensionList(QStringList& list);
    void SelectionChanged();
    void Clicked(const CFileInfo* fileInfo);
    void DoubleClicked(const CFileInfo* fileInfo);

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    // "*.ext;" for every extension some converter of the phone reads.
    QString BuildPattern();
    // The list shows the folder of the combo: its sub-folders, then its files matching the pattern.
    void Refill(const QString& pattern);
    void AddListing(const QString& pattern);
    // Appends the files of the folder, those of its sub-folders first when recursive. A folder already
    // walked (by its canonical path) is skipped, so a link back to a parent ends.
    void WalkFolder(const QString& path, bool recursive, QStringList& list, QSet<QString>& walked);

    CFileInfoList mSelectedEntries;
    QString mCurrentFolder;
    bool mInitialised = false;
    QCheckBox* mpRecursive;
    QStringList mNameList;
};
