#pragma once
#include "CLibrary.h"

class CPluginClassInfo;

// A plug-in library with its five exports resolved by name. A missing export answers null or 0.
class CPlugin : public CLibrary
{
public:
    // Loads the library; one that fails to load still gives an object whose exports are all missing.
    explicit CPlugin(const char* path);
    ~CPlugin() override;

    const char* GetName() const;
    int GetVersion() const;
    int GetClassCount() const;
    CPluginClassInfo* GetClassInfo(int index) const;
    const char* GetBuildDate() const;

private:
    typedef const char* (*TextExport)();
    typedef int (*NumberExport)();
    typedef CPluginClassInfo* (*ClassInfoExport)(int);

    TextExport m_pPluginName;
    NumberExport m_pPluginVersion;
    NumberExport m_pPluginClassCount;
    ClassInfoExport m_pPluginClassInfo;
    TextExport m_pPluginBuildDate;
};
