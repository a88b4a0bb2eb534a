#pragma once
#include "MidiClasses/MidiTrack.h"

class MidiArchive;

// The tracks of a file, chained after a head track numbered 0, with an
// iteration cursor. Owns its tracks.
class MidiTrackList
{
public:
    MidiTrackList() = default;
    ~MidiTrackList();

    MidiTrackList(const MidiTrackList&) = delete;
    MidiTrackList& operator=(const MidiTrackList&) = delete;

    // Loading reads "MTrk" chunks until one fails to load or the data ends;
    // the header's track count does not limit it. Returns the tracks read.
    int Serialize(MidiArchive& ar);
    void Clear();

    MidiTrack* GetFirstTrack();
    MidiTrack* GetNextTrack();
    int GetTrackCount() const { return m_TrackCount; }
    // First track without touching the cursor; MidiTrack::GetNext walks on.
    MidiTrack* GetFirstLinkedTrack() const { return m_Head.GetNext(); }

private:
    MidiTrack m_Head;
    MidiTrack* m_pCursor = nullptr;
    int m_TrackCount = 0;
};
