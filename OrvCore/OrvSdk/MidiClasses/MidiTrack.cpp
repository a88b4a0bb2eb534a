#include "MidiClasses/MidiTrack.h"

#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiMemoryStream.h"
#include "MidiClasses/MidiMessageEvent.h"
#include "MidiClasses/MidiMetaEvent.h"
#include "MidiClasses/MidiSysexEvent.h"
#include "Util/Assert.h"

MidiTrack::MidiTrack(int number) : m_Number(number) {}

MidiTrack::~MidiTrack()
{
    Unlink();
}

bool MidiTrack::Load(MidiArchive& ar)
{
    ASSERT(ar.IsLoading());
    m_EventList.Clear();
    if (!MidiChunk::Load(ar) || m_Kind != KIND_TRACK)
        return false;

    const uint32_t bodyStart = ar.GetPosition();
    if (!LoadEvents(ar) && m_BytesDone < m_Length) {
        // The events stopped early: go on from the chunk's end, so the next
        // chunk is not read from the middle of this one. The seek stops at
        // the end of the data.
        ar.Seek(int64_t(bodyStart) + m_Length, MidiMemoryStream::FROM_START);
    }
    return true;
}

bool MidiTrack::LoadEvents(MidiArchive& ar)
{
    // Running status comes only from channel messages; system and meta
    // events neither set it nor serve as it.
    uint8_t runningStatus = 0;
    MidiEvent* last = &m_EventList;

    while (m_BytesDone < m_Length) {
        uint32_t deltaTime = 0;
        uint32_t deltaBytes = 0;
        if (!ar.ReadVarLen(deltaTime, deltaBytes))
            return false;
        m_BytesDone += deltaBytes;

        uint8_t status = 0;
        if (!ar.ReadByte(status))
            return false;
        if ((status & 0x80) == 0) {
            ar.Seek(-1, MidiMemoryStream::FROM_CURRENT);
            if (runningStatus == 0)
                return false;
            status = runningStatus;
        } else {
            ++m_BytesDone;
            if (status < 0xF0)
                runningStatus = status;
        }

        MidiEvent* event = nullptr;
        if (status == 0xFF)
            event = new MidiMetaEvent(deltaTime, status);
        else if (status >= 0xF0)
            event = new MidiSysexEvent(deltaTime, status);
        else
            event = new MidiMessageEvent(deltaTime, status);

        uint32_t eventBytes = 0;
        const bool loaded = event->Load(ar, eventBytes);
        m_BytesDone += eventBytes;
        if (!loaded) {
            delete event;
            return false;
        }
        event->InsertAfter(last);
        last = event;
    }
    return true;
}

void MidiTrack::Dump(QString& text) const
{
    text += QStringLiteral("Track ") + QString::number(m_Number) + QStringLiteral(" (") + QString::number(m_Length)
            + QStringLiteral(" bytes)\n===================\n");
    for (const MidiEvent* event = m_EventList.GetNext(); event; event = event->GetNext())
        event->Dump(text);
}
