#include "COrvApplication.h"
#include "Import/SourceNamedFiles.h"
#include "Text/ShownName.h"
#include "Util/FileIdentity.h"
#include <QDateTime>
#include <QDir>

bool COrvApplication::OpenRunLog()
{
    const QString refusal = RunLogRefusal();
    if (!refusal.isEmpty()) {
        m_RunLog.Refuse(refusal);
        return false;
    }
    m_RunLog.Open(m_CurrentPath, m_CommandLine.mLogFileName, QDateTime::currentDateTime());
    return true;
}

QString COrvApplication::RunLogRefusal() const
{
    const CCommandLine& line = m_CommandLine;
    if (line.mLogFileName.isEmpty())
        return QString();
    const QDir start(m_CurrentPath);
    // A log that is not there yet is no file of the run. Known by identity: another spelling, a link or a hard
    // link of a file is that file.
    const std::optional<FileIdentity> log = FileIdentity::Of(start.filePath(line.mLogFileName));
    if (!log)
        return QString();
    const auto isLog = [&log](const QString& path) { return FileIdentity::Of(path) == log; };
    const QString name = ShowName(line.mLogFileName);

    for (const QString& source : line.mSources) {
        if (isLog(start.filePath(source)))
            return CRunLog::MessageOr("id_logfile_is_source", "The run log %1 is also a source; nothing was converted.")
                .arg(name);
    }
    if (!line.mParameter.isEmpty() && isLog(start.filePath(line.mParameter)))
        return CRunLog::MessageOr("id_logfile_is_parameter_file",
                                  "The run log %1 is also the parameter file; nothing was converted.")
            .arg(name);
    for (const QString& file : m_StartupFiles + QStringList{GetSettingsFilePath()}) {
        if (isLog(file))
            return CRunLog::MessageOr("id_logfile_is_startup_file",
                                      "The run log %1 is %2, which the program reads when it starts; nothing was "
                                      "converted.")
                .arg(name, ShowName(file));
    }
    // Last, as it reads the sources: the files they name, by name only.
    for (const QString& source : line.mSources) {
        QString named;
        const bool found =
            SourceNamedFiles::Visit(start.filePath(source), line.mConverter, [&named, &isLog](const QString& path) {
                if (!isLog(path))
                    return false;
                named = path;
                return true;
            });
        if (found)
            return CRunLog::MessageOr("id_logfile_is_named_file",
                                      "The run log %1 is %2, which the source %3 names; nothing was converted.")
                .arg(name, ShowName(named), ShowName(source));
    }
    return QString();
}
