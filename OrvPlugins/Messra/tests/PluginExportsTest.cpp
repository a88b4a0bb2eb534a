// The built plug-in loaded as the host loads it.
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>

namespace
{
struct Module
{
    Module() : handle(dlopen(MESSRA_MODULE, RTLD_NOW | RTLD_LOCAL)) {}
    ~Module()
    {
        if (handle)
            dlclose(handle);
    }
    template <class F>
    F Get(const char* name) const
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }
    void* handle;
};
}

TEST(PluginExports, NameVersionClassesAndDate)
{
    Module module;
    ASSERT_TRUE(module.handle) << dlerror();
    const auto name = module.Get<PluginNameFunction>("PluginName");
    const auto version = module.Get<PluginVersionFunction>("PluginVersion");
    const auto count = module.Get<PluginClassCountFunction>("PluginClassCount");
    const auto info = module.Get<PluginClassInfoFunction>("PluginClassInfo");
    const auto date = module.Get<PluginBuildDateFunction>("PluginBuildDate");
    ASSERT_TRUE(name && version && count && info && date);
    EXPECT_STREQ(name(), "Ems and Tdd translators");
    EXPECT_EQ(version(), 0x10001);
    EXPECT_EQ(count(), 2);
    EXPECT_STREQ(date(), "Oct  1 2002");
    EXPECT_EQ(info(2), nullptr);

    const char* extensions[] = {"EMS_SMS", "TDD_SMS"};
    for (int i = 0; i < 2; ++i)
    {
        ASSERT_TRUE(info(i));
        std::unique_ptr<CPluginBase> translator(info(i)->CreateInstance());
        ASSERT_TRUE(translator);
        EXPECT_EQ(translator->GetExportExtension(), QString::fromLatin1(extensions[i]));
        EXPECT_EQ(translator->GetConverterType(), 3);
    }
}
