// The plug-in's five entry points and its one converter class.
#include "CPlexa.h"

// The release this plug-in's version number stands for.
#define ORV_PLUGIN_BUILD_DATE "Oct  1 2002"
#include "Plugin/PluginExports.h"

static CPluginClassInfoOf<CPlexa> g_PlexaInfo;

ORV_PLUGIN_EXPORTS("Plexa", 0x10000, &g_PlexaInfo)
