// A plug-in that names itself and claims one class but lacks "PluginClassInfo", so no converter can be made.
#include "Plugin/PluginExports.h"

ORV_PLUGIN_EXPORT const char* PluginName()
{
    return "Missing export";
}

ORV_PLUGIN_EXPORT int PluginVersion()
{
    return 0x30004;
}

ORV_PLUGIN_EXPORT int PluginClassCount()
{
    return 1;
}

ORV_PLUGIN_EXPORT const char* PluginBuildDate()
{
    return "Oct  1 2002";
}
