#pragma once
#include "Gui/Panels/CSingleFileSelectorPanel.h"
#include <QList>

class CSelectorEdit;
class QPushButton;
class QScrollArea;
class QWidget;

// The batch tab's middle panel: one row per converter of the profile, each with a check box and the
// parameter file that the batch uses for it, and the batch file that keeps those rows.
class CParamsSelectorPanel : public CSingleFileSelectorPanel
{
    Q_OBJECT
public:
    CParamsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);

    QStringList* GetNameList() override { return &mNameList; }
    const QList<CSelectorEdit*>& GetRows() const { return mRows; }
    QPushButton* GetLoadButton() const { return mpLoadButton; }
    QPushButton* GetSaveButton() const { return mpSaveButton; }

public slots:
    void show();
    void SetFileList(const QStringList* list) override;
    void LoadPanel(CDatabase& database) override;
    void SetCurrentFile(QString& name) override;
    void SetListOfConverterName(QStringList* names);
    void NewBatch();
    void Save();
    void Load();
    // Appends each row's parameter file name, in row order.
    void GetParamsFileNameList(QStringList& list);
    // Whether row n is checked; false for a row that does not exist.
    void IsChecked(B32* checked, int row);
    void UpdateConverterList();

signals:
    void GetEntireNameList(QStringList& list);
    void PathChanged(QString& path);
    void GetCurrentPath(QString& path);

private:
    void BuildEntries();
    void MakeContentBox();
    // The box for a batch file that failed: the text naming the file, then why on a line of its own.
    void Warn(const char* titleId, const char* textId, const QString& file, const QString& reason);

    bool mBuilt = false;
    QStringList* mpConverterNames = nullptr;
    QScrollArea* mpScrollView;
    QWidget* mpContentBox = nullptr;
    QWidget* mpButtonGroup = nullptr;
    QList<CSelectorEdit*> mRows;
    QPushButton* mpLoadButton = nullptr;
    QPushButton* mpSaveButton = nullptr;
    QString mCurrentPath;
    // Where the batch file dialog opens: set by the first Load, then the folder of the last file loaded.
    QString mLoadFolder;
    bool mLoadFolderSet = false;
    QStringList mNameList;
};
