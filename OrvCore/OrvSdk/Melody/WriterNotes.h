#pragma once
// The notes a melody writer works on: a copy of the document's notes fitted
// by whole octaves into the phone's band, with the volume mapping over them.
// The document stays as it was, so it can be written again for another phone.
#include "Melody/MidiNote.h"

class CDocumentMelody;
struct MelodyProfileLimits;

void PrepareWriterNotes(const CDocumentMelody& doc, const MelodyProfileLimits& limits, MelodyNoteList& notes,
                        VolumeInfo& info);
