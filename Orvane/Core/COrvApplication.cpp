#include "COrvApplication.h"
#include "CPathsFile.h"
#include "CTestBase.h"
#include "Documents/CDocument.h"
#include "Engine/FailedSource.h"
#include "Host/CFileInfo.h"
#include "Host/CLocalFileDriver.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Text/CLanguageResources.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace {

class CurrentFolderKeeper
{
public:
    explicit CurrentFolderKeeper(const QString& folder) : m_Folder(folder) {}
    ~CurrentFolderKeeper() { QDir::setCurrent(m_Folder); }

private:
    QString m_Folder;
};

// A plug-in that cannot load the language file says so through the application's reporting: a box in
// window mode, a line in the run log in command-line mode.
void ReportPluginResourceFailure(const QString& title, const QString& text)
{
    if (auto* application = qobject_cast<COrvApplication*>(QCoreApplication::instance()))
        application->Report(CUserPrompt::CRITICAL, title, text);
}

} // namespace

COrvApplication::COrvApplication(int& argc, char** argv, bool guiEnabled)
    : QApplication(argc, argv), m_CurrentPath(QDir::currentPath()), m_ApplicationPath(m_CurrentPath),
      m_CommandLine(m_CurrentPath), m_LogPrompt([this](const QString& text) { Log(text); })
{
    Q_UNUSED(guiEnabled);
    for (int i = 1; i < argc; ++i)
        m_ArgumentBytes.append(QByteArray(argv[i]));
}

COrvApplication::~COrvApplication()
{
    // Shutdown has normally released everything; this covers an object that never got that far.
    delete m_pTestObject;
    qDeleteAll(m_Profiles);
}

QString COrvApplication::Message(const QString& id)
{
    return CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), id);
}

QString COrvApplication::MakeLogFileName(const QDateTime& moment)
{
    return CRunLog::MakeFileName(moment);
}

B32 COrvApplication::Init()
{
    // The plug-ins find the language file through ORVANEDIR, so it always names the application folder,
    // in absolute form because loading moves the current folder.
    const QString folder = qEnvironmentVariable("ORVANEDIR");
    if (!folder.isEmpty())
        m_ApplicationPath = QDir::cleanPath(QDir(m_CurrentPath).absoluteFilePath(folder));
    qputenv("ORVANEDIR", QFile::encodeName(m_ApplicationPath));

    ParseCommandLine();

    m_PathsFileName = m_CommandLine.mPathsFileName;
    if (m_PathsFileName.isEmpty())
        m_PathsFileName = QStringLiteral("Paths.xml");
    const QString pathsFile = m_ApplicationPath + QLatin1Char('/') + m_PathsFileName;
    m_StartupFiles.append(pathsFile);
    CPathsFile paths;
    paths.Read(pathsFile);
    m_ResourceFolder = paths.mResourceFolder;
    m_ParameterFolder = paths.mParameterFolder;
    m_ProfileFolder = paths.mProfileFolder;

    const QString languageFile = m_ApplicationPath + QStringLiteral("/Languages/English.xml");
    m_StartupFiles.append(languageFile);
    QString languageRefusal;
    const bool languageLoaded = CLanguageResources::Load(languageFile, &languageRefusal);
    if (languageLoaded)
        CLanguageResources::SetResourceFolder(m_ApplicationPath + QStringLiteral("/Languages/") + m_ResourceFolder
                                              + QLatin1Char('/'));
    // The help alone leaves nothing behind; without a language file it still needs the log for its report.
    if (m_CommandLine.mHelp && languageLoaded) {
        PrintHelp();
        return 0;
    }

    // What start-up reports is held by the run log until the log opens, after every file start-up reads:
    // opening a log the user named empties it.
    B32 ready = 0;
    if (!languageLoaded) {
        // No language file, so no ids to look up. Which file and why go to standard error whatever the mode,
        // since the run log and the window may both be out of reach.
        CRunLog::SayOnStandardError(
            QStringLiteral("The language file %1 cannot be read: %2.").arg(languageFile, languageRefusal));
        Report(1, QStringLiteral("Orvane error"),
               QStringLiteral("No resource file installed !\nPlease re-install the application."));
    } else {
        ready = LoadPluginsAndProfiles();
    }
    if (!OpenRunLog())
        return 0;
    // The test object's start is the developers' own to call; the application never does.
    return ready;
}

B32 COrvApplication::LoadPluginsAndProfiles()
{
    // Loading plug-ins and profiles moves the current folder; whatever the outcome it goes back.
    const CurrentFolderKeeper keeper(m_CurrentPath);
    m_PluginManager.SetResourceFailureReporter(ReportPluginResourceFailure);
    m_PluginManager.Load(m_ApplicationPath + QStringLiteral("/Plugins/"), m_ParameterFolder);
    m_StartupFiles.append(m_PluginManager.GetReadFiles());
    ReportParameterFailures();
    if (!CheckConverters())
        return 0;
    if (!LoadProfiles()) {
        ReportFatal(QStringLiteral("id_no_profile"));
        return 0;
    }
    SetCurrentProfile(0);
    return 1;
}

void COrvApplication::ReportParameterFailures()
{
    for (CPluginClass* record : m_PluginManager.GetClassList()) {
        if (!(record->GetFlags() & CPluginClass::UNUSABLE) || !record->GetConverter())
            continue;
        const QString fileName = record->GetConverter()->GetParametersFileName();
        if (fileName.isEmpty() || record->GetDefaultParameters())
            continue;
        // Why, when the file could say: not a regular file, a value that is no number, a malformed element.
        Report(0, Message(QStringLiteral("id_warning")),
               FailedParameterFileLines(record->GetParametersPath(), record->GetParametersLoadError(), fileName));
    }
}

