#pragma once
#include "Util/Assert.h"

// The doubly linked chain that tracks and events live in. `T` is the class
// that derives from it; the chain never owns its items.
template <class T>
class MidiChainLink
{
public:
    T* GetNext() const { return m_pNext; }
    T* GetPrev() const { return m_pPrev; }
    bool IsLinked() const { return m_Linked; }

    // Links this item right after `previous`, unlinking it first when linked.
    void InsertAfter(T* previous)
    {
        ASSERT(previous != nullptr);
        ASSERT(previous != Self());
        if (!previous || previous == Self())
            return;
        if (m_Linked)
            Unlink();
        m_pPrev = previous;
        m_pNext = previous->m_pNext;
        if (m_pNext)
            m_pNext->m_pPrev = Self();
        previous->m_pNext = Self();
        m_Linked = true;
    }

    // A chain head is never linked itself, so it never cuts its items loose.
    void Unlink()
    {
        if (!m_Linked)
            return;
        if (m_pPrev)
            m_pPrev->m_pNext = m_pNext;
        if (m_pNext)
            m_pNext->m_pPrev = m_pPrev;
        m_pPrev = nullptr;
        m_pNext = nullptr;
        m_Linked = false;
    }

protected:
    MidiChainLink() = default;
    ~MidiChainLink() = default;

    T* m_pPrev = nullptr;
    T* m_pNext = nullptr;
    bool m_Linked = false;

private:
    T* Self() { return static_cast<T*>(this); }
};
