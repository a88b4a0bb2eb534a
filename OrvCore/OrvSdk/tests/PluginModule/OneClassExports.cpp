#include "Plugin/PluginExports.h"
#include "TestConverters.h"

static CPluginClassInfoOf<CTestExporter> g_ExporterInfo;

ORV_PLUGIN_EXPORTS("Test plug-in one", 0x10001, &g_ExporterInfo)
