#include "CMotra.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CMotra> g_MotraInfo;

ORV_PLUGIN_EXPORTS("Motra", 0x10001, &g_MotraInfo)
