#include "CRunFilesHandOver.h"
#include "CEngineHost.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"

CRunFilesHandOver::CRunFilesHandOver(const CRunFiles& files, std::initializer_list<CPluginBase*> plugins)
{
    for (CPluginBase* plugin : plugins) {
        if (plugin && !m_Plugins.contains(plugin)) {
            plugin->SetRunFiles(&files);
            m_Plugins.append(plugin);
        }
    }
}

CRunFilesHandOver::~CRunFilesHandOver()
{
    for (CPluginBase* plugin : std::as_const(m_Plugins))
        plugin->SetRunFiles(nullptr);
}

CRunFiles WindowRunFiles(CEngineHost& host, const QString& source, const CPluginClass* record)
{
    CRunFiles files;
    files.Add(CRunFiles::SOURCE, source);
    if (record && record->GetUserParameters())
        files.Add(CRunFiles::PARAMETER_FILE, record->GetUserParametersFile());
    files.Add(CRunFiles::RUN_LOG, host.GetLogFilePath());
    files.SetCurrentSource(source);
    return files;
}
