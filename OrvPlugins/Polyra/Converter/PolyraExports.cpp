// The plug-in's five entry points and its one converter class.
#include "CPolyra.h"

// The release this plug-in's version number stands for.
#define ORV_PLUGIN_BUILD_DATE "Oct  1 2002"
#include "Plugin/PluginExports.h"

static CPluginClassInfoOf<CPolyra> g_PolyraInfo;

ORV_PLUGIN_EXPORTS("Polyra", 0x10000, &g_PolyraInfo)
