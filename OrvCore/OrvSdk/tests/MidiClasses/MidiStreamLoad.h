#pragma once
// Standard MIDI File bytes built by the shared builders, loaded into the
// SDK's MIDI stream.
#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiMemoryStream.h"
#include "MidiClasses/MidiStream.h"
#include "MidiFileBuilder.h"
#include "tests/SdkTestSupport.h"

#include <QByteArray>
#include <QList>
#include <memory>

namespace MidiTest {

// A stream loaded from bytes, and whether its header loaded.
struct LoadedMidi
{
    std::unique_ptr<MidiStream> stream = std::make_unique<MidiStream>();
    bool headerLoaded = false;
};

inline LoadedMidi Load(const QByteArray& bytes)
{
    LoadedMidi loaded;
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(bytes.constData()), uint32_t(bytes.size()));
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
