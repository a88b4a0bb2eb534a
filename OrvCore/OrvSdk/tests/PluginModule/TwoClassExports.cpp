#include "Plugin/PluginExports.h"
#include "TestConverters.h"

static CPluginClassInfoOf<CTestImporter> g_ImporterInfo;
static CPluginClassInfoOf<CTestExporter> g_ExporterInfo;

ORV_PLUGIN_EXPORTS("Test plug-in two", 0x20003, &g_ImporterInfo, &g_ExporterInfo)
