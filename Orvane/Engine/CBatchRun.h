#pragma once
#include "Plugin/CRunFiles.h"
#include "Util/Types.h"
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class CEngineHost;
class COrvEngine;
class CBatchInfo;
class CBatchInfoList;
class CDocument;
class CEngineState;
class CParameters;
class CPluginBase;
class CPluginClass;

// Runs a list of batch entries: for every source file of every entry it imports, converts and writes each
// output chunk (asking once per source before overwriting, in window mode), and saves the previews on request.
// Every step goes to the run log; the result is 1 only when nothing failed.
class CBatchRun
{
public:
    explicit CBatchRun(COrvEngine& engine);

    B32 Run(const CBatchInfoList* list, B32 savePreview);

private:
    void RunEntry(const CBatchInfo& entry, const QList<CPluginClass*>& entireList);
    // fitToSource: the entry runs on the default set, which is fitted to each source. A source that runs out of
    // memory fails with that reason.
    void RunSource(const QString& source, CPluginBase* converter, CParameters* parameters, bool fitToSource,
                   const QString& destination);
    void ConvertSource(const QString& source, CPluginBase* converter, CParameters* parameters, bool fitToSource,
                       const QString& destination);
    // Converts the document and writes what the converter leaves.
    void ConvertAndSave(CPluginBase* converter, CPluginBase* importer, CDocument* document, const QString& source,
                        const QString& destination);
    // The answer to the overwrite question of a source's first file; false: write nothing of this source.
    bool MayWrite(const QString& path);
    void WriteChunks(CPluginBase* converter, CPluginBase* importer, const QString& destination, const QString& baseName,
                     const QString& source);
    // Why source may not write path in this run (the line to log), empty when it may: path is a source of the
    // run, its parameter file, its run log, or a file an earlier source wrote.
    QString NameConflict(const QString& path, const QString& source) const;
    // Records that source writes path in this run; false (logged, a failure) when NameConflict says no.
    bool ClaimName(const QString& path, const QString& source);
    bool Running() const;

    CEngineHost& m_Host;
    CEngineState& m_State;
    COrvEngine& m_Engine;
    B32 m_SavePreview = 0;
    bool m_Stop = false;
    bool m_YesToAll = false;
    bool m_Failure = false;
    bool m_Write = true;
    // Every file this run wrote or tried to write, with the source it came from.
    QHash<QString, QString> m_Written;
    // Every source of every entry, read or still waiting, the parameter files and the run log: never written
    // over, by the run or by the converters it runs.
    CRunFiles m_RunFiles;
};
