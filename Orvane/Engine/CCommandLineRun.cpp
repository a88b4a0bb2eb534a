#include "CCommandLineRun.h"
#include "CEngineHost.h"
#include "COrvEngine.h"
#include "Core/CBatchInfo.h"
#include "Core/CCommandLine.h"
#include "EngineSupport.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

// Whether the converter, or for a translator the translator itself, can read files of that extension.
bool CanImport(CEngineHost& host, CPluginBase* converter, const QString& extension)
{
    if (converter->GetConverterType() & 1) {
        for (int i = 0; i < converter->GetImportExtensionCount(); ++i) {
            if (converter->GetImportExtension(i).compare(extension, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }
    return !host.GetPluginManager().Query(1, 0, converter->GetDocumentType(), QString(), extension, nullptr).isEmpty();
}

// The run moves the current folder to each source's folder, so every name is fixed against the start folder
// before the run begins.
QString Absolute(const QString& startDir, const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QDir(startDir).absoluteFilePath(path));
}

} // namespace

CCommandLineRun::CCommandLineRun(COrvEngine& engine) : m_Host(engine.Host()), m_Engine(engine) {}

QStringList CCommandLineRun::FindMissingSources(const QStringList& arguments, const QString& startDir)
{
    QStringList missing;
    for (const QString& argument : arguments) {
        if (CCommandLine::MatchOption(argument) >= 0)
            continue;
        const bool pattern = argument.contains(QLatin1Char('*')) || argument.contains(QLatin1Char('?'))
                             || argument.contains(QLatin1Char('['));
        if (!pattern && CCommandLine::Parse(QStringList(argument), startDir).mSources.isEmpty())
            missing.append(argument);
    }
    return missing;
}

int CCommandLineRun::SelectProfile()
{
    const QString wanted = m_Host.GetCommandLine().mProfile;
    const QList<CProfile*>& profiles = m_Host.GetProfileList();
    for (int i = 0; i < profiles.size(); ++i) {
        if (profiles.at(i)->GetMobileName().toUpper() == wanted)
            return i;
    }
    return -1;
}

int CCommandLineRun::SelectConverter()
{
    const QString wanted = m_Host.GetCommandLine().mConverter;
    const QList<CPluginClass*> entire = m_Host.GetEntireList(m_Host.GetCurrentProfile());
    for (int i = 0; i < entire.size(); ++i) {
        if (entire.at(i)->GetConverter()->GetExportExtension().toUpper() == wanted)
            return i;
    }
    return -1;
}

B32 CCommandLineRun::Run()
{
    const CCommandLine& line = m_Host.GetCommandLine();
    const int profile = SelectProfile();
    if (profile < 0) {
        if (line.mProfile.isEmpty()) {
            QStringList names;
            for (const CProfile* candidate : m_Host.GetProfileList())
                names.append(candidate->GetMobileName());
            m_Host.Log(Message("id_profile_option_missing").arg(names.join(QStringLiteral(", "))) + QLatin1Char('\n'));
        } else {
            m_Host.Log(Message("id_select_profile_failed").arg(line.mProfile) + QLatin1Char('\n'));
        }
        return 0;
    }
    m_Host.SetCurrentProfile(profile);

    const int converterIndex = SelectConverter();
    if (converterIndex < 0) {
        if (line.mConverter.isEmpty()) {
            QStringList extensions;
            for (const CPluginClass* record : m_Host.GetEntireList(m_Host.GetCurrentProfile())) {
                const QString extension = record->GetConverter()->GetExportExtension();
                if (!extensions.contains(extension, Qt::CaseInsensitive))
                    extensions.append(extension);
            }
            m_Host.Log(Message("id_converter_option_missing").arg(extensions.join(QStringLiteral(", ")))
                       + QLatin1Char('\n'));
        } else {
            m_Host.Log(Message("id_select_converter_failed").arg(line.mConverter) + QLatin1Char('\n'));
        }
        return 0;
    }
    CPluginBase* converter = m_Host.GetEntireList(m_Host.GetCurrentProfile()).at(converterIndex)->GetConverter();

    const QString startDir = m_Host.GetCurrentPath();
    bool failure = false;
    for (const QString& missing : FindMissingSources(QCoreApplication::arguments().mid(1), startDir)) {
        // A folder, a FIFO or a broken link exists in a way: say what it is rather than that it is missing.
        const QString path = Absolute(startDir, missing);
        struct stat entry;
        if (::lstat(QFile::encodeName(path).constData(), &entry) == 0)
            m_Host.Log(Message("id_source_unreadable")
                           .arg(missing, BoundedFileRead::Check(path, FileLimits::MaxMediaSourceBytes))
                       + QLatin1Char('\n'));
        else if (BoundedFileRead::NameIsUnreadable(missing))
            m_Host.Log(Message("id_source_name_unreadable").arg(missing) + QLatin1Char('\n'));
        else
            m_Host.Log(Message("id_source_missing").arg(missing) + QLatin1Char('\n'));
        failure = true;
    }

    QStringList sources;
    for (const QString& source : line.mSources) {
        if (CanImport(m_Host, converter, CLocalFileInfo(source).GetExtension(false))) {
            sources.append(Absolute(startDir, source));
        } else {
            m_Host.Log(Message("id_select_importer_failed").arg(source) + QLatin1Char('\n'));
            failure = true;
        }
    }
    if (sources.isEmpty())
        return failure ? 0 : 1;

    CBatchInfoList list;
    // An empty destination means the start folder, never the root.
    const QString destination = line.mDestination.isEmpty() ? startDir : line.mDestination;
    list.append(
        new CBatchInfo(sources, converterIndex, Absolute(startDir, line.mParameter), Absolute(startDir, destination)));
    B32 result = 1;
    m_Engine.LaunchAsked(&list, line.mPreview, result);
    return failure ? 0 : result;
}
