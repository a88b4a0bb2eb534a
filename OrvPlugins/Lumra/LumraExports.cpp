#include "CLumraAnimated.h"
#include "CLumraStatic.h"

#include "Import/ImporterExports.h"

static CPluginClassInfoOf<CLumraStatic> g_LumraStaticInfo;
static CPluginClassInfoOf<CLumraAnimated> g_LumraAnimatedInfo;

ORV_PLUGIN_EXPORTS("Lumra", 0x10000, &g_LumraStaticInfo, &g_LumraAnimatedInfo)
