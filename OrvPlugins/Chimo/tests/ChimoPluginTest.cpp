// The plug-in as the host loads it.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(ChimoPlugin, ModuleExportsAOneLineMelodyConverter)
{
    ExpectModule(ORV_PLUGIN_FILE, "Chimo", 0x10000, "QBR");
}
