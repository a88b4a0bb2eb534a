#include "RtttlMelody.h"

#include "Melody/CDocumentMelody.h"
#include "Util/Assert.h"

#include <algorithm>

namespace {
// Loop markers hold at most 15 repeats.
constexpr int MaxRepeatCount = 15;
} // namespace

CDocumentMelody* BuildRtttlMelody(const RtttlTune& tune)
{
    if (tune.notes.isEmpty())
        return nullptr;
    CDocumentMelody* melody = new CDocumentMelody();
    if (!tune.name.isEmpty())
        melody->SetMelodyName(tune.name);
    melody->SetBeat(tune.beat);
    melody->SetStyle(tune.style);

    MelodyNoteList& list = melody->GetMelodyNoteList();
    for (const RtttlNote& read : tune.notes) {
        MidiNote* note = new MidiNote();
        note->SetValue(read.pitch);
        note->SetOctave(read.octave);
        note->SetDuration(read.durationIndex);
        note->SetDurationModifier(read.dotted ? 1 : 0);
        note->SetVolume(127);
        list.append(note);
    }
    if (tune.loop != 0) {
        const int repeats = std::min(tune.loop + 1, MaxRepeatCount);
        const bool bInsert = list.insert(0, new MelodyBeginPattern(repeats));
        ASSERT(bInsert);
        list.append(new MelodyEndPattern(repeats));
    }
    return melody;
}
