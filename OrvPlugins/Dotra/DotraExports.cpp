#include "CDotra.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CDotra> g_DotraInfo;

ORV_PLUGIN_EXPORTS("Dotra", 0x10000, &g_DotraInfo)
