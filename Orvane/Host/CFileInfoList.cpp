#include "CFileInfoList.h"
#include "CFileInfo.h"

CFileInfoList::~CFileInfoList()
{
    clear();
}

CFileInfo* CFileInfoList::at(int index) const
{
    if (index < 0 || index >= m_Items.size())
        return nullptr;
    return m_Items.at(index);
}

void CFileInfoList::clear()
{
    if (m_OwnsItems)
        qDeleteAll(m_Items);
    m_Items.clear();
}
