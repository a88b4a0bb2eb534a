#pragma once
// The run's own files (sources, parameter file, run log) lent to the plug-ins that work in it, so that no debug
// file replaces one of them and no file a source names is read from the run log. The loan ends with this object.
#include "Plugin/CRunFiles.h"
#include <QList>
#include <initializer_list>

class CEngineHost;
class CPluginBase;
class CPluginClass;

class CRunFilesHandOver
{
public:
    CRunFilesHandOver(const CRunFiles& files, std::initializer_list<CPluginBase*> plugins);
    ~CRunFilesHandOver();
    CRunFilesHandOver(const CRunFilesHandOver&) = delete;
    CRunFilesHandOver& operator=(const CRunFilesHandOver&) = delete;

private:
    QList<CPluginBase*> m_Plugins;
};

// The files of a run started from the media or SMS tab: its source (the current one), the parameter file the
// user loaded for the record's converter, and the run log.
CRunFiles WindowRunFiles(CEngineHost& host, const QString& source, const CPluginClass* record);
