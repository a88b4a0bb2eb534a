#pragma once
// The files of one run that nothing in it may replace or take for something else: its sources, its parameter
// file and its run log. The host hands them to the converters it runs (CPluginBase::SetRunFiles): a debug file
// never replaces one of them, and a file that a source names is never read from the run log, which the run has
// emptied and writes to. Files are known by identity, so another spelling, a link or a hard link is the same file.
#include "Util/FileIdentity.h"
#include <QList>
#include <QString>

class CRunFiles
{
public:
    enum Role
    {
        SOURCE,
        PARAMETER_FILE,
        RUN_LOG
    };
    struct CFile
    {
        FileIdentity identity;
        Role role;
        QString name; // as the run names it
    };

    // Records the file at path in that role under its name in the run; a path where nothing is adds nothing.
    void Add(Role role, const QString& path);
    // The run's file that path is, links followed; null when it is none of them.
    const CFile* Find(const QString& path) const;

    // The source now converted, which the files it names are read for.
    void SetCurrentSource(const QString& name) { m_CurrentSource = name; }
    const QString& GetCurrentSource() const { return m_CurrentSource; }

    // Why a file that the current source names cannot be read: it is the run log. A reason to follow
    // "cannot be read: ", naming the source that fails; empty when the file may be read or files is null.
    static QString NamedFileRefusal(const CRunFiles* files, const QString& path);

private:
    QList<CFile> m_Files;
    QString m_CurrentSource;
};
