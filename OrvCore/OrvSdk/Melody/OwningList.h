#pragma once
// An ordered list of heap objects that it owns: removing an item or clearing
// the list deletes the items, so melody lists and event lists never leak or
// double-free whatever path a writer or parser takes out of its loop.
#include <memory>
#include <vector>

template <typename T>
class COwningList
{
public:
    COwningList() = default;
    COwningList(const COwningList&) = delete;
    COwningList& operator=(const COwningList&) = delete;
    COwningList(COwningList&&) = default;
    COwningList& operator=(COwningList&&) = default;

    int count() const { return static_cast<int>(m_Items.size()); }
    int size() const { return count(); }
    bool isEmpty() const { return m_Items.empty(); }

    // Null outside the list, so callers can walk without extra bounds checks.
    T* at(int index) const
    {
        return (index >= 0 && index < count()) ? m_Items[static_cast<size_t>(index)].get() : nullptr;
    }
    T* first() const { return at(0); }
    T* last() const { return at(count() - 1); }

    // The list takes the item over; a null item is refused.
    bool append(T* item)
    {
        if (!item)
            return false;
        m_Items.emplace_back(item);
        return true;
    }
    bool prepend(T* item) { return insert(0, item); }
    bool insert(int index, T* item)
    {
        if (!item || index < 0 || index > count())
            return false;
        m_Items.emplace(m_Items.begin() + index, item);
        return true;
    }

    // Deletes the item at index; false outside the list.
    bool removeAt(int index)
    {
        if (index < 0 || index >= count())
            return false;
        m_Items.erase(m_Items.begin() + index);
        return true;
    }
    // Deletes the item itself when it is in the list.
    bool remove(const T* item)
    {
        const int index = indexOf(item);
        return index >= 0 && removeAt(index);
    }
    // Hands the item back to the caller, who then owns it.
    T* takeAt(int index)
    {
        if (index < 0 || index >= count())
            return nullptr;
        T* item = m_Items[static_cast<size_t>(index)].release();
        m_Items.erase(m_Items.begin() + index);
        return item;
    }
    int indexOf(const T* item) const
    {
        for (size_t i = 0; i < m_Items.size(); ++i)
            if (m_Items[i].get() == item)
                return static_cast<int>(i);
        return -1;
    }
    void clear() { m_Items.clear(); }
    void reserve(int n) { m_Items.reserve(n > 0 ? static_cast<size_t>(n) : 0); }

    class const_iterator
    {
    public:
        explicit const_iterator(typename std::vector<std::unique_ptr<T>>::const_iterator it) : m_It(it) {}
        T* operator*() const { return m_It->get(); }
        const_iterator& operator++()
        {
            ++m_It;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_It != other.m_It; }
        bool operator==(const const_iterator& other) const { return m_It == other.m_It; }

    private:
        typename std::vector<std::unique_ptr<T>>::const_iterator m_It;
    };
    const_iterator begin() const { return const_iterator(m_Items.begin()); }
    const_iterator end() const { return const_iterator(m_Items.end()); }

private:
    std::vector<std::unique_ptr<T>> m_Items;
};
