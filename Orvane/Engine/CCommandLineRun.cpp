#include "CCommandLineRun.h"
#include "CEngineHost.h"
#include "COrvEngine.h"
#include "Core/CBatchInfo.h"
#include "Core/CCommandLine.h"
#include "EngineSupport.h"
#include "FailedSource.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "Host/SourceReader.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

// The run moves the current folder to each source's folder, so every name is fixed against the start folder
// before the run begins.
QString Absolute(const QString& startDir, const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QDir(startDir).absoluteFilePath(path));
}

} // namespace

CCommandLineRun::CCommandLineRun(COrvEngine& engine) : m_Host(engine.Host()), m_Engine(engine) {}

int CCommandLineRun::SelectProfile() const
{
    const QString wanted = m_Host.GetCommandLine().mProfile;
    const QList<CProfile*>& profiles = m_Host.GetProfileList();
    for (int i = 0; i < profiles.size(); ++i) {
        if (profiles.at(i)->GetMobileName().toUpper() == wanted)
            return i;
    }
    return -1;
}

int CCommandLineRun::SelectConverter(CProfile* profile) const
{
    const QString wanted = m_Host.GetCommandLine().mConverter;
    const QList<CPluginClass*> entire = m_Host.GetEntireList(profile);
    for (int i = 0; i < entire.size(); ++i) {
        if (entire.at(i)->GetConverter()->GetExportExtension().toUpper() == wanted)
            return i;
    }
    return -1;
}

void CCommandLineRun::LogProfileNotFound()
{
    const CCommandLine& line = m_Host.GetCommandLine();
    if (line.mProfile.isEmpty()) {
        QStringList names;
        for (const CProfile* candidate : m_Host.GetProfileList())
            names.append(candidate->GetMobileName());
        m_Host.Log(Message("id_profile_option_missing", names.join(QStringLiteral(", "))) + QLatin1Char('\n'));
    } else {
        m_Host.Log(Message("id_select_profile_failed", line.mProfile) + QLatin1Char('\n'));
    }
    // The phone asked for may be in a file that start-up refused.
    for (const CEngineHost::CRefusedProfile& refused : m_Host.GetRefusedProfiles())
        m_Host.Log(Message("id_profile_refused", refused.path, refused.reason) + QLatin1Char('\n'));
}

bool CCommandLineRun::LogUnmatchedSources()
{
    const CCommandLine& line = m_Host.GetCommandLine();
    const QString startDir = m_Host.GetCurrentPath();
    bool failure = false;
    for (const QString& argument : line.mUnmatched) {
        // A pattern may rightly match nothing: no failure, but the log says where it looked.
        if (CCommandLine::IsPattern(argument)) {
            m_Host.Log(Message("id_pattern_matched_nothing", argument, startDir) + QLatin1Char('\n'));
            continue;
        }
        // A folder, a FIFO or a broken link exists in a way: say what it is rather than that it is missing.
        const QString path = Absolute(startDir, argument);
        struct stat entry;
        if (::lstat(QFile::encodeName(path).constData(), &entry) == 0)
            ReportFailedSource(m_Host, QString(), CFailedStep::READ, argument,
                               BoundedFileRead::Check(path, FileLimits::MaxMediaSourceBytes));
        else if (BoundedFileRead::NameIsUnreadable(argument))
            m_Host.Log(Message("id_source_name_unreadable").arg(line.ShownArgument(argument)) + QLatin1Char('\n'));
        else
            m_Host.Log(Message("id_source_missing", argument) + QLatin1Char('\n'));
        failure = true;
    }
    // Names a pattern matched that the system cannot spell are shown by their bytes.
    for (const QByteArray& name : line.mUnreadableNames) {
        m_Host.Log(Message("id_source_name_unreadable").arg(ShowNameBytes(name)) + QLatin1Char('\n'));
        failure = true;
    }
    return failure;
}

B32 CCommandLineRun::Run()
{
    const CCommandLine& line = m_Host.GetCommandLine();
    const int profile = SelectProfile();
    if (profile < 0) {
        LogProfileNotFound();
        return 0;
    }
    m_Host.SetCurrentProfile(profile);

    const int converterIndex = SelectConverter(m_Host.GetCurrentProfile());
    if (converterIndex < 0) {
        if (line.mConverter.isEmpty()) {
            QStringList extensions;
            for (const CPluginClass* record : m_Host.GetEntireList(m_Host.GetCurrentProfile())) {
                const QString extension = record->GetConverter()->GetExportExtension();
                if (!extensions.contains(extension, Qt::CaseInsensitive))
                    extensions.append(extension);
            }
            m_Host.Log(Message("id_converter_option_missing", extensions.join(QStringLiteral(", ")))
                       + QLatin1Char('\n'));
        } else {
            m_Host.Log(Message("id_select_converter_failed", line.mConverter) + QLatin1Char('\n'));
        }
        return 0;
    }
    CPluginBase* converter = m_Host.GetEntireList(m_Host.GetCurrentProfile()).at(converterIndex)->GetConverter();

    const QString startDir = m_Host.GetCurrentPath();
    // A source that failed before the run (its log check ran out of memory) has been said; the run fails.
    bool failure = LogUnmatchedSources() || !line.mFailedSources.isEmpty();
    // Nothing could be written under a name the system cannot spell.
    if (BoundedFileRead::NameIsUnreadable(line.mDestination)) {
        m_Host.Log(Message("id_destination_name_unreadable", line.mDestination) + QLatin1Char('\n'));
        return 0;
    }

    QStringList sources;
    for (const QString& source : line.mSources) {
        if (ReaderFor(m_Host.GetPluginManager(), converter, source).plugin) {
            sources.append(Absolute(startDir, source));
        } else {
            m_Host.Log(Message("id_select_importer_failed", source) + QLatin1Char('\n'));
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

CPluginBase* CCommandLineRun::ChosenConverter() const
{
    const int profile = SelectProfile();
    if (profile < 0)
        return nullptr;
    CProfile* chosen = m_Host.GetProfileList().at(profile);
    const int converter = SelectConverter(chosen);
    return converter < 0 ? nullptr : m_Host.GetEntireList(chosen).at(converter)->GetConverter();
}

QStringList CCommandLineRun::NamedFiles(const QString& source) const
{
    CPluginBase* converter = ChosenConverter();
    const QString path = Absolute(m_Host.GetCurrentPath(), source);
    const CSourceReader reader = ReaderFor(m_Host.GetPluginManager(), converter, path);
    if (!reader.plugin)
        return QStringList();
    // A source the run cannot read names nothing: the run converts nothing of it.
    if (!BoundedFileRead::Check(path, reader.byteLimit).isEmpty())
        return QStringList();
    QStringList files = reader.plugin->GetNamedFiles(path, reader.byteLimit);
    if (converter != reader.plugin)
        files += converter->GetNamedFiles(path, reader.byteLimit);
    return files;
}
