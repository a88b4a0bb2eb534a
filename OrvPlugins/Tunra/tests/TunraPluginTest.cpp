// The plug-in library as the host sees it: five exports and a class info
// that makes converters.
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"

#include <QString>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {
class TunraPlugin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pHandle = dlopen(ORV_TUNRA_PLUGIN, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_pHandle, nullptr) << dlerror();
    }
    void TearDown() override
    {
        if (m_pHandle)
            dlclose(m_pHandle);
    }
    template <typename F>
    F Resolve(const char* name)
    {
        return reinterpret_cast<F>(dlsym(m_pHandle, name));
    }
    void* m_pHandle = nullptr;
};
} // namespace

TEST_F(TunraPlugin, FiveExports)
{
    auto name = Resolve<PluginNameFunction>("PluginName");
    auto version = Resolve<PluginVersionFunction>("PluginVersion");
    auto count = Resolve<PluginClassCountFunction>("PluginClassCount");
    auto info = Resolve<PluginClassInfoFunction>("PluginClassInfo");
    auto date = Resolve<PluginBuildDateFunction>("PluginBuildDate");
    ASSERT_TRUE(name && version && count && info && date);
    EXPECT_STREQ(name(), "Tunra");
    EXPECT_EQ(version(), 0x10001);
    EXPECT_EQ(count(), 1);
    EXPECT_STREQ(date(), "Oct  1 2002");
    ASSERT_NE(info(0), nullptr);
    EXPECT_EQ(info(5), info(0));
}

TEST_F(TunraPlugin, ClassInfoMakesAnIMelodyConverter)
{
    auto info = Resolve<PluginClassInfoFunction>("PluginClassInfo");
    ASSERT_TRUE(info);
    CPluginBase* converter = info(0)->CreateInstance();
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(converter->GetExportExtension(), QStringLiteral("IMY"));
    EXPECT_EQ(converter->GetConverterType(), int(CPluginBase::EXPORTER));
    delete converter;
}

TEST_F(TunraPlugin, ExportsNothingElse)
{
    // Only the five entry points are visible: the plug-in's copy of the SDK
    // stays its own.
    EXPECT_EQ(dlsym(m_pHandle, "_ZN6CTunra7ConvertEP9CDocument"), nullptr);
}
