// The five entry points of the Messra plug-in: class 0 the EMS translator,
// class 1 the TDD translator.
#include "CMessra.h"
#include "CTranslatorTDD.h"

#define ORV_PLUGIN_BUILD_DATE "Oct  1 2002"
#include "Plugin/PluginExports.h"

static CPluginClassInfoOf<CMessra> g_MessraInfo;
static CPluginClassInfoOf<CTranslatorTDD> g_TranslatorTDDInfo;

ORV_PLUGIN_EXPORTS("Ems and Tdd translators", 0x10001, &g_MessraInfo, &g_TranslatorTDDInfo)
