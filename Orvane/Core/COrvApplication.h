#pragma once
#include "CCommandLine.h"
#include "CRunLog.h"
#include "CUserPrompt.h"
#include "Documents/CDocument.h"
#include "Engine/CEngineHost.h"
#include "Engine/COrvEngine.h"
#include "Host/CPluginManager.h"
#include "Util/Types.h"
#include <QApplication>
#include <QList>
#include <QString>
#include <QStringList>

class CBatchInfoList;
class CGenerationInfo;
class CParameters;
class CPluginBase;
class CPluginClass;
class CProfile;
class CTestBase;
class OrvaneMainWindow;
class QFile;

// The application object: start-up, configuration, run log, reporting and shut-down, and the slots that
// answer the user interface's queries. The conversion engine's slots relay to the engine object, which is given
// what it needs through CEngineHost.
class COrvApplication : public QApplication, public CEngineHost
{
    Q_OBJECT
public:
    // Major version in the high 16 bits, minor in the low 16 bits.
    enum
    {
        VERSION = 0x00020003
    };
    // Kinds of converter queries (GetConverterType bits) and their document-type masks.
    enum
    {
        CONVERTER_MASK = 0x3E,
        TRANSLATOR_MASK = 1,
        ANY_DOCUMENT = -1
    };

    // The GUI flag is kept for the shape of the call; the toolkit decides from its platform.
    COrvApplication(int& argc, char** argv, bool guiEnabled = true);
    ~COrvApplication() override;

    // Configuration, language file, plug-ins, profiles and the start-up checks; 0 ends the program.
    B32 Init();
    // The command-line job, or the main window and its event loop.
    int Run();
    // Releases documents, profiles, language file, plug-ins and run log, in that order. Always 1.
    int Shutdown();

    // The one way the program tells the user about a problem (kind 0 warning, 1 critical).
    void Report(int kind, const QString& title, const QString& text) override;
    // Appends the text to the run log as it stands and flushes it; a text of before the log opens waits for it, and
    // nothing is written after Shutdown.
    void Log(const QString& text) override;
    // Appends the converter's conversion log summary to the run log.
    void LogConversionLog(CPluginBase* converter) override;
    // Every message box, question and modal dialog goes through this prompt.
    CUserPrompt& GetUserPrompt() override;
    // Replaces the mode's own prompt (tests script their answers); null restores it. Not owned.
    void SetUserPrompt(CUserPrompt* prompt);

    // A message of this class in the language file.
    static QString Message(const QString& id);
    // Start-up, or work outside any source, ran out of memory: said on standard error and in the run log.
    void ReportOutOfMemory();
    // The run log name for a moment: "Logfile" + "dd_MM_yyyy" + "_" + "hh_mm_ss" + ".log".
    static QString MakeLogFileName(const QDateTime& moment);

    void ParseCommandLine();
    void PrintHelp();
    // Chooses the developer test object by its selector; the first object chosen stays.
    void SetUserOption(const QString& value);

    // The three converter lists of a profile (null: no profile check); positions in them are the indexes
    // that panels and batch entries pass.
    QList<CPluginClass*> GetConverterList(CProfile* profile) const override;
    QList<CPluginClass*> GetTraductorList(CProfile* profile) const override;
    QList<CPluginClass*> GetEntireList(CProfile* profile) const override;
    // The entry at a position that a panel or the command line sent back; null outside the list, which the
    // caller reports as a failure.
    static CPluginClass* EntryAt(const QList<CPluginClass*>& list, int index);
    // The converter of that entry; null outside the list.
    static CPluginBase* ConverterAt(const QList<CPluginClass*>& list, int index);

    QString GetCurrentPath() const override { return m_CurrentPath; }
    QString GetApplicationPath() const { return m_ApplicationPath; }
    CDocument* GetPreviewDocument() const { return m_Engine.State().mpPreviewDocument; }
    // The conversion engine's documents, results and run state; the window-side hooks are set there.
    CEngineState& GetEngineState() { return m_Engine.State(); }
    COrvEngine& GetEngine() { return m_Engine; }
    CProfile* GetCurrentProfile() const override { return m_pCurrentProfile; }
    const QList<CProfile*>& GetProfileList() const override { return m_Profiles; }
    const QList<CRefusedProfile>& GetRefusedProfiles() const override { return m_RefusedProfiles; }
    CPluginManager& GetPluginManager() override { return m_PluginManager; }
    B32 IsCommandLineMode() const override { return m_CommandLine.mCommandLineMode; }
    const CCommandLine& GetCommandLine() const override { return m_CommandLine; }
    QString GetLogFileName() const override { return m_RunLog.GetFileName(); }
    QString GetLogFilePath() const override { return m_RunLog.GetFilePath(); }
    // The waiting popup's window, made by the user interface.
    CWaitingPopup* CreateWaitingPopup(QWidget* parent) override;

public slots:
    void GetVersionNumber(int& version);
    void GetCurrentPath(QString& path);
    void GetTempPath(QString& path);
    void GetApplicationPath(QString& path);

    void GetInstalledPlugins(QStringList& list);
    void GetConverterNameList(QStringList& list);
    void GetTraductorNameList(QStringList& list);
    void GetEntireNameList(QStringList& list);
    void GetProfileNameList(QStringList& list);
    void GetConverterImportExtensionList(QStringList& list, int converter);
    void GetTraductorImportExtensionList(QStringList& list, int translator);
    void GetEntireImportExtensionList(QStringList& list);
    void GetExtensionListForBatch(int entry, QStringList& list);
    // Outside the profile list no profile is selected.
    void SetCurrentProfile(int index) override;

