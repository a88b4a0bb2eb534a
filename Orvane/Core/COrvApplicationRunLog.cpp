#include "COrvApplication.h"
#include "Engine/CSourceGuard.h"
#include "Gui/Preview/CSoundOutput.h"
#include "ProgramFiles.h"
#include "Text/ShownName.h"
#include "Util/FileIdentity.h"
#include <QDateTime>
#include <QDir>

bool COrvApplication::OpenRunLog()
{
    // The run's files are compared with the file the log's name opened, before it is emptied: a name swapped
    // for a link to one of them in between changes nothing.
    const bool opened =
        m_RunLog.Open(m_CurrentPath, m_CommandLine.mLogFileName, QDateTime::currentDateTime(),
                      [this](const FileIdentity& log, bool created) { return RunLogRefusal(log, created); });
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

QStringList COrvApplication::ProgramModules() const
{
    // The sound module, which only the window loads, and the plug-ins, whatever became of their loading.
    const QString plugins = m_ApplicationPath + QStringLiteral("/Plugins/");
    QStringList modules{m_ApplicationPath + QLatin1Char('/') + QString::fromLatin1(ORVANE_SOUND_MODULE)};
    const QDir folder(plugins, QStringLiteral("*.so"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    for (const QString& name : folder.entryList())
        modules.append(plugins + name);
    return modules;
}

QString COrvApplication::ProgramFileRefusal(const FileIdentity& log, bool created) const
{
    const QString name = ShowName(m_RunLog.GetFileName());
    if (created) {
        // A new file inside the program's folders would be read as one of its own (a profile, a plug-in...).
        const QString folder = ProgramFiles::FolderHolding(log, ProgramFolders());
        return folder.isEmpty() ? QString()
                                : CRunLog::Message("id_logfile_in_program_folder", {name, ShowName(folder)});
    }
    // The program's folders, the executables of the application folder's tree (the launcher beside the program
    // among them, by any name), whatever the process runs, and whatever its modules would load.
    QString program =
        ProgramFiles::Find(log, ProgramFolders(),
                           {QCoreApplication::applicationFilePath(),
                            m_ApplicationPath + QLatin1Char('/') + QString::fromLatin1(ORVANE_SOUND_MODULE)});
    if (program.isEmpty())
        program = ProgramFiles::FindExecutable(log, m_ApplicationPath);
    if (program.isEmpty())
        program = ProgramFiles::FindMapped(log);
    if (program.isEmpty())
        program = ProgramFiles::FindNeeded(log, ProgramModules());
    return program.isEmpty() ? QString() : CRunLog::Message("id_logfile_is_program_file", {name, ShowName(program)});
}

QString COrvApplication::NamedFileRefusal(const FileIdentity& log, const QString& source)
{
    for (const QString& path : m_Engine.CommandLineNamedFiles(source)) {
        if (FileIdentity::Of(path) == log)
            return CRunLog::Message("id_logfile_is_named_file",
                                    {ShowName(m_RunLog.GetFileName()), ShowName(path), ShowName(source)});
    }
    return QString();
}

QString COrvApplication::RunLogRefusal(const FileIdentity& log, bool created)
{
    // A file the run creates is none it reads; it only may not lie among the program's files.
    if (created)
        return ProgramFileRefusal(log, true);
    CCommandLine& line = m_CommandLine;
    const QDir start(m_CurrentPath);
    const auto isLog = [&log](const QString& path) { return FileIdentity::Of(path) == log; };
    const QString name = ShowName(m_RunLog.GetFileName());

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
    const QString program = ProgramFileRefusal(log, false);
    if (!program.isEmpty())
        return program;
    // Last, as it reads the sources: the files they name, as the plug-ins that read them list them. Reading a
    // source is part of its work: one that runs out of memory here fails alone, and the run leaves it out, since
    // the files it names are unknown.
    const QStringList sources = line.mSources;
    for (const QString& source : sources) {
        QString refusal;
        CSourceGuard guard(m_Engine, QDir::cleanPath(start.absoluteFilePath(source)));
        if (!guard.Run({}, [&] { refusal = NamedFileRefusal(log, source); })) {
            line.mSources.removeOne(source);
            line.mFailedSources.append(source);
        } else if (!refusal.isEmpty()) {
            return refusal;
        }
    }
    return QString();
}
