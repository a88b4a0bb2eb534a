#include "MidiClasses/MidiHeader.h"

#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiMemoryStream.h"
#include "Util/Assert.h"

namespace {
const uint32_t HeaderFieldBytes = 6;
}

void MidiHeader::Clear()
{
    m_Format = 0;
    m_NumberOfTracks = 0;
    m_Division = 0;
}

bool MidiHeader::Load(MidiArchive& ar)
{
    ASSERT(ar.IsLoading());
    Clear();
    if (!MidiChunk::Load(ar) || m_Kind != KIND_HEADER)
        return false;

    if (!ar.ReadUInt16(m_Format) || !ar.ReadUInt16(m_NumberOfTracks) || !ar.ReadUInt16(m_Division))
        return false;
    m_BytesRead = HeaderFieldBytes;

    // Bytes beyond the three fields are skipped, but never past the data.
    if (m_Length > m_BytesRead) {
        const uint32_t rest = m_Length - m_BytesRead;
        if (rest > ar.GetRemaining()) {
            m_BytesRead += ar.GetRemaining();
            ar.Seek(0, MidiMemoryStream::FROM_END);
            return false;
        }
        ar.Seek(rest, MidiMemoryStream::FROM_CURRENT);
        m_BytesRead = m_Length;
    }
    return true;
}

void MidiHeader::Dump(QString& text) const
{
    text += QStringLiteral("Header\n======\n");
    text += QStringLiteral("SMF type ") + QString::number(m_Format) + QLatin1Char('\n');
    text += QStringLiteral("Number of tracks = ") + QString::number(m_NumberOfTracks) + QLatin1Char('\n');
    text += QString::number(m_Division) + QStringLiteral(" ticks per quarter note\n\n");
}
