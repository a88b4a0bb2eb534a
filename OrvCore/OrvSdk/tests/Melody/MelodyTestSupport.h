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

// The elements as compact texts: notes as value/octave/duration/modifier,
// loops as "(n" and ")n". Rests may show octave 0 whatever they hold.
inline QStringList DescribeElements(const MelodyNoteList& list, bool restOctaveAsZero = false)
{
    QStringList parts;
    for (const MelodyElement* e : list) {
        if (e->GetElementType() == MelodyElement::BeginPattern)
            parts << QStringLiteral("(%1").arg(static_cast<const MelodyBeginPattern*>(e)->GetRepeatCount());
        else if (e->GetElementType() == MelodyElement::EndPattern)
            parts << QStringLiteral(")%1").arg(static_cast<const MelodyEndPattern*>(e)->GetRepeatCount());
        else {
            const MidiNote* n = static_cast<const MidiNote*>(e);
            parts << QStringLiteral("%1/%2/%3/%4")
                         .arg(n->GetValue())
                         .arg(restOctaveAsZero && n->IsSilence() ? 0 : n->GetOctave())
                         .arg(n->GetDuration())
                         .arg(n->GetDurationModifier());
        }
    }
    return parts;
}
