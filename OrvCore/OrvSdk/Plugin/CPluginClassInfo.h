#pragma once
#include <new>

class CPluginBase;

// One static object per converter class of a plug-in; the host asks it for
// new converters. The caller owns each converter and deletes it through
// CPluginBase's virtual destructor.
class CPluginClassInfo
{
public:
    // Null when the converter cannot be allocated.
    virtual CPluginBase* CreateInstance() = 0;

protected:
    CPluginClassInfo() = default;
    ~CPluginClassInfo() = default; // static objects, never deleted through the base
};

// The class info of converter class T, e.g. `static CPluginClassInfoOf<CTunra> g_TunraInfo;`.
template <class T>
class CPluginClassInfoOf : public CPluginClassInfo
{
public:
    CPluginBase* CreateInstance() override { return new (std::nothrow) T(); }
};
