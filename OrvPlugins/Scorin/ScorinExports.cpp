#include "CScorin.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CScorin> g_ScorinInfo;

ORV_PLUGIN_EXPORTS("Scorin", 0x10000, &g_ScorinInfo)
