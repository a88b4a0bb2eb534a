#pragma once
#include "DynamicLibrary.h"
#include <QByteArray>
#include <cstdint>

// A reference-counted handle on one dynamic library.
class CLibrary
{
public:
    CLibrary();
    // Frees the library whatever the count is.
    virtual ~CLibrary();
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;

    // Adds a reference. True only when this first reference loaded the stored library.
    virtual bool AddRef();
    // Drops a reference; the last one frees the library and forgets its path.
    virtual void Release();

    // Refused (false) while a module is loaded; a null path forgets the stored one.
    bool SetPath(const char* path);
    // Stores a non-null path first, then loads the stored one. A module already loaded is returned as it is.
    HMODULE Load(const char* path);
    // The address of an export of the loaded module; null without a module.
    void* Resolve(const char* name) const;

    HMODULE GetModule() const { return m_hModule; }
    // Null when no path is stored.
    const char* GetPath() const { return m_Path.isNull() ? nullptr : m_Path.constData(); }
    uint32_t GetRefCount() const { return m_RefCount; }

private:
    HMODULE m_hModule;
    QByteArray m_Path;
    uint32_t m_RefCount;
};
