#pragma once
#include <cstdint>

// Read-only byte source over a memory block that it does not own.
class MidiMemoryStream
{
public:
    enum Origin
    {
        FROM_START = 0,
        FROM_CURRENT = 1,
        FROM_END = 2
    };

    MidiMemoryStream(const unsigned char* data, uint32_t size);

    // Copies min(remaining, count) bytes and advances; returns the number copied.
    uint32_t Read(void* buffer, uint32_t count);
    // FROM_END counts the offset back from the end. The position is kept
    // inside the block; returns the new position.
    uint32_t Seek(int64_t offset, int origin);

    uint32_t GetPosition() const { return m_Position; }
    uint32_t GetSize() const { return m_Size; }
    uint32_t GetRemaining() const { return m_Size - m_Position; }

private:
    const unsigned char* m_pData;
    uint32_t m_Size;
    uint32_t m_Position;
};
