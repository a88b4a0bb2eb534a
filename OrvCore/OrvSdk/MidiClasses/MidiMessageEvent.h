#pragma once
#include "MidiClasses/MidiEvent.h"

// A channel message: status 0x80-0xEF and up to two data bytes.
class MidiMessageEvent : public MidiEvent
{
public:
    MidiMessageEvent(uint32_t deltaTime, uint8_t status);

    bool Load(MidiArchive& ar, uint32_t& bytesRead) override;
    void Dump(QString& text) const override;
    MidiEventText GetTypeName() const override;

    uint8_t GetData1() const { return m_Data1; }
    uint8_t GetData2() const { return m_Data2; }
    int GetDataCount() const { return m_DataCount; }

    // Data bytes that follow a status byte: 2, or 1 for program change and
    // aftertouch, 0 for a byte that is no channel status.
    static int DataCountOfStatus(uint8_t status);

protected:
    void FillData(MidiEventData& data) const override;

private:
    uint8_t m_Data1 = 0;
    uint8_t m_Data2 = 0;
    int m_DataCount;
};
