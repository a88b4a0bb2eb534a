#pragma once
// The pipeline's stages, each a function over the working storage that
// returns false (having reported its error) when the conversion must stop.
#include <QByteArray>
#include <QIODevice>

#include <cstdint>

class CMemFile;
class PolyraWorkspace;

namespace PolyraStages {
constexpr uint32_t MaxSourceSize = 128000;

// Merges the tracks of any MIDI file into one format 0 track. False without
// an error text when the stop flag ended it (cancelled).
bool MergeToFormat0(PolyraWorkspace& ws, const uint8_t* source, uint32_t size, CMemFile& format0, bool* cancelled);
bool ReadCommandTable(PolyraWorkspace& ws, const CMemFile& format0);
bool WriteDestMidi(PolyraWorkspace& ws, CMemFile& dest);

bool ComputeTimeBase(PolyraWorkspace& ws);
// NOTE ON of velocity 0 into NOTE OFF; a NOTE OFF of a key not held and a
// NOTE ON of a key already held leave the table.
void MakeNoteOffsAndDropRepeats(PolyraWorkspace& ws);
// The tune's later tempo changes into the commands' times, at one tempo.
void FoldTempoChanges(PolyraWorkspace& ws);
void ComputePeakLoads(PolyraWorkspace& ws, float* peaks);
// False when no class with notes is kept.
bool RemoveInstruments(PolyraWorkspace& ws);
bool RemoveOverloads(PolyraWorkspace& ws);
void Transpose(PolyraWorkspace& ws);

bool InstrumentStrategy(PolyraWorkspace& ws);
bool VolumeStrategy(PolyraWorkspace& ws);
void ScaleVolumes(PolyraWorkspace& ws);
bool AutomaticGain(PolyraWorkspace& ws);
void ScaleVolumesToWave(PolyraWorkspace& ws, float factor);

// Reads the media script from the device (null: none found).
bool InsertMedia(PolyraWorkspace& ws, QIODevice* script);

bool ComputeAtb(PolyraWorkspace& ws);
void ComputeRtb(PolyraWorkspace& ws);
bool ConvertMisc(PolyraWorkspace& ws);

// A variable-length number at `at` (at most maxBytes groups); false when it
// runs past the end or over maxBytes.
bool ReadVarLen(const uint8_t* data, uint32_t size, uint32_t& at, int maxBytes, uint64_t& value);
void AppendVarLen(QByteArray& out, uint64_t value);
} // namespace PolyraStages
