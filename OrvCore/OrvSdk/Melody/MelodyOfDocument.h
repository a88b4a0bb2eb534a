#pragma once
// The melody a melody exporter writes: a melody document as it is, a MIDI
// document's melody built for it (reporting through `progress`).
#include "Melody/MelodyProgress.h"

class CDocument;
class CDocumentMelody;

CDocumentMelody* MelodyOfDocument(CDocument* document, MelodyProgressCallback progress);
