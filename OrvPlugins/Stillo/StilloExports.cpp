// The plug-in's five entry points and its one converter class.
#include "CStillo.h"

// The release this plug-in's version number stands for.
#define ORV_PLUGIN_BUILD_DATE "Oct  1 2002"
#include "Plugin/PluginExports.h"

static CPluginClassInfoOf<CStillo> g_StilloInfo;

ORV_PLUGIN_EXPORTS("Stillo", 0x10016, &g_StilloInfo)
