#pragma once
#include "MidiClasses/MidiEvent.h"

// A meta event (status 0xFF): its type byte and length-prefixed data.
class MidiMetaEvent : public MidiEvent
{
public:
    // Meta types this system reads a value or a text from.
    enum Type
    {
        SEQUENCE_NUMBER = 0x00,
        GENERAL_TEXT = 0x01,
        CUE_POINT = 0x07,
        CHANNEL_PREFIX = 0x20,
        END_OF_TRACK = 0x2F,
        SET_TEMPO = 0x51,
        TIME_SIGNATURE = 0x58,
        KEY_SIGNATURE = 0x59
    };
    // Answers of GetMetaKind.
    enum Kind
    {
        KIND_OTHER = 0,
        KIND_TEXT = 1,
        KIND_TEMPO = 2,
        KIND_TIME_SIGNATURE = 3,
        KIND_KEY_SIGNATURE = 4
    };

    MidiMetaEvent(uint32_t deltaTime, uint8_t status = 0xFF);

    bool Load(MidiArchive& ar, uint32_t& bytesRead) override;
    void Dump(QString& text) const override;
    MidiEventText GetTypeName() const override;
    // The data bytes as Latin-1 text, at most 255 characters, ending at a
    // zero byte.
    MidiEventText GetText() const override;
    // Set tempo: microseconds per quarter note. Time signature: numerator in
    // bits 0-7, denominator (a power of two) in bits 8-15, clocks per click in
    // 16-23, 32nd notes per quarter in 24-31. Key signature: sharps or flats
    // times 256 plus major/minor. 0 for other types and for data too short.
    uint32_t GetValue() const override;
    int GetMetaKind() const override;

    uint8_t GetType() const { return m_Type; }
    uint32_t GetLength() const { return uint32_t(m_Data.size()); }
    const QByteArray& GetBytes() const { return m_Data; }

protected:
    void FillData(MidiEventData& data) const override;

private:
    // Data byte at index, or 0 past the end.
    uint8_t ByteAt(int index) const;
    bool HasBytes(int count) const { return m_Data.size() >= count; }
    QString ValueText() const;

    uint8_t m_Type = 0;
    QByteArray m_Data;
};
