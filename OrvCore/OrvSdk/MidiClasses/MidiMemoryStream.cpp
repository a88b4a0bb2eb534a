#include "MidiClasses/MidiMemoryStream.h"

#include <cstring>

MidiMemoryStream::MidiMemoryStream(const unsigned char* data, uint32_t size)
    : m_pData(data), m_Size(data ? size : 0), m_Position(0)
{}

uint32_t MidiMemoryStream::Read(void* buffer, uint32_t count)
{
    const uint32_t available = GetRemaining();
    const uint32_t copied = count < available ? count : available;
    if (copied > 0) {
        std::memcpy(buffer, m_pData + m_Position, copied);
        m_Position += copied;
    }
    return copied;
}

uint32_t MidiMemoryStream::Seek(int64_t offset, int origin)
{
    int64_t target = offset;
    if (origin == FROM_CURRENT)
        target = int64_t(m_Position) + offset;
    else if (origin == FROM_END)
        target = int64_t(m_Size) - offset;

    if (target < 0)
        target = 0;
    if (target > int64_t(m_Size))
        target = m_Size;
    m_Position = uint32_t(target);
    return m_Position;
}
