#pragma once
// A built plug-in module loaded as the host loads it: dlopen by absolute path,
// then its five C exports resolved by name. Unloaded when it goes.
#include "Plugin/PluginExports.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <string>

class LoadedPluginModule
{
public:
    explicit LoadedPluginModule(const char* path)
        : m_pHandle(dlopen(QFile::encodeName(QString::fromUtf8(path)).constData(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_pHandle) {
            const char* error = dlerror();
            m_Error = error ? error : "dlopen failed";
            return;
        }
        name = Resolve<PluginNameFunction>("PluginName");
        version = Resolve<PluginVersionFunction>("PluginVersion");
        classCount = Resolve<PluginClassCountFunction>("PluginClassCount");
        classInfo = Resolve<PluginClassInfoFunction>("PluginClassInfo");
        buildDate = Resolve<PluginBuildDateFunction>("PluginBuildDate");
    }
    ~LoadedPluginModule() { Unload(); }
    LoadedPluginModule(const LoadedPluginModule&) = delete;
    LoadedPluginModule& operator=(const LoadedPluginModule&) = delete;

    bool IsLoaded() const { return m_pHandle != nullptr; }
    // Why the module did not load.
    const char* Error() const { return m_Error.c_str(); }
    bool HasFiveExports() const { return name && version && classCount && classInfo && buildDate; }
    void* Handle() const { return m_pHandle; }
    // Any other symbol by name; null when the module keeps it hidden.
    void* Symbol(const char* symbol) const { return m_pHandle ? dlsym(m_pHandle, symbol) : nullptr; }
    // dlclose's answer (0 when unloaded cleanly, also when never loaded).
    int Unload()
    {
        const int result = m_pHandle ? dlclose(m_pHandle) : 0;
        m_pHandle = nullptr;
        return result;
    }

    PluginNameFunction name = nullptr;
    PluginVersionFunction version = nullptr;
    PluginClassCountFunction classCount = nullptr;
    PluginClassInfoFunction classInfo = nullptr;
    PluginBuildDateFunction buildDate = nullptr;

private:
    template <class F>
    F Resolve(const char* symbol) const
    {
        return reinterpret_cast<F>(dlsym(m_pHandle, symbol));
    }

    void* m_pHandle;
    std::string m_Error;
};

// What every plug-in tells the host about itself; the build date is fixed.
inline void ExpectModuleIdentity(const LoadedPluginModule& module, const char* name, int version, int classCount)
{
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    ASSERT_TRUE(module.HasFiveExports());
    EXPECT_STREQ(module.name(), name);
    EXPECT_EQ(module.version(), version);
    EXPECT_EQ(module.classCount(), classCount);
    EXPECT_STREQ(module.buildDate(), "Oct  1 2002");
}
