#include "MidiClasses/MidiChunk.h"

#include "MidiClasses/MidiArchive.h"
#include "Util/Assert.h"

#include <cstring>

bool MidiChunk::Load(MidiArchive& ar)
{
    ASSERT(ar.IsLoading());
    m_Kind = KIND_UNKNOWN;
    m_Length = 0;
    m_BytesRead = 0;
    m_BytesDone = 0;
    if (!ar.IsLoading())
        return false;

    if (ar.Read(m_Tag, sizeof m_Tag) != sizeof m_Tag)
        return false;
    if (std::memcmp(m_Tag, "MThd", 4) == 0)
        m_Kind = KIND_HEADER;
    else if (std::memcmp(m_Tag, "MTrk", 4) == 0)
        m_Kind = KIND_TRACK;
    else
        return false;

    return ar.ReadUInt32(m_Length);
}

bool MidiChunk::Store(MidiArchive& ar)
{
    ASSERT(ar.IsStoring());
    return false;
}
