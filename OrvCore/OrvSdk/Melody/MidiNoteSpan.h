#pragma once
// Where a MIDI file's tune plays: from its earliest Note On to its latest
// Note Off, on every channel but the drums. Each track's ticks count from its
// own start, as the tracks of a file play side by side.
#include <QtGlobal>

class MidiStream;

struct MidiNoteSpan
{
    // False when no channel but the drums plays a note; start and end are 0 then.
    bool hasNotes = false;
    qint64 start = 0; // the earliest Note On of a velocity other than 0
    qint64 end = 0;   // the latest Note Off (or silent Note On); never before start

    qint64 Ticks() const { return end - start; }

    static MidiNoteSpan Of(const MidiStream& stream);
};
