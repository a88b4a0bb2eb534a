#include "MidiClasses/MidiStream.h"

#include "MidiClasses/MidiArchive.h"

bool MidiStream::Serialize(MidiArchive& ar)
{
    if (ar.IsStoring()) {
        m_Header.Store(ar);
        return false;
    }

    Clear();
    // Without a header the bytes that follow are not a MIDI file's tracks.
    if (!m_Header.Load(ar))
        return false;
    m_TrackList.Serialize(ar);
    return true;
}

void MidiStream::Clear()
{
    m_TrackList.Clear();
    m_Header.Clear();
}

void MidiStream::Dump(QString& text) const
{
    m_Header.Dump(text);
    for (const MidiTrack* track = m_TrackList.GetFirstLinkedTrack(); track; track = track->GetNext())
        track->Dump(text);
}
