#pragma once
// One conversion of a MIDI file into an MSEQ sequence and its wave preview,
// stage after stage over the process-wide working storage.
#include "PolyraSettings.h"
#include <QByteArray>

class CConversionLog;
class CMemFile;
class IMseqProgressSink;
class PolyraWorkspace;

struct PolyraFiles
{
    CMemFile& source;
    CMemFile& format0;
    CMemFile& dest;
    CMemFile& sequence;
    CMemFile& wave;
    // The media script's bytes (MediaScript::ReadFile); null when the conversion has none.
    const QByteArray* mediaScript = nullptr;
};

// Kept for the record of a run; nothing else reads it.
struct PolyraResults
{
    float peaksBefore[Polyra::LoadKinds] = {};
    float peaksAfter[Polyra::LoadKinds] = {};
    uint32_t destSize = 0;
    uint32_t sourceSize = 0;
    uint32_t trackSize = 0;
    int lowNote = 0;
    int highNote = 0;
    // The scale factors of the first (volume analysis) and final renders.
    float firstFactor = 0;
    float finalFactor = 0;
};

enum class PolyraOutcome
{
    Done,
    Failed,
    // Every class with notes was removed by the settings.
    NoClassKept,
    // The stop flag ended the merge or a synthesis.
    Cancelled
};

namespace Polyra {
// The media script is the one files carries.
PolyraOutcome RunPipeline(const PolyraProfile& profile, const PolyraParameters& parameters, PolyraFiles& files,
                          PolyraResults& results, CConversionLog* log, IMseqProgressSink* progress, bool bassMute);
// The stages before the first synthesis alone, into the sequence file (the
// benchmark times the pipeline without its two renders).
PolyraOutcome PrepareSequence(const PolyraProfile& profile, const PolyraParameters& parameters, PolyraFiles& files,
                              CConversionLog* log, bool bassMute);
// The working storage every run reuses.
PolyraWorkspace& Workspace();
} // namespace Polyra
