// A shared library in the plug-in folder that exports none of the plug-in entry points.
#include "Plugin/PluginExports.h"

ORV_PLUGIN_EXPORT int NotAPluginAnswer()
{
    return 42;
}
