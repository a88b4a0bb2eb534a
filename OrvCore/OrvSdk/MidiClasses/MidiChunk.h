#pragma once
#include "MidiClasses/MidiObject.h"

#include <QByteArray>
#include <cstdint>

class MidiArchive;

// A chunk of the file: a 4-byte tag and a 32-bit big-endian length.
class MidiChunk : public MidiObject
{
public:
    enum Kind
    {
        KIND_UNKNOWN = 0,
        KIND_HEADER = 1, // "MThd"
        KIND_TRACK = 2   // "MTrk"
    };

    MidiChunk() = default;

    // Reads the tag and the length. An unknown tag fails: such a chunk is
    // not skipped, it ends the reading.
    virtual bool Load(MidiArchive& ar);
    // The classes only read: nothing is written and the result is false.
    virtual bool Store(MidiArchive& ar);

    int GetKind() const { return m_Kind; }
    QByteArray GetTag() const { return QByteArray(m_Tag, sizeof m_Tag); }
    uint32_t GetLength() const { return m_Length; }

protected:
    int m_Kind = KIND_UNKNOWN;
    char m_Tag[4] = {0, 0, 0, 0};
    uint32_t m_Length = 0;
    // Bytes of the chunk body read so far, and bytes taken by its events.
    uint32_t m_BytesRead = 0;
    uint32_t m_BytesDone = 0;
};
