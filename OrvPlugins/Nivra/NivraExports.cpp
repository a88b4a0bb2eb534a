#include "CNivra.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CNivra> g_NivraInfo;

ORV_PLUGIN_EXPORTS("Nivra", 0x10001, &g_NivraInfo)
