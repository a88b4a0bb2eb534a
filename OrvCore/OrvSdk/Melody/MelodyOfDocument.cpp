#include "Melody/MelodyOfDocument.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"

CDocumentMelody* MelodyOfDocument(CDocument* document, MelodyProgressCallback progress)
{
    // The document type says what the object is; type-checked casts do not
    // work on objects made by another plug-in.
    if (document->GetDocType() == CDocument::MIDI)
        return static_cast<CDocumentMidi*>(document)->BuildMelodyDocument(progress);
    return static_cast<CDocumentMelody*>(document);
}
