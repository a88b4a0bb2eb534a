#pragma once
#include "CSelectorPanel.h"

class CSmsBuilderPanel;

// The SMS tab's source panel: the folder, the files the chosen translator can take, and the translator
// choice of the tab.
class CSmsSelectorPanel : public CSelectorPanel
{
    Q_OBJECT
    Q_MOC_INCLUDE("Host/CFileInfo.h")
public:
    CSmsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);

    QStringList* GetNameList() override { return &mNameList; }
    void SetBuilderPanel(CSmsBuilderPanel* panel) { mpBuilderPanel = panel; }
    const QString& GetCurrentFolder() const { return mCurrentFolder; }
    void SetCurrentFolder(const QString& folder) { mCurrentFolder = folder; }
    B32 GetWarnings() const { return mWarnings; }
    const QString& GetLastSavedMedia() const { return mSavedMedia; }

public slots:
    void SetFileList(const QStringList* list) override;
    void LoadPanel(CDatabase& database) override;
    void SetCurrentFile(QString& name) override;
    void DiskChanged(int index);
    void UpdateFileView(int index);
    void UpdatePanel(const CFileInfo* info);
    void SetOriginalPath(QString& folder);
    void OpenSmsDialog();
    void show();
    void MediaConversionSaved(QString& path);
    void GetTranslatorIndex(int* index);
    void OnConverterControlChanged(int translator);
    void SetWarnings(B32 on);
    void UpdateConverterList();

signals:
    void GetTraductorNameList(QStringList& list);
    void PathChanged(QString& path);
    void CurrentFileChanged(QString& name);
    void CurrentFileTypeChanged(int translator);
    void GetCurrentPath(QString& path);
    void GetTraductorImportExtensionList(QStringList& list, int translator);
    void IndicateDestFile(QString& name, int translator);

private:
    QString mCurrentFile;
    QString mCurrentFolder;
    QString mSavedMedia;
    CSmsBuilderPanel* mpBuilderPanel = nullptr;
    bool mInitialised = false;
    B32 mWarnings = 1;
    QStringList mNameList;
};
