#pragma once
// Whether a written melody holds a note that sounds: a list of rests alone
// would be accepted by a phone and play nothing.

// `Note` is the list's note class; its events name it Note.
template <class Note, class Events>
bool HasSoundingNote(const Events& events)
{
    for (const auto* event : events)
        if (event->GetEventType() == Note::Note && !static_cast<const Note*>(event)->GetNote().IsSilence())
            return true;
    return false;
}
