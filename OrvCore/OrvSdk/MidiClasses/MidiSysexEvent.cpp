#include "MidiClasses/MidiSysexEvent.h"

#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiEventData.h"
#include "Util/Assert.h"

MidiSysexEvent::MidiSysexEvent(uint32_t deltaTime, uint8_t status) : MidiEvent(deltaTime, status) {}

bool MidiSysexEvent::Load(MidiArchive& ar, uint32_t& bytesRead)
{
    bytesRead = 0;
    ASSERT(ar.IsLoading());
    if (!ar.IsLoading())
        return false;
    return LoadSizedData(ar, m_Data, bytesRead);
}

void MidiSysexEvent::Dump(QString& text) const
{
    text += QStringLiteral("Sysex\n");
}

MidiEventText MidiSysexEvent::GetTypeName() const
{
    MidiEventText name;
    name.second = QStringLiteral("Sysex          ");
    return name;
}

void MidiSysexEvent::FillData(MidiEventData& data) const
{
    data.m_Kind = MidiEventData::KIND_SYSEX;
    data.m_Length = GetLength();
    data.m_Data = m_Data;
}
