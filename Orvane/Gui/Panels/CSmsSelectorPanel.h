#pragma once
#include "Gui/Panels/CSelectorPanel.h"

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
    // The bare name of the chosen source file; empty when none is chosen.
    const QString& GetCurrentFileName() const { return mCurrentFile; }
    B32 GetWarnings() const { return mWarnings; }
    // The chosen translator's input extensions as the file list's name pattern ("*.ECD;*.ecd;;"), and as an
    // open dialog filter with one entry per extension.
    QString BuildImportFilter();
    QString BuildDialogFilter();

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
    // Shows a media result just saved, with the first translator that takes it.
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

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    // Makes the folder current and lists it, with no file chosen.
    void EnterFolder(const QString& folder);
    // Refills the translator combo from an empty one; the current item is the one of that name, else the first.
    void FillTranslators(const QString& keep);
    // Tells the other panels of the tab that no file is chosen.
    void AnnounceNoFile();

    QStringList mExtensions;
    QString mCurrentFile;
    QString mCurrentFolder;
    CSmsBuilderPanel* mpBuilderPanel = nullptr;
    bool mInitialised = false;
    B32 mWarnings = 1;
    QStringList mNameList;
};
