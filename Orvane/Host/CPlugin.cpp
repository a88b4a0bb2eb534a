#include "CPlugin.h"

namespace {

template <typename Function>
Function ResolveAs(const CLibrary& library, const char* name)
{
    return reinterpret_cast<Function>(library.Resolve(name));
}

} // namespace

CPlugin::CPlugin(const char* path)
{
    Load(path);
    m_pPluginName = ResolveAs<TextExport>(*this, "PluginName");
    m_pPluginVersion = ResolveAs<NumberExport>(*this, "PluginVersion");
    m_pPluginClassCount = ResolveAs<NumberExport>(*this, "PluginClassCount");
    m_pPluginClassInfo = ResolveAs<ClassInfoExport>(*this, "PluginClassInfo");
    m_pPluginBuildDate = ResolveAs<TextExport>(*this, "PluginBuildDate");
}

CPlugin::~CPlugin() = default;

const char* CPlugin::GetName() const
{
    return m_pPluginName ? m_pPluginName() : nullptr;
}

int CPlugin::GetVersion() const
{
    return m_pPluginVersion ? m_pPluginVersion() : 0;
}

int CPlugin::GetClassCount() const
{
    return m_pPluginClassCount ? m_pPluginClassCount() : 0;
}

CPluginClassInfo* CPlugin::GetClassInfo(int index) const
{
    return m_pPluginClassInfo ? m_pPluginClassInfo(index) : nullptr;
}

const char* CPlugin::GetBuildDate() const
{
    return m_pPluginBuildDate ? m_pPluginBuildDate() : nullptr;
}
