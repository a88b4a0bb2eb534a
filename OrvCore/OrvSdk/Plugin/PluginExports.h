#pragma once
// The five C entry points of a plug-in library. A plug-in defines them in one
// line after its class-info objects:
//
//     static CPluginClassInfoOf<CTunra> g_TunraInfo;
//     ORV_PLUGIN_EXPORTS("Tunra", 0x10001, &g_TunraInfo)
//
// With two classes, list both: PluginClassInfo then returns null for an index
// at or beyond the count; a library with one class ignores the index.
#include "Plugin/CPluginClassInfo.h"

#include <cstddef>
#include <initializer_list>

#define ORV_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// "Mmm dd yyyy", the day padded with a blank, e.g. "Oct  1 2002".
#ifndef ORV_PLUGIN_BUILD_DATE
#define ORV_PLUGIN_BUILD_DATE __DATE__
#endif

// The signatures the host resolves by name.
typedef const char* (*PluginNameFunction)();
typedef int (*PluginVersionFunction)();
typedef int (*PluginClassCountFunction)();
typedef CPluginClassInfo* (*PluginClassInfoFunction)(int index);
typedef const char* (*PluginBuildDateFunction)();

namespace OrvPluginExports {
inline int ClassCount(std::initializer_list<CPluginClassInfo*> classes)
{
    return int(classes.size());
}

inline CPluginClassInfo* ClassInfoAt(int index, std::initializer_list<CPluginClassInfo*> classes)
{
    if (classes.size() == 1)
        return *classes.begin();
    if (index < 0 || size_t(index) >= classes.size())
        return nullptr;
    return classes.begin()[index];
}
} // namespace OrvPluginExports

// version: major in the high 16 bits, minor in the low 16 bits (0x10001 is 1.1).
#define ORV_PLUGIN_EXPORTS(name, version, ...)                                                                         \
    ORV_PLUGIN_EXPORT const char* PluginName()                                                                         \
    {                                                                                                                  \
        return name;                                                                                                   \
    }                                                                                                                  \
    ORV_PLUGIN_EXPORT int PluginVersion()                                                                              \
    {                                                                                                                  \
        return version;                                                                                                \
    }                                                                                                                  \
    ORV_PLUGIN_EXPORT int PluginClassCount()                                                                           \
    {                                                                                                                  \
        return OrvPluginExports::ClassCount({__VA_ARGS__});                                                            \
    }                                                                                                                  \
    ORV_PLUGIN_EXPORT CPluginClassInfo* PluginClassInfo(int index)                                                     \
    {                                                                                                                  \
        return OrvPluginExports::ClassInfoAt(index, {__VA_ARGS__});                                                    \
    }                                                                                                                  \
    ORV_PLUGIN_EXPORT const char* PluginBuildDate()                                                                    \
    {                                                                                                                  \
        return ORV_PLUGIN_BUILD_DATE;                                                                                  \
    }
