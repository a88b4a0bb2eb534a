#include "CSonra.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CSonra> g_SonraInfo;

ORV_PLUGIN_EXPORTS("Sonra", 0x10000, &g_SonraInfo)
