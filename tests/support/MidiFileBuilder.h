#pragma once
// Standard MIDI Files built by hand for the tests, the benchmarks and the
// seed corpora: raw tracks that remember where every event ends (so that
// truncated copies can be judged), a note-level track writer, and whole files.
#include "TestBytes.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <initializer_list>

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
    TrackBuilder& Event(uint32_t delta, std::initializer_list<int> bytes) { return Event(delta, Bytes(bytes)); }
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
    // Bytes that are not a whole event (for hostile input, or events written out by hand).
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

} // namespace MidiTest

// A track written note by note; Chunk() closes it with End of Track.
class SmfTrack
{
public:
    SmfTrack& NoteOn(uint32_t delta, int channel, int key, int velocity)
    {
        return Message(delta, 0x90 | channel, key, velocity);
    }
    SmfTrack& NoteOff(uint32_t delta, int channel, int key) { return Message(delta, 0x80 | channel, key, 64); }
    SmfTrack& Program(uint32_t delta, int channel, int program)
    {
        m_Track.Event(delta, {0xC0 | channel, program});
        return *this;
    }
    SmfTrack& Control(uint32_t delta, int channel, int controller, int value)
    {
        return Message(delta, 0xB0 | channel, controller, value);
    }
    SmfTrack& Tempo(uint32_t delta, uint32_t microseconds)
    {
        return Meta(delta, 0x51, Bytes({int(microseconds >> 16), int(microseconds >> 8), int(microseconds)}));
    }
    SmfTrack& Meta(uint32_t delta, int type, const QByteArray& data)
    {
        m_Track.Meta(delta, type, data);
        return *this;
    }
    SmfTrack& Message(uint32_t delta, int status, int data1, int data2)
    {
        m_Track.Event(delta, {status, data1, data2});
        return *this;
    }
    QByteArray Chunk() const
    {
        MidiTest::TrackBuilder closed = m_Track;
        closed.EndOfTrack();
        MidiTest::FileBuilder chunk;
        chunk.Track(closed);
        return chunk.Data();
    }

private:
    MidiTest::TrackBuilder m_Track;
};

inline QByteArray SmfFile(const QList<SmfTrack>& tracks, int division = 480, int format = 1)
{
    MidiTest::FileBuilder file;
    file.Header(format, int(tracks.size()), division);
    for (const SmfTrack& track : tracks)
        file.Raw(track.Chunk());
    return file.Data();
}

// A format 0 file of one track holding the given events (each with its
// delta time), closed by End of Track.
inline QByteArray OneTrackMidiFile(int ticksPerQuarter, const QByteArray& events)
{
    MidiTest::TrackBuilder track;
    track.Raw(events).EndOfTrack();
    MidiTest::FileBuilder file;
    file.Header(0, 1, ticksPerQuarter).Track(track);
    return file.Data();
}
