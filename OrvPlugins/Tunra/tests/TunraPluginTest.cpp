// The plug-in library as the host sees it: five exports and a class info
// that makes converters.
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"

#include "LoadedPluginModule.h"

#include <QString>
#include <gtest/gtest.h>

namespace {
class TunraPlugin : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_Module.IsLoaded()) << m_Module.Error(); }
    LoadedPluginModule m_Module{ORV_PLUGIN_FILE};
};
} // namespace

TEST_F(TunraPlugin, FiveExports)
{
    ASSERT_NO_FATAL_FAILURE(ExpectModuleIdentity(m_Module, "Tunra", 0x10001, 1));
    const auto info = m_Module.classInfo;
    ASSERT_NE(info(0), nullptr);
    EXPECT_EQ(info(5), info(0));
}

TEST_F(TunraPlugin, ClassInfoMakesAnIMelodyConverter)
{
    const auto info = m_Module.classInfo;
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
    EXPECT_EQ(m_Module.Symbol("_ZN6CTunra7ConvertEP9CDocument"), nullptr);
}
