#pragma once
#include "Documents/CDocument.h"
#include "Util/Types.h"
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>

class CBatchInfoList;
class CGenerationInfo;
class CHelpWnd;
class COrvTabview;
class CParameters;
class CXmlFile;
class QAction;
class QLabel;
class QActionGroup;
class QMenu;
class QProgressBar;

// The program's one top-level window: menus, header tool bar, status bar with the profile's name and a
// progress bar, the help window and the three tabs. Every request of a panel reaches the application
// through one of the window's own signals; the application calls back only SetProgress, InitProgressBar
// and ValidateConversion.
class OrvaneMainWindow : public QMainWindow
{
    Q_OBJECT
    Q_MOC_INCLUDE("Core/CBatchInfo.h")
    Q_MOC_INCLUDE("Core/CGenerationInfo.h")
    Q_MOC_INCLUDE("Parameters/CParameters.h")
public:
    OrvaneMainWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
    ~OrvaneMainWindow() override;

    // Restores geometry, folders, options and profile from the settings file; 1 when the file loaded.
    int LoadSettings(QString path);
    // Writes them; 1 when the file was written.
    int SaveSettings(QString path);
    // Hands a tab's two folders from the settings file to its panels.
    void SetTabFolders(CXmlFile& settings, int tab);
    // A folder that no longer exists becomes the application's current path.
    void CheckFolders(QString& input, QString& output);

    COrvTabview* GetTabview() const { return mpTabview; }
    CHelpWnd* GetHelpWindow() const { return mpHelpWindow; }
    QProgressBar* GetProgressBar() const { return mpProgressBar; }
    // The status bar's phone name.
    QLabel* GetProfileLabel() const { return mpProfileLabel; }
    QMenu* GetTargetMenu() const { return mpTargetMenu; }
    QAction* GetWarningItem() const { return mpWarningItem; }
    QAction* GetResizeItem() const { return mpResizeItem; }
    const QStringList& GetProfileNames() const { return mProfileNames; }
    // The index of the checked Target item, -1 when none is.
    int GetCheckedProfile() const;
    // The About box's text.
    QString AboutText();
    // The plug-in dialog's rows: the part before the underscore and the part after it.
    static QPair<QString, QString> SplitPluginEntry(const QString& entry);

public slots:
    void show();
    void SettingDialog();
    void SetWarnings(B32 on);
    void SettingResize();
    void SetResizeSystematicOn(B32 on);
    void PluginInfoDialog();
    void about();
    void CheckSavingBeforeQuit();
    void CheckSavingBeforeClose();
    void OpenMediaDialog();
    void CloseMediaDialog();
    void ConvertMediaDialog();
    void SaveMediaDialog();
    void SaveAsDialog();
    void OpenSmsDialog();
    void SmsGenerate();
    void SmsGenerateAs();
    void NewBatch();
    void OpenBatchDialog();
    void SaveAsBatchDialog();
    void LaunchBatchDialog();
    void SetCurrentProfile(int index);
    void SetProgress(const QString text, int progress);
    void InitProgressBar();
    void ValidateConversion(B32 converted);

signals:
    void GetVersionNumber(int& version);
    void GetCurrentPath(QString& path);
    void GetApplicationPath(QString& path);
    void GetInstalledPlugins(QStringList& list);
    void GetTraductorNameList(QStringList& list);
    void GetConverterNameList(QStringList& list);
    void GetEntireNameList(QStringList& list);
    void GetProfileNameList(QStringList& list);
    void GetConverterImportExtensionList(QStringList& list, int converter);
    void GetTraductorImportExtensionList(QStringList& list, int translator);
    void GetExtensionListForBatch(int row, QStringList& list);
    void GetEntireImportExtensionList(QStringList& list);
    void GetConverterParameters(int converter, CParameters** parameters);
    void GetTraductorParameters(int translator, CParameters** parameters, QString& source);
    void GetExportExtension(QString& extension);
    void GetExportExtensionForConverter(QString& extension, int converter);
    void GetExportExtensionForTranslator(QString& extension, int translator);
    void SaveAsked(B32 savePreview, QString folder, QString fileName, B32& saved);
    void ConvertionAsked(B32 rawData, CGenerationInfo* info);
    void TranslationAsked(CGenerationInfo* info, QString outputPath);
    void LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result);
    void LoadParamsAsked(int converter, QString fileName);
    void SaveParamsAsked(QString fileName, CParameters* parameters);
    void GetPreviewDocument(CDocument** document);
    void GetPreviewRawData(CDocument** document);
    void GetResultFileName(QString& name);
    void LoadMediaAsked(QString& path, int converter, B32& success);
    void ClearMediaAsked();
    void GetLoadedDocument(CDocument** document);
    void LoadDefaultParamsAsked(int converter);
    void LoadDefaultTraductorParamsAsked(int translator);
    void LoadTraductorParamsAsked(int translator, QString fileName);
    void Warnings(B32 on);
    void ResizeSystematic(B32 on);
    void UpdateConverterList();
    void CurrentProfile(int index);
    void GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& files, const QString& basePath, int converter);
    void LoadPreviewAsked(const QStringList& files, CDocument::DOCTYPE type, B32& success);

protected:
    // Closing by the frame asks the unsaved-result question as Quit does; No keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void ConnectPanels();
    void FillTargetMenu();
    void ShowProfileName(int index);
    // A Target item chosen: the unsaved-result question, then SetCurrentProfile unless the answer is No.
    void ChooseProfile(int index);
    // Checks Target item index alone.
    void CheckTargetItem(int index);
    // True when the action may go on: no unsaved converted result, warnings off, or the answer Yes.
    bool ConfirmUnsavedResult(const char* textId);

    QPixmap* mpIcon = nullptr;
    QStringList mProfileNames;
    QMenu* mpSettingsMenu = nullptr;
    QAction* mpWarningItem = nullptr;
    QAction* mpResizeItem = nullptr;
    B32 mWarnings = 1;
    B32 mResize = 1;
    QMenu* mpTargetMenu = nullptr;
    QActionGroup* mpTargetGroup = nullptr;
    QLabel* mpProfileLabel = nullptr;
    QProgressBar* mpProgressBar = nullptr;
    CHelpWnd* mpHelpWindow = nullptr;
    COrvTabview* mpTabview = nullptr;
    bool mTargetConnected = false;
    // The profile last set by SetCurrentProfile, -1 before the first.
    int mCurrentProfile = -1;
    // Set once the user agreed to quit, so that the windows closing on the way out ask nothing more.
    bool mQuitting = false;
};
