#pragma once
// The five exports of an import plug-in. Importers all state the same build date,
// the one the host has always shown for them.
#define ORV_PLUGIN_BUILD_DATE "Oct  1 2002"
#include "Plugin/PluginExports.h"
