#pragma once
// Builds Standard MIDI File bytes by hand for the tests, remembering where
// every chunk and event ends so that truncated copies can be judged.
#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiMemoryStream.h"
#include "MidiClasses/MidiStream.h"
#include "tests/SdkTestSupport.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <initializer_list>
#include <memory>

namespace MidiTest {

// The body of one "MTrk" chunk; records the end of every event in it.
class TrackBuilder
{
public:
    // Delta time followed by raw event bytes (status included or not).
    TrackBuilder& Event(uint32_t delta, const QByteArray& bytes)
    {
        AppendVarLen(m_Body, delta);
        m_Body.append(bytes);
        m_EventEnds.append(m_Body.size());
        return *this;
    }
    TrackBuilder& Event(uint32_t delta, std::initializer_list<int> bytes)
    {
        return Event(delta, Bytes(bytes));
    }
    TrackBuilder& Meta(uint32_t delta, int type, const QByteArray& data)
    {
        QByteArray bytes = Bytes({0xFF, type});
        AppendVarLen(bytes, uint32_t(data.size()));
        return Event(delta, bytes + data);
    }
    TrackBuilder& Sysex(uint32_t delta, const QByteArray& data)
    {
        QByteArray bytes = Bytes({0xF0});
        AppendVarLen(bytes, uint32_t(data.size()));
        return Event(delta, bytes + data);
    }
    TrackBuilder& EndOfTrack(uint32_t delta = 0) { return Meta(delta, 0x2F, QByteArray()); }
    // Bytes that are not a whole event (for hostile input).
    TrackBuilder& Raw(const QByteArray& bytes)
    {
        m_Body.append(bytes);
        return *this;
    }

    const QByteArray& Body() const { return m_Body; }
    const QList<int>& EventEnds() const { return m_EventEnds; }

private:
    QByteArray m_Body;
    QList<int> m_EventEnds;
};

// A whole file: the header chunk and its tracks.
class FileBuilder
{
public:
    FileBuilder& Header(int format, int tracks, int division, uint32_t length = 6)
    {
        m_Data.append("MThd");
        AppendU32(m_Data, length);
        AppendU16(m_Data, uint32_t(format));
        AppendU16(m_Data, uint32_t(tracks));
        AppendU16(m_Data, uint32_t(division));
        return *this;
    }
    // A track chunk whose length is its body's unless one is given.
    FileBuilder& Track(const TrackBuilder& track, int64_t length = -1)
    {
        m_TrackStarts.append(m_Data.size());
        m_Data.append("MTrk");
        AppendU32(m_Data, length < 0 ? uint32_t(track.Body().size()) : uint32_t(length));
        QList<int> ends;
        for (int end : track.EventEnds())
            ends.append(m_Data.size() + end);
        m_EventEnds.append(ends);
        m_Data.append(track.Body());
        return *this;
    }
    FileBuilder& Chunk(const char* tag, const QByteArray& body)
    {
        m_Data.append(tag, 4);
        AppendU32(m_Data, uint32_t(body.size()));
        m_Data.append(body);
        return *this;
    }
    FileBuilder& Raw(const QByteArray& bytes)
    {
        m_Data.append(bytes);
        return *this;
    }

    const QByteArray& Data() const { return m_Data; }
    // File offsets where each track chunk begins.
    const QList<int>& TrackStarts() const { return m_TrackStarts; }
    // Per track, the file offset just after each of its events.
    const QList<QList<int>>& EventEnds() const { return m_EventEnds; }

private:
    QByteArray m_Data;
    QList<int> m_TrackStarts;
    QList<QList<int>> m_EventEnds;
};

// A stream loaded from bytes, and whether its header loaded.
struct LoadedMidi
{
    std::unique_ptr<MidiStream> stream = std::make_unique<MidiStream>();
    bool headerLoaded = false;
};

inline LoadedMidi Load(const QByteArray& bytes)
{
    LoadedMidi loaded;
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(bytes.constData()),
                            uint32_t(bytes.size()));
    MidiArchive archive(source);
    loaded.headerLoaded = loaded.stream->Serialize(archive);
    return loaded;
}

// A format 0 file of the one track at 480 ticks a quarter, loaded.
inline LoadedMidi LoadOneTrack(const TrackBuilder& track)
{
    FileBuilder file;
    file.Header(0, 1, 480).Track(track);
    return Load(file.Data());
}

// Events of a track in file order.
inline QList<MidiEvent*> EventsOf(MidiTrack* track)
{
    QList<MidiEvent*> events;
    if (!track)
        return events;
    for (MidiEvent* event = track->GetEventList()->GetNext(); event; event = event->GetNext())
        events.append(event);
    return events;
}

inline QList<MidiTrack*> TracksOf(MidiStream& stream)
{
    QList<MidiTrack*> tracks;
    for (MidiTrack* track = stream.GetFirstTrack(); track; track = stream.GetNextTrack())
        tracks.append(track);
    return tracks;
}

} // namespace MidiTest
