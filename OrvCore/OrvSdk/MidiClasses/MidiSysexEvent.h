#pragma once
#include "MidiClasses/MidiEvent.h"

// A system exclusive or other system event (status 0xF0-0xFE) with its
// length-prefixed data.
class MidiSysexEvent : public MidiEvent
{
public:
    MidiSysexEvent(uint32_t deltaTime, uint8_t status);

    bool Load(MidiArchive& ar, uint32_t& bytesRead) override;
    void Dump(QString& text) const override;
    MidiEventText GetTypeName() const override;

    uint32_t GetLength() const { return uint32_t(m_Data.size()); }
    const QByteArray& GetBytes() const { return m_Data; }

protected:
    void FillData(MidiEventData& data) const override;

private:
    QByteArray m_Data;
};
