#include "CRinglet.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CRinglet> g_RingletInfo;

ORV_PLUGIN_EXPORTS("Ringlet", 0x10000, &g_RingletInfo)
