#pragma once
#include "MidiClasses/MidiHeader.h"
#include "MidiClasses/MidiTrackList.h"

#include <QString>
#include <cstdint>

class MidiArchive;

// One Standard MIDI File read into memory: its header and its tracks.
//
//     MidiMemoryStream source(bytes, length);
//     MidiArchive archive(source);
//     stream.Serialize(archive);
//
// A load is judged by the header (GetHeader) and by GetTrackCount().
class MidiStream
{
public:
    MidiStream() = default;

    MidiStream(const MidiStream&) = delete;
    MidiStream& operator=(const MidiStream&) = delete;

    // Loading reads the header and then the tracks; the tracks are not read
    // when the header fails. True when the header loaded. A storing archive
    // writes nothing and gives false.
    bool Serialize(MidiArchive& ar);
    // Deletes all tracks and resets the header.
    void Clear();
    // Appends the header's and every track's debug dump to text.
    void Dump(QString& text) const;

    MidiTrack* GetFirstTrack() { return m_TrackList.GetFirstTrack(); }
    MidiTrack* GetNextTrack() { return m_TrackList.GetNextTrack(); }
    int GetTrackCount() const { return m_TrackList.GetTrackCount(); }
    // Ticks per quarter note.
    uint16_t GetDivision() const { return m_Header.GetDivision(); }
    MidiTrackList& GetTrackList() { return m_TrackList; }
    const MidiTrackList& GetTrackList() const { return m_TrackList; }
    const MidiHeader& GetHeader() const { return m_Header; }

private:
    MidiHeader m_Header;
    MidiTrackList m_TrackList;
};
