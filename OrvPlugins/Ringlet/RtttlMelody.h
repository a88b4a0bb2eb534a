#pragma once
#include "RtttlReader.h"

class CDocumentMelody;

// The melody document of a ring tone that was read: its notes at full volume, its
// name, beat and style, and, for a loop count, the whole tune between loop markers.
// Null when the tune has no note at all.
CDocumentMelody* BuildRtttlMelody(const RtttlTune& tune);
