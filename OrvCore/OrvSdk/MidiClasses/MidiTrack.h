#pragma once
#include "MidiClasses/MidiChainLink.h"
#include "MidiClasses/MidiChunk.h"
#include "MidiClasses/MidiEventList.h"

#include <QString>

// An "MTrk" chunk and its events in file order. Tracks are chained by the
// track list; deleting a track unlinks it first.
class MidiTrack : public MidiChunk, public MidiChainLink<MidiTrack>
{
public:
    explicit MidiTrack(int number = 0);
    ~MidiTrack() override;

    // True when the chunk is an "MTrk". Its events are read until the
    // chunk's length is used up; a bad event ends the events there and the
    // track keeps those before it.
    bool Load(MidiArchive& ar) override;
    void Dump(QString& text) const;

    int GetNumber() const { return m_Number; }
    // Chain head: GetNext() from it walks the events.
    MidiEventList* GetEventList() { return &m_EventList; }
    const MidiEventList* GetEventList() const { return &m_EventList; }

private:
    bool LoadEvents(MidiArchive& ar);

    int m_Number;
    MidiEventList m_EventList;
};
