#include "Documents/CDocumentAbstract.h"
#include "Util/AllocationFailure.h"

#include <climits>
#include <cstdlib>
#include <cstring>

CDocumentAbstract::~CDocumentAbstract()
{
    std::free(m_pData);
}

bool CDocumentAbstract::Allocate(uint32_t size)
{
    uchar* bytes = nullptr;
    if (size) {
        bytes = static_cast<uchar*>(std::calloc(size, 1));
        // Memory that is lacking fails the work (a result, a message), never passes for an empty document.
        if (!bytes)
            AllocationFailure::Raise();
    }
    std::free(m_pData);
    m_pData = bytes;
    m_Size = size;
    return true;
}

bool CDocumentAbstract::SetData(const void* data, uint32_t size)
{
    if (size && !data)
        return false;
    if (!Allocate(size))
        return false;
    if (size)
        std::memcpy(m_pData, data, size);
    return true;
}

void CDocumentAbstract::Clear()
{
    Allocate(0);
}

QByteArray CDocumentAbstract::ToByteArray() const
{
    if (!m_pData || m_Size > uint32_t(INT_MAX))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(m_pData), int(m_Size));
}
