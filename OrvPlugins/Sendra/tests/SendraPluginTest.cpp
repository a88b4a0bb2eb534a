// The plug-in as the host loads it.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(SendraPlugin, ModuleExportsAnEmsAnimationConverter)
{
    ExpectModule(ORV_PLUGIN_FILE, "Sendra", 0x10000, "EMA");
}
