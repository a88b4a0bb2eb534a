#pragma once
#include <QList>

class CFileInfo;

// An ordered list of file descriptions. An owning list deletes its items when it is cleared or destroyed.
class CFileInfoList
{
public:
    explicit CFileInfoList(bool ownsItems = false) : m_OwnsItems(ownsItems) {}
    ~CFileInfoList();
    CFileInfoList(const CFileInfoList&) = delete;
    CFileInfoList& operator=(const CFileInfoList&) = delete;

    int count() const { return int(m_Items.size()); }
    bool isEmpty() const { return m_Items.isEmpty(); }
    // Null outside the list.
    CFileInfo* at(int index) const;
    void append(CFileInfo* item) { m_Items.append(item); }
    // Empties the list; an owning list deletes the items.
    void clear();

    QList<CFileInfo*>::const_iterator begin() const { return m_Items.cbegin(); }
    QList<CFileInfo*>::const_iterator end() const { return m_Items.cend(); }

private:
    QList<CFileInfo*> m_Items;
    bool m_OwnsItems;
};
