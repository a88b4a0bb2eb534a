#include "MidiClasses/MidiArchive.h"

#include "MidiClasses/MidiMemoryStream.h"

namespace {
const uint32_t MaxVarLenBytes = 4;
}

MidiArchive::MidiArchive(MidiMemoryStream& stream, bool loading) : m_Stream(stream), m_Loading(loading) {}

uint32_t MidiArchive::Read(void* buffer, uint32_t count)
{
    return m_Stream.Read(buffer, count);
}

uint32_t MidiArchive::Seek(int64_t offset, int origin)
{
    return m_Stream.Seek(offset, origin);
}

uint32_t MidiArchive::GetPosition() const
{
    return m_Stream.GetPosition();
}

uint32_t MidiArchive::GetRemaining() const
{
    return m_Stream.GetRemaining();
}

bool MidiArchive::ReadByte(uint8_t& value)
{
    return Read(&value, 1) == 1;
}

bool MidiArchive::ReadUInt16(uint16_t& value)
{
    uint8_t bytes[2];
    if (Read(bytes, 2) != 2)
        return false;
    value = uint16_t((uint16_t(bytes[0]) << 8) | bytes[1]);
    return true;
}

bool MidiArchive::ReadUInt32(uint32_t& value)
{
    uint8_t bytes[4];
    if (Read(bytes, 4) != 4)
        return false;
    value = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
    return true;
}

bool MidiArchive::ReadVarLen(uint32_t& value, uint32_t& bytesRead)
{
    value = 0;
    bytesRead = 0;
    while (bytesRead < MaxVarLenBytes) {
        uint8_t byte = 0;
        if (!ReadByte(byte))
            return false;
        ++bytesRead;
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    // A fifth byte would overflow the 28 bits the format allows.
    return false;
}
