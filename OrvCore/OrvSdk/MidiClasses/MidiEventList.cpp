#include "MidiClasses/MidiEventList.h"

#include "MidiClasses/MidiEventData.h"

MidiEventList::~MidiEventList()
{
    Clear();
}

void MidiEventList::Clear()
{
    // Each event unlinks itself as it is deleted.
    while (m_pNext)
        delete m_pNext;
}

bool MidiEventList::Load(MidiArchive&, uint32_t& bytesRead)
{
    bytesRead = 0;
    WarnNotApplicable();
    return false;
}

bool MidiEventList::Store(MidiArchive&)
{
    WarnNotApplicable();
    return false;
}

void MidiEventList::Dump(QString&) const
{
    WarnNotApplicable();
}

MidiEventText MidiEventList::GetTypeName() const
{
    WarnNotApplicable();
    return MidiEventText();
}

void MidiEventList::FillData(MidiEventData& data) const
{
    data.m_Kind = MidiEventData::KIND_NONE;
}
