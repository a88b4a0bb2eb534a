#pragma once
// Shared helpers of the melody tests: note and melody builders, and the
// message capture and byte helpers of every test room.
#include "Melody/CDocumentMelody.h"
#include "Melody/MidiNote.h"
#include "tests/SdkTestSupport.h"

inline MidiNote* MakeNote(int value, int octave, int duration, int modifier = 0, int volume = 127)
{
    MidiNote* note = new MidiNote;
    note->SetValue(value);
    note->SetOctave(octave);
    note->SetDuration(duration);
    note->SetDurationModifier(modifier);
    note->SetVolume(volume);
    return note;
}

inline MidiNote* MakeRest(int duration, int modifier = 0)
{
    return MakeNote(MidiNote::Silence, 0, duration, modifier, 0);
}
