// The plug-in's five entry points and its one converter class.
#include "CTunra.h"

// The release this plug-in's version number stands for.
#define ORV_PLUGIN_BUILD_DATE "Oct  1 2002"
#include "Plugin/PluginExports.h"

static CPluginClassInfoOf<CTunra> g_TunraInfo;

ORV_PLUGIN_EXPORTS("Tunra", 0x10001, &g_TunraInfo)
