#pragma once
#include "Util/Types.h"
#include <QString>
#include <QStringList>

class CEngineHost;
class CPluginBase;
class CProfile;
class COrvEngine;

// The command-line job: selects the profile and the converter the options name, keeps the sources it can
// import, and runs them as one batch entry exactly as the batch tab would. Reports only to the run log.
class CCommandLineRun
{
public:
    explicit CCommandLineRun(COrvEngine& engine);

    // 1 when everything named was converted (or a pattern matched nothing); 0 when the profile or converter
    // cannot be selected, a named source is missing or cannot be imported, a name cannot be read in the
    // system's character set, or the batch run failed.
    B32 Run();

    // The files besides the source itself that the job reads for that source argument, as the plug-ins that
    // read and convert it name them: what the converter the options select reads beside the document, and what
    // the plug-in that reads the source finds in it (ReaderFor). None when the options select no converter or
    // no plug-in reads the source. Changes nothing; a plug-in that finds names in the source reads it as the job
    // would.
    QStringList NamedFiles(const QString& source) const;

private:
    // Positions in the profile list and in the profile's entire list; -1 when the options name none.
    int SelectProfile() const;
    int SelectConverter(CProfile* profile) const;
    // The converter the options select, in the profile they select; null when they select none.
    CPluginBase* ChosenConverter() const;
    // Logs why the profile option names no profile; the files refused at start are named with their reasons.
    void LogProfileNotFound();
    // Logs each source argument that added nothing and each name a pattern matched that cannot be spelled;
    // true when one of them fails the run (a pattern that matched nothing does not).
    bool LogUnmatchedSources();

    CEngineHost& m_Host;
    COrvEngine& m_Engine;
};
