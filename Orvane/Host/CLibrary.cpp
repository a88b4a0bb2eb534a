#include "CLibrary.h"

CLibrary::CLibrary() : m_hModule(nullptr), m_RefCount(0) {}

CLibrary::~CLibrary()
{
    m_RefCount = 1;
    CLibrary::Release();
    m_Path = QByteArray();
}

bool CLibrary::AddRef()
{
    ++m_RefCount;
    if (m_RefCount == 1 && !m_Path.isNull())
        return Load(nullptr) != nullptr;
    return false;
}

void CLibrary::Release()
{
    if (m_RefCount == 0)
        return;
    --m_RefCount;
    if (m_RefCount < 1) {
        if (m_hModule)
            FreeLibrary(m_hModule);
        m_hModule = nullptr;
        SetPath(nullptr);
    }
}

bool CLibrary::SetPath(const char* path)
{
    if (m_hModule)
        return false;
    m_Path = path ? QByteArray(path) : QByteArray();
    return true;
}

HMODULE CLibrary::Load(const char* path)
{
    if (path)
        SetPath(path);
    // Loading twice would take a second loader reference that no Release ever returns.
    if (m_hModule)
        return m_hModule;
    if (m_Path.isNull())
        return nullptr;
    m_hModule = LoadLibraryA(m_Path.constData());
    return m_hModule;
}

void* CLibrary::Resolve(const char* name) const
{
    if (!m_hModule)
        return nullptr;
    return GetProcAddress(m_hModule, name);
}
