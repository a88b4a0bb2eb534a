#pragma once
// The one walk over a MIDI file's events: each event with its track and its
// time in ticks from that track's start (the tracks of a file play side by side).
//
//     ForEachTimedEvent(stream, [&](const MidiTimedEvent& timed) { ... });
//
// A visitor that returns bool stops the walk by returning false.
#include "MidiClasses/MidiEventList.h"
#include "MidiClasses/MidiMessageEvent.h"
#include "MidiClasses/MidiStream.h"
#include "MidiClasses/MidiTrack.h"

#include <QtGlobal>
#include <type_traits>

struct MidiTimedEvent
{
    const MidiTrack* track;
    const MidiEvent* event;
    qint64 tick; // the sum of the delta times up to and with this event

    // The event as a channel message (status 0x80 to 0xEF); null for any other event.
    const MidiMessageEvent* Message() const
    {
        const uint8_t status = event->GetStatus();
        return (status >= 0x80 && status < 0xF0) ? dynamic_cast<const MidiMessageEvent*>(event) : nullptr;
    }
};

// Walks one track's events in file order; false when the visitor stopped it.
template <class Visit>
bool ForEachTimedEvent(const MidiTrack& track, Visit&& visit)
{
    qint64 tick = 0;
    for (const MidiEvent* event = track.GetEventList()->GetNext(); event; event = event->GetNext()) {
        tick += event->GetDeltaTime();
        const MidiTimedEvent timed{&track, event, tick};
        if constexpr (std::is_same_v<decltype(visit(timed)), bool>) {
            if (!visit(timed))
                return false;
        } else {
            visit(timed);
        }
    }
    return true;
}

// Walks every track in file order, each from tick 0; false when the visitor stopped it.
template <class Visit>
bool ForEachTimedEvent(const MidiStream& stream, Visit&& visit)
{
    for (const MidiTrack* track = stream.GetTrackList().GetFirstLinkedTrack(); track; track = track->GetNext())
        if (!ForEachTimedEvent(*track, visit))
            return false;
    return true;
}
