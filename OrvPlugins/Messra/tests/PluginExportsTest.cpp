// The built plug-in loaded as the host loads it.
#include "Plugin/PluginExports.h"
#include "LoadedPluginModule.h"
#include "Plugin/CPluginBase.h"
#include <gtest/gtest.h>
#include <memory>

TEST(PluginExports, NameVersionClassesAndDate)
{
    LoadedPluginModule module(ORV_PLUGIN_FILE);
    ASSERT_NO_FATAL_FAILURE(ExpectModuleIdentity(module, "Ems and Tdd translators", 0x10001, 2));
    const auto info = module.classInfo;
    EXPECT_EQ(info(2), nullptr);

    const char* extensions[] = {"EMS_SMS", "TDD_SMS"};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(info(i));
        std::unique_ptr<CPluginBase> translator(info(i)->CreateInstance());
        ASSERT_TRUE(translator);
        EXPECT_EQ(translator->GetExportExtension(), QString::fromLatin1(extensions[i]));
        EXPECT_EQ(translator->GetConverterType(), 3);
    }
}