    // The conversion engine's slots: each relays to the engine object.
    void GetConverterParameters(int converter, CParameters** parameters);
    void GetTraductorParameters(int translator, CParameters** parameters, QString& source);
    void ConvertionAsked(B32 rawData, CGenerationInfo* info);
    void TranslationAsked(CGenerationInfo* info, QString outputName);
    void LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result);
    void ProgressForConvertion(const QString text, int progress);
    void ProgressForTranslation(const QString text, int progress);
    void ProgressForBatch(const QString text, int progress);
    void LoadMediaAsked(QString& path, int converter, B32& success);
    void ClearMediaAsked();
    void GetLoadedDocument(CDocument** document);
    void GetPreviewDocument(CDocument** document);
    void GetPreviewRawData(CDocument** document);
    void GetResultFileName(QString& name);
    void GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& names, const QString& base, int converter);
    void LoadPreviewAsked(const QStringList& names, CDocument::DOCTYPE type, B32& success);
    void SaveAsked(B32 savePreview, QString folder, QString sourceName, B32& saved);
    void GetExportExtension(QString& extension);
    void GetExportExtensionForConverter(QString& extension, int converter);
    void GetExportExtensionForTranslator(QString& extension, int translator);
    void SaveParamsAsked(QString path, CParameters* parameters);
    void LoadParamsAsked(int converter, QString path);
    void LoadDefaultParamsAsked(int converter);
    void LoadTraductorParamsAsked(int translator, QString path);
    void LoadDefaultTraductorParamsAsked(int translator);
    void SetResizeOption(B32 on);
    void CancelConvertion();
    void CancelBatch();

protected:
    // Takes the developer test object over, replacing none that is already held.
    void SetTestObject(CTestBase* testObject);

private:
    // Plug-ins, their parameter files and the profiles, with the start-up checks; 0 when the program cannot run.
    B32 LoadPluginsAndProfiles();
    // Creates the run log; one that cannot be created is said on standard error, where its lines then go, and
    // the run goes on. False, with the reason on standard error, when the log is refused (RunLogRefusal).
    bool OpenRunLog();
    // Why the file that "logfile=" opened may not be emptied as the run log: it is a file the program reads (a
    // source, the parameter file, a file start-up reads, a file of the program (ProgramFileRefusal), a file a
    // source names), by identity. A log the run created may only not lie in the program's folders. Empty when
    // it may. A source whose check runs out of memory fails alone (CSourceGuard) and leaves the run.
    QString RunLogRefusal(const FileIdentity& log, bool created);
    // Why the log is a file of the program: in the application folder's tree, in a folder the paths file names,
    // the program itself, a file the process has mapped, or a library one of its modules would load; for a log
    // the run created, that it lies in one of the program's folders. Empty when it is none.
    QString ProgramFileRefusal(const FileIdentity& log, bool created) const;
    // Why the log is a file the command-line job reads for that source besides it, as the plug-ins that read and
    // convert it name them; empty when it is none. Reads the source.
    QString NamedFileRefusal(const FileIdentity& log, const QString& source);
    // The folders whose files the program reads at some time (ProgramFiles).
    QStringList ProgramFolders() const;
    // The modules the program loads at some time: the sound module and the plug-ins.
    QStringList ProgramModules() const;
    // "Settings.xml" in the application folder: the window's settings.
    QString GetSettingsFilePath() const;
    bool LoadProfiles();
    bool CheckConverters();
    void ReportFatal(const QString& id);
    void ReportParameterFailures();
    void WriteInstalledListToDebug();
    // The extensions of every importer whose document type meets the mask.
    void AppendImporterExtensions(int documentTypeMask, QStringList& list) const;
    static void AppendOwnImportExtensions(CPluginBase* converter, QStringList& list);

    // The command-line job; the conversion engine runs it.
    B32 RunCommandLine();
    // Window mode: the main window, its connections, settings and the event loop; 0 when there is no window.
    int RunMainWindow();

    int m_Version = VERSION;
    CTestBase* m_pTestObject = nullptr;
    OrvaneMainWindow* m_pMainWindow = nullptr;
    QString m_CurrentPath;
    QString m_ApplicationPath;
    CPluginManager m_PluginManager;
    CProfile* m_pCurrentProfile = nullptr;
    QList<CProfile*> m_Profiles;
    QList<CRefusedProfile> m_RefusedProfiles;

    // The conversion engine and its documents, results and run state.
    COrvEngine m_Engine{*this};

    CRunLog m_RunLog;
    // Every file start-up read or tried to read, in order: the run log may be none of them.
    QStringList m_StartupFiles;
    QString m_PathsFileName;
    QString m_ResourceFolder;
    QString m_ParameterFolder;
    QString m_ProfileFolder;

    // The options, the sources and the command-line mode of this run.
    CCommandLine m_CommandLine;
    // The arguments after the program name, as the system gave them.
    QList<QByteArray> m_ArgumentBytes;

    int m_EventLoopRan = 0;

    CWidgetPrompt m_WidgetPrompt;
    CLogPrompt m_LogPrompt;
    CUserPrompt* m_pInstalledPrompt = nullptr;
};
