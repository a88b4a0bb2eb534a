#pragma once
#include "Documents/CDocument.h"
#include "Gui/Panels/CSelectorPanel.h"

class CConverterPanel;
class CDestinationSelectorPanel;
class CPreviewPanel;

// The media tab's source panel: the folder, the files the chosen converter can take, the loaded source's
// preview, and the converter choice of the tab.
class CMediaSelectorPanel : public CSelectorPanel
{
    Q_OBJECT
    Q_MOC_INCLUDE("Host/CFileInfo.h")
public:
    CMediaSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);

    QStringList* GetNameList() override { return &mNameList; }
    void SetConverterPanel(CConverterPanel* panel) { mpConverterPanel = panel; }
    void SetDestinationPanel(CDestinationSelectorPanel* panel) { mpDestinationPanel = panel; }
    const QString& GetCurrentFolder() const { return mCurrentFolder; }
    const QString& GetCurrentFileName() const { return mCurrentFile; }
    CPreviewPanel* GetPreviewPanel() const { return mpPreviewPanel; }
    B32 GetWarnings() const { return mWarnings; }
    // The extensions the chosen converter reads as the file list's name pattern ("*.MID;*.mid;;"), and as an
    // open dialog filter with one entry per extension.
    QString BuildImportFilter();
    QString BuildDialogFilter();

public slots:
    void SetCurrentPath(const QString& folder);
    void SetOriginalPath(QString& folder);
    void SetConverterIndex(int* index);
    void SetFileList(const QStringList* list) override;
    void LoadPanel(CDatabase& database) override;
    void SetCurrentFile(QString& name) override;
    void DiskChanged(int index);
    void OnConverterControlChanged(int ConverterControlIndex);
    void UpdateFileView(int index);
    void UpdatePanel(const CFileInfo* info);
    void show();
    void OpenMediaDialog();
    // Lets the loaded media go: the preview empties, the application drops the document, the destination
    // forgets its result.
    void CloseMediaDialog();
    void SetWarnings(B32 on);
    void UpdateConverterList();
    void SetNbOfConverters(int* count);

signals:
    void GetConverterNameList(QStringList& list);
    void PathChanged(QString& path);
    void CurrentFileChanged(QString& name);
    void IndicateDestFile(QString& name, int converter);
    void CurrentFileTypeChanged(int converter);
    void GetCurrentPath(QString& path);
    void GetConverterImportExtensionList(QStringList& list, int converter);
    void SetNotConverted();
    void SetNotSaved();
    void IsConverted(B32* converted);
    void IsSaved(B32* saved);
    void LoadMediaAsked(QString& path, int converter, B32& success);
    void ClearMediaAsked();
    void GetLoadedDocument(CDocument** document);

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    // Lets the loaded media go and tells the other panels that there is none.
    void MediaClosed();
    // False when the user keeps an unsaved result.
    bool MayDropResult();
    void EnterFolder(const QString& folder);
    void FillConverters();

    QStringList mExtensions;
    QString mCurrentFile;
    QString mCurrentFolder;
    QGroupBox* mpPreviewGroup;
    CPreviewPanel* mpPreviewPanel;
    CConverterPanel* mpConverterPanel = nullptr;
    CDestinationSelectorPanel* mpDestinationPanel = nullptr;
    bool mInitialised = false;
    B32 mWarnings = 1;
    int mNbConverters = 0;
    QStringList mNameList;
};
