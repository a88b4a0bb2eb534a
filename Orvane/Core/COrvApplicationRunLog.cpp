#include "COrvApplication.h"
#include "Engine/CSourceGuard.h"
#include "Gui/Preview/CSoundOutput.h"
#include "Import/SourceNamedFiles.h"
#include "ProgramFiles.h"
#include "Text/ShownName.h"
#include "Util/FileIdentity.h"
#include <QDateTime>
#include <QDir>

bool COrvApplication::OpenRunLog()
{
    // The run's files are compared with the file the log's name opened, before it is emptied: a name swapped
    // for a link to one of them in between changes nothing.
    const bool opened = m_RunLog.Open(m_CurrentPath, m_CommandLine.mLogFileName, QDateTime::currentDateTime(),
                                      [this](const FileIdentity& log) { return RunLogRefusal(log); });
    return opened || !m_RunLog.IsRefused();
}

QStringList COrvApplication::ProgramFolders() const
{
    const QString app = m_ApplicationPath + QLatin1Char('/');
    // The folders the paths file names lie below these, unless their names lead elsewhere.
    return {app + QStringLiteral("Plugins"),
            app + QStringLiteral("Plugins/") + m_ParameterFolder,
            app + m_ProfileFolder,
            app + QStringLiteral("Languages"),
            app + QStringLiteral("Languages/") + m_ResourceFolder,
            app + QStringLiteral("Help")};
}

QString COrvApplication::RunLogRefusal(const FileIdentity& log)
{
    CCommandLine& line = m_CommandLine;
    const QDir start(m_CurrentPath);
    const auto isLog = [&log](const QString& path) { return FileIdentity::Of(path) == log; };
    const QString name = ShowName(line.mLogFileName);

    for (const QString& source : line.mSources) {
        if (isLog(start.filePath(source)))
            return CRunLog::Message("id_logfile_is_source", {name});
    }
    if (!line.mParameter.isEmpty() && isLog(start.filePath(line.mParameter)))
        return CRunLog::Message("id_logfile_is_parameter_file", {name});
    for (const QString& file : m_StartupFiles + QStringList{GetSettingsFilePath()}) {
        if (isLog(file))
            return CRunLog::Message("id_logfile_is_startup_file", {name, ShowName(file)});
    }
    // Files read later, or only in a window: the sound module, the help, a language's resources... Other files
    // beside the program are the user's, a run log of an earlier run among them.
    const QStringList programFiles = {QCoreApplication::applicationFilePath(),
                                      m_ApplicationPath + QLatin1Char('/') + QString::fromLatin1(ORVANE_SOUND_MODULE)};
    const QString program = ProgramFiles::Find(log, ProgramFolders(), programFiles);
    if (!program.isEmpty())
        return CRunLog::Message("id_logfile_is_program_file", {name, ShowName(program)});
    // Last, as it reads the sources: the files they name, as their readers list them. Reading a source is part of
    // its work: one that runs out of memory here fails alone, and the run leaves it out, since the files it names
    // are unknown.
    const QStringList sources = line.mSources;
    for (const QString& source : sources) {
        QString named;
        bool found = false;
        const QString path = QDir::cleanPath(start.absoluteFilePath(source));
        CSourceGuard guard(m_Engine, path);
        const bool enoughMemory = guard.Run({}, [&] {
            found = SourceNamedFiles::Visit(path, line.mConverter, [&named, &isLog](const QString& file) {
                if (!isLog(file))
                    return false;
                named = file;
                return true;
            });
        });
        if (!enoughMemory) {
            line.mSources.removeOne(source);
            line.mFailedSources.append(source);
        } else if (found) {
            return CRunLog::Message("id_logfile_is_named_file", {name, ShowName(named), ShowName(source)});
        }
    }
    return QString();
}
