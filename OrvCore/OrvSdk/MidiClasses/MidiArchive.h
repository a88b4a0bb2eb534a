#pragma once
#include <cstdint>

class MidiMemoryStream;

// Reading context handed through the load of a MIDI tree: the byte source
// and the direction. The classes only read; a storing archive writes nothing.
class MidiArchive
{
public:
    explicit MidiArchive(MidiMemoryStream& stream, bool loading = true);

    bool IsLoading() const { return m_Loading; }
    bool IsStoring() const { return !m_Loading; }

    uint32_t Read(void* buffer, uint32_t count);
    uint32_t Seek(int64_t offset, int origin);
    uint32_t GetPosition() const;
    uint32_t GetRemaining() const;

    // Reads one byte; false at the end of the data.
    bool ReadByte(uint8_t& value);
    // Big-endian numbers; false on a short read.
    bool ReadUInt16(uint16_t& value);
    bool ReadUInt32(uint32_t& value);
    // A variable-length number of 1 to 4 bytes. bytesRead tells how many
    // bytes were taken; false on a short read or when the fourth byte still
    // announces a continuation.
    bool ReadVarLen(uint32_t& value, uint32_t& bytesRead);

private:
    MidiMemoryStream& m_Stream;
    bool m_Loading;
};
