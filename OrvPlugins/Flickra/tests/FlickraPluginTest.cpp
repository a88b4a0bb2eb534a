// The plug-in as the host loads it.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(FlickraPlugin, ModuleExportsAnAnimationConverter)
{
    ExpectModule(ORV_PLUGIN_FILE, "Flickra", 0x10016, "ANI");
}