bool COrvApplication::CheckConverters()
{
    const QList<CPluginClass*> converters = GetConverterList(nullptr);
    if (converters.isEmpty()) {
        ReportFatal(QStringLiteral("id_no_converter"));
        return false;
    }
    for (CPluginClass* record : converters) {
        QStringList extensions;
        AppendImporterExtensions(record->GetConverter()->GetDocumentType(), extensions);
        if (extensions.isEmpty()) {
            ReportFatal(QStringLiteral("id_import_plugmissing"));
            return false;
        }
    }
    if (GetTraductorList(nullptr).isEmpty()) {
        ReportFatal(QStringLiteral("id_no_sms_translator"));
        return false;
    }
    return true;
}

bool COrvApplication::LoadProfiles()
{
    CLocalFileDriver driver;
    const QString folder = m_ApplicationPath + QLatin1Char('/') + m_ProfileFolder + QLatin1Char('/');
    // A missing profile folder lists nothing, never whatever folder happens to be current.
    if (!driver.SetCurrentDir(folder))
        return false;
    const CFileInfoList* entries = driver.GetEntryList(QStringLiteral("*.XML"), CFileDriver::FILES,
                                                       CFileDriver::SORT_NAME | CFileDriver::SORT_IGNORE_CASE);
    for (const CFileInfo* entry : *entries) {
        m_StartupFiles.append(folder + entry->GetFileName());
        auto profile = std::make_unique<CProfile>();
        if (profile->Load(entry->GetFilePath())) {
            qDebug("%s", qPrintable(entry->GetFileName()));
            m_Profiles.append(profile.release());
        } else {
            // Kept to say, when a run asks for a phone that is not there, which file may have been meant.
            m_RefusedProfiles.append({folder + entry->GetFileName(), profile->GetLoadError()});
        }
    }
    return !m_Profiles.isEmpty();
}

void COrvApplication::ReportOutOfMemory()
{
    // Said in the language file's words when it is loaded; before that in the only words there are.
    QString text = Message(QStringLiteral("id_program_out_of_memory"));
    if (text.isEmpty())
        text = QStringLiteral("The program cannot go on: not enough memory.");
    CRunLog::SayOnStandardError(text);
    if (m_RunLog.IsOpen())
        Log(text + QLatin1Char('\n'));
}

void COrvApplication::ReportFatal(const QString& id)
{
    Report(1, Message(QStringLiteral("id_fatal_error")),
           Message(id) + QLatin1Char('\n') + Message(QStringLiteral("id_reinstall")));
}

int COrvApplication::Run()
{
    if (m_pTestObject)
        m_pTestObject->Run();
    WriteInstalledListToDebug();
    if (m_CommandLine.mCommandLineMode)
        return RunCommandLine();
    return RunMainWindow();
}

void COrvApplication::WriteInstalledListToDebug()
{
    qDebug("Installed Plugins");
    for (int n = 0; n < m_PluginManager.GetPluginCount(); ++n)
        qDebug("%s", qPrintable(QStringLiteral("Plugin : %1 - Version : %2")
                                    .arg(m_PluginManager.GetPluginName(unsigned(n)),
                                         m_PluginManager.GetPluginVersion(unsigned(n)))));
    QStringList names;
    qDebug("Installed Converters");
    GetConverterNameList(names);
    for (const QString& name : names)
        qDebug("%s", qPrintable(name));
    qDebug("Installed Translators");
    GetTraductorNameList(names);
    for (const QString& name : names)
        qDebug("%s", qPrintable(name));
}

int COrvApplication::Shutdown()
{
    if (m_pTestObject) {
        m_pTestObject->Close();
        delete m_pTestObject;
        m_pTestObject = nullptr;
    }

    m_Engine.Clear();

    m_pCurrentProfile = nullptr;
    qDeleteAll(m_Profiles);
    m_Profiles.clear();
    m_RefusedProfiles.clear();

    CLanguageResources::Load(QString());
    m_PluginManager.Unload();

    m_RunLog.Close();
    return 1;
}

void COrvApplication::ParseCommandLine()
{
    m_CommandLine = CCommandLine::Parse(arguments().mid(1), m_CurrentPath);
    m_CommandLine.mArgumentBytes = m_ArgumentBytes;
    for (const QString& value : m_CommandLine.mUserValues)
        SetUserOption(value);
}

void COrvApplication::PrintHelp()
{
    const QByteArray text = FormatHelp(m_Version, &COrvApplication::Message).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

void COrvApplication::SetUserOption(const QString& value)
{
    if (m_pTestObject)
        return;
    m_pTestObject = CreateTestObject(value);
}

void COrvApplication::SetTestObject(CTestBase* testObject)
{
    if (m_pTestObject) {
        delete testObject;
        return;
    }
    m_pTestObject = testObject;
}

void COrvApplication::GetVersionNumber(int& version)
{
    version = m_Version;
}

void COrvApplication::GetCurrentPath(QString& path)
{
    path = m_CurrentPath;
}

void COrvApplication::GetTempPath(QString& path)
{
    path = m_CurrentPath;
}

void COrvApplication::GetApplicationPath(QString& path)
{
    path = m_ApplicationPath;
}
