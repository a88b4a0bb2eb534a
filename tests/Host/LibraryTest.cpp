#include "Host/CLibrary.h"
#include "Host/CPlugin.h"
#include "Host/DynamicLibrary.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/CPluginClassInfo.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray Module(const char* name)
{
    return QFile::encodeName(QStringLiteral(ORV_TEST_PLUGIN_DIR "/") + QString::fromLatin1(name)
                             + QStringLiteral(".so"));
}

TEST(Library, AddRefLoadsOnceAndTheLastReleaseFreesAndForgets)
{
    const QByteArray path = Module("TestImporter");
    CLibrary library;
    EXPECT_EQ(library.GetRefCount(), 0u);
    EXPECT_FALSE(library.AddRef()); // no path stored yet
    library.Release();
    EXPECT_EQ(library.GetRefCount(), 0u);

    ASSERT_TRUE(library.SetPath(path.constData()));
    EXPECT_TRUE(library.AddRef());
    EXPECT_NE(library.GetModule(), nullptr);
    EXPECT_NE(library.Resolve("PluginName"), nullptr);
    EXPECT_EQ(library.Resolve("NoSuchExport"), nullptr);
    EXPECT_FALSE(library.SetPath("/elsewhere.so")); // refused while loaded
    EXPECT_STREQ(library.GetPath(), path.constData());

    EXPECT_FALSE(library.AddRef()); // a second reference reports false but keeps the library
    library.Release();
    EXPECT_NE(library.GetModule(), nullptr);
    EXPECT_NE(library.Resolve("PluginName"), nullptr);
    library.Release();
    EXPECT_EQ(library.GetModule(), nullptr);
    EXPECT_EQ(library.GetPath(), nullptr);
    EXPECT_EQ(library.Resolve("PluginName"), nullptr);
    library.Release(); // at 0: nothing happens
    EXPECT_EQ(library.GetRefCount(), 0u);
}

TEST(Library, LoadStoresThePathAndFailsCleanly)
{
    CLibrary library;
    EXPECT_EQ(library.Load(nullptr), nullptr);
    EXPECT_EQ(library.Load("/no/such/library.so"), nullptr);
    EXPECT_STREQ(library.GetPath(), "/no/such/library.so");
    const QByteArray path = Module("TestTranslator");
    const HMODULE module = library.Load(path.constData());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(library.Load(nullptr), module);
    EXPECT_FALSE(library.SetPath(nullptr));
}

TEST(Library, BareNameIsLookedUpInTheCurrentFolderOnly)
{
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(ORV_TEST_PLUGIN_DIR)));
    const HMODULE module = LoadLibraryA("TestImporter.so");
    EXPECT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    QDir::setCurrent(saved);
    EXPECT_EQ(LoadLibraryA("TestImporter.so"), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "PluginName"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Plugin, ResolvesTheFiveExports)
{
    CPlugin plugin(Module("TestExporter").constData());
    EXPECT_STREQ(plugin.GetName(), "Test exporter");
    EXPECT_EQ(plugin.GetVersion(), 0x10016);
    EXPECT_EQ(plugin.GetClassCount(), 1);
    EXPECT_NE(plugin.GetBuildDate(), nullptr);
    EXPECT_EQ(plugin.GetRefCount(), 0u);
    CPluginClassInfo* info = plugin.GetClassInfo(5); // a one-class library ignores the index
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info, plugin.GetClassInfo(0));
    std::unique_ptr<CPluginBase> converter(info->CreateInstance());
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(converter->GetExportExtension(), QStringLiteral("TST"));
}

TEST(Plugin, MissingExportsAnswerNullOrZero)
{
    struct Case
    {
        const char* module;
        const char* name;
        int version;
        int count;
        bool date;
    };
    const Case cases[] = {
        {"TestMissingExport", "Missing export", 0x30004, 1, true},
        {"TestNotAPlugin", nullptr, 0, 0, false},
        {"NoSuchModule", nullptr, 0, 0, false},
    };
    for (const Case& c : cases) {
        CPlugin plugin(Module(c.module).constData());
        if (c.name)
            EXPECT_STREQ(plugin.GetName(), c.name) << c.module;
        else
            EXPECT_EQ(plugin.GetName(), nullptr) << c.module;
        EXPECT_EQ(plugin.GetVersion(), c.version) << c.module;
        EXPECT_EQ(plugin.GetClassCount(), c.count) << c.module;
        EXPECT_EQ(plugin.GetClassInfo(0), nullptr) << c.module;
        EXPECT_EQ(plugin.GetBuildDate() != nullptr, c.date) << c.module;
    }
}

} // namespace
