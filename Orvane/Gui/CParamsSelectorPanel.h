#pragma once
#include "CSingleFileSelectorPanel.h"

// The batch tab's middle panel: one row per converter of the profile, each with a check box and the
// parameter file that the batch uses for it, and the batch file that keeps those rows.
class CParamsSelectorPanel : public CSingleFileSelectorPanel
{
    Q_OBJECT
public:
    CParamsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);

    QStringList* GetNameList() override { return &mNameList; }

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
    bool mBuilt = false;
    QString mCurrentPath;
    QStringList* mpConverterNames = nullptr;
    QStringList mNameList;
};
