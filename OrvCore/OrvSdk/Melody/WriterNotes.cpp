#include "Melody/WriterNotes.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/MelodyProfileLimits.h"

#include <QtGlobal>

namespace {
// Both melody texts carry the octaves 0 to 8 only (keys 24 to 131): a band
// reaching beyond them would let through notes that no reader takes back.
const unsigned kLowestWritableKey = 24;
const unsigned kHighestWritableKey = 131;
const int kTopVolume = 15;
} // namespace

void PrepareWriterNotes(const CDocumentMelody& doc, const MelodyProfileLimits& limits, MelodyNoteList& notes,
                        VolumeInfo& info)
{
    notes.AppendCopies(doc.GetMelodyNoteList());
    MidiNote::FitListInBandwidth(notes, qMax(limits.nLowNote, kLowestWritableKey),
                                 qMin(limits.nHighNote, kHighestWritableKey));
    info.nTopLevel = qBound(0, doc.GetVolume(), kTopVolume);
    MidiNote::ComputeVolumeFactors(notes, info);
}
