#pragma once
#include <QByteArray>
#include <cstdint>

// Flat copy of one event, handed to callers that should not hold on to the
// event tree. The data bytes are the copy's own.
class MidiEventData
{
public:
    enum Kind
    {
        KIND_UNSET = 0,
        KIND_MESSAGE = 1,
        KIND_META = 2,
        KIND_SYSEX = 3,
        KIND_NONE = 4
    };

    MidiEventData() = default;
    void Clear() { *this = MidiEventData(); }

    int m_Kind = KIND_UNSET;
    uint32_t m_DeltaTime = 0;
    uint8_t m_Status = 0;
    uint8_t m_Data1 = 0;
    uint8_t m_Data2 = 0;
    uint8_t m_MetaType = 0;
    uint32_t m_Length = 0;
    QByteArray m_Data;
};
