#include "MidiClasses/MidiTrackList.h"

#include "MidiClasses/MidiArchive.h"
#include "Util/Assert.h"

MidiTrackList::~MidiTrackList()
{
    Clear();
}

void MidiTrackList::Clear()
{
    // Each track unlinks itself as it is deleted.
    while (m_Head.GetNext())
        delete m_Head.GetNext();
    m_pCursor = nullptr;
    m_TrackCount = 0;
}

int MidiTrackList::Serialize(MidiArchive& ar)
{
    if (ar.IsStoring())
        return m_TrackCount;

    Clear();
    MidiTrack* last = &m_Head;
    for (;;) {
        MidiTrack* track = new MidiTrack(m_TrackCount + 1);
        if (!track->Load(ar)) {
            delete track;
            break;
        }
        ++m_TrackCount;
        track->InsertAfter(last);
        last = track;
    }
    return m_TrackCount;
}

MidiTrack* MidiTrackList::GetFirstTrack()
{
    m_pCursor = m_Head.GetNext();
    return m_pCursor;
}

MidiTrack* MidiTrackList::GetNextTrack()
{
    if (m_pCursor)
        m_pCursor = m_pCursor->GetNext();
    return m_pCursor;
}
