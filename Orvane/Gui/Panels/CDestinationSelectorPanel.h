#pragma once
#include "Documents/CDocument.h"
#include "Gui/Panels/CSingleFileSelectorPanel.h"

class CBatchInfoList;
class CFileIndicatorControl;
class CGenerationInfo;
class CParameters;
class CPreviewPanel;
class QCheckBox;
class QDialog;
class QPushButton;

// The right-hand panel of every tab: the destination folder and the button that starts the tab's work.
// Mode 0 converts and saves media and previews the result, mode 1 generates SMS files, mode 2 launches a batch.
class CDestinationSelectorPanel : public CSingleFileSelectorPanel
{
    Q_OBJECT
    Q_MOC_INCLUDE("Core/CBatchInfo.h")
    Q_MOC_INCLUDE("Core/CGenerationInfo.h")
    Q_MOC_INCLUDE("Parameters/CParameters.h")
public:
    enum
    {
        MEDIA = 0,
        SMS = 1,
        BATCH = 2
    };

    CDestinationSelectorPanel(QWidget* parent, const QString& name, int mode, int unused, int diskSelectorLayout);
    ~CDestinationSelectorPanel() override;

    QStringList* GetNameList() override { return &mNameList; }
    int GetMode() const { return mMode; }
    // The folder results are written to; null until one is known.
    const QString& GetOutputFolder() const { return mDestinationFolder; }
    void SetOutputFolder(const QString& folder) { mDestinationFolder = folder; }
    const QString& GetCurrentSourceFile() const { return mCurrentFile; }
    CPreviewPanel* GetResultPreview() const { return mpResultPreview; }
    CPreviewPanel* GetRawDataPreview() const { return mpRawDataPreview; }
    QDialog* GetRawDataWindow() const { return mpRawDataWindow; }
    QPushButton* GetSaveButton() const { return mpSaveButton; }
    QPushButton* GetConvertButton() const { return mpConvertButton; }
    QPushButton* GetGenerateButton() const { return mpGenerateButton; }
    QCheckBox* GetRawDataCheckBox() const { return mpRawDataCheckBox; }
    QCheckBox* GetPreviewCheckBox() const { return mpPreviewCheckBox; }
    CFileIndicatorControl* GetDestFileIndicator() const { return mpDestFileIndicator; }
    B32 GetWarnings() const { return mWarnings; }
    // The name proposed for a result of this source, up to the extension ("clip.long.wav" gives "clip.").
    static QString ProposedBaseName(const QString& source);
    // Whether the file name ends in "." and the extension (any case) with something before the dot.
    static bool HasExtension(const QString& path, const QString& extension);

public slots:
    void LoadPanel(CDatabase& database) override;
    void SetCurrentFile(QString& name) override;
    void SetFileList(const QStringList* list) override;
    void DiskChanged(int index);
    void UpdatePanel(const CFileInfo* info);
    void ConvertButtonClicked();
    void SaveButtonClicked();
    void SaveAs();
    void GenerateButtonClicked();
    void LaunchButtonClicked();
    void show();
    // Both previews show nothing; without a source, neither does the result's name.
    void OnConverterControlChanged();
    void IndicateDestFile(QString& name, int converter);
    void SetNotConverted();
    // The end of a conversion that left a result: a new result, not saved yet.
    void SetConverted();
    void SetNotSaved();
    void IsConverted(B32* converted);
    void IsSaved(B32* saved);
    void UpdatePreview(QStringList& files, CDocument::DOCTYPE type);
    void NewProfileSelected();
    // The warnings setting: its questions are asked only while it is on.
    void SetWarnings(B32 on);

signals:
    void PathChanged(QString& path);
    void GetCurrentPath(QString& path);
    void GetOriginalPath(QString& path);
    void GetExportExtension(QString& extension);
    void GetExportExtensionForConverter(QString& extension, int converter);
    void GetExportExtensionForTranslator(QString& extension, int translator);
    void SaveAsked(B32 savePreview, QString folder, QString fileName, B32& saved);
    void ConvertionAsked(B32 rawData, CGenerationInfo* info);
    void GetConverterIndex(int* index);
    void GetConverterParameters(CParameters** parameters);
    void TranslationAsked(CGenerationInfo* info, QString outputPath);
    void GetTranslatorIndex(int* index);
    void GetTranslatorParameters(CParameters** parameters);
    void LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result);
    void GetPreviewDocument(CDocument** ppDoc);
    void GetPreviewRawData(CDocument** ppDoc);
    void GetParamsFileNameList(QStringList& list);
    void GetSourceFileNameList(QStringList& list);
    void GetExtensionListForBatch(int row, QStringList& list);
    void ResultFileSaved(QString& path);
    void GetResultFileName(QString& name);
    void IsChecked(B32* checked, int row);
    void PreviewFileSelected();
    void LoadPreviewAsked(const QStringList& files, CDocument::DOCTYPE type, B32& success);
    void GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& files, const QString& basePath, int converter);
    void GetNbOfConverters(int* count);

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    void BuildFilePattern();
    void RefillFileList();
    // Enters the destination folder and lists it, leaving the driver's current directory there. A folder that is
    // gone (or is now a file) is not entered: the current directory stays where it was, the list is emptied and
    // its empty text names the missing folder.
    void ListDestination();
    void PreviewResultFile(const CFileInfo& result);
    // The preview files of a result file and whether they are as recent as it; false when there are none.
    bool FindPreviewFiles(const CFileInfo& result, CDocument::DOCTYPE& type, QStringList& files, bool& upToDate);
    void ClearPreview();
    // The current result's raw data in its window; nothing without a result.
    void ShowRawData();

    QPixmap* mpLogo = nullptr;
    int mMode;
    CFileIndicatorControl* mpDestFileIndicator = nullptr;
    int mInitialised = 0;
    int mConverted = 0;
    int mSaved = 0;
    int mPreviewSelection = 0;
    B32 mWarnings = 1;
    QString mFilePattern;
    QString mCurrentFile;
    QString mDestinationFolder;
    QPushButton* mpSaveButton = nullptr;
    QPushButton* mpConvertButton = nullptr;
    QCheckBox* mpPreviewCheckBox = nullptr;
    QCheckBox* mpRawDataCheckBox = nullptr;
    QPushButton* mpGenerateButton = nullptr;
    QPushButton* mpLaunchButton = nullptr;
    QGroupBox* mpResultPreviewGroup = nullptr;
    CPreviewPanel* mpResultPreview = nullptr;
    QDialog* mpRawDataWindow = nullptr;
    CPreviewPanel* mpRawDataPreview = nullptr;
    QStringList mNameList;
};
