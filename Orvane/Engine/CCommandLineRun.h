#pragma once
#include "Util/Types.h"
#include <QString>
#include <QStringList>

class CEngineHost;
class COrvEngine;

// The command-line job: selects the profile and the converter the options name, keeps the sources it can
// import, and runs them as one batch entry exactly as the batch tab would. Reports only to the run log.
class CCommandLineRun
{
public:
    explicit CCommandLineRun(COrvEngine& engine);

    // 1 when everything named was converted (or a pattern matched nothing); 0 when the profile or converter
    // cannot be selected, a named source is missing or cannot be imported, or the batch run failed.
    B32 Run();

    // The source arguments that name no file and are no pattern: they add nothing to the sources.
    static QStringList FindMissingSources(const QStringList& arguments, const QString& startDir);

private:
    int SelectProfile();
    int SelectConverter();

    CEngineHost& m_Host;
    COrvEngine& m_Engine;
};
