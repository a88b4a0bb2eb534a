#include "PolyraPipeline.h"

#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include "MseqRender.h"
#include "Util/CMemFile.h"

#include <QBuffer>

namespace Polyra {
namespace {
// The synthesiser renders the sequence; a negative result ends the run.
PolyraOutcome Render(PolyraWorkspace& ws, PolyraFiles& files, CConversionLog* log, int phase, float* factor)
{
    if (ws.progress)
        ws.progress->ReportProgress("test", -1, phase);
    files.sequence.Seek(0, 0);
    files.wave.Seek(0, 0);
    *factor = MseqRender(files.sequence, files.wave, ws.trace->IsBassMute() ? nullptr : log, ws.progress);
    if (*factor >= 0)
        return PolyraOutcome::Done;
    return MseqStopRequested() ? PolyraOutcome::Cancelled : PolyraOutcome::Failed;
}

bool WriteSequence(PolyraWorkspace& ws, CMemFile& sequence)
{
    if (!PolyraStages::ConvertMisc(ws))
        return false;
    ws.trace->Line(PolyraTrace::StageLine, "\n*** Ecriture du fichier MSEQ...\n");
    return ws.writer.WriteFile(sequence, ws.atb, ws.booster, ws.equalizer) || ws.Fail(ErrWorkspaceOverflow);
}

double Percent(uint32_t part, uint32_t whole)
{
    return whole ? 100.0 * part / whole : 0.0;
}

// Everything up to the first synthesis: the sequence with its volumes set
// by the gain stage.
PolyraOutcome Prepare(PolyraWorkspace& ws, PolyraFiles& files)
{
    using namespace PolyraStages;
    const bool bassMute = ws.trace->IsBassMute();
    ws.sourceSize = files.source.GetSize();
    if (ws.sourceSize >= MaxSourceSize) {
        ws.ReportError(ErrInputTooBig);
        return PolyraOutcome::Failed;
    }
    bool cancelled = false;
    if (!MergeToFormat0(ws, files.source.GetBuffer(), ws.sourceSize, files.format0, &cancelled))
        return cancelled ? PolyraOutcome::Cancelled : PolyraOutcome::Failed;
    if (!ReadCommandTable(ws, files.format0) || !ComputeTimeBase(ws))
        return PolyraOutcome::Failed;
    MakeNoteOffsAndDropRepeats(ws);
    FoldTempoChanges(ws);
    ComputePeakLoads(ws, ws.peaksBefore);
    if (!RemoveInstruments(ws))
        return PolyraOutcome::NoClassKept;
    if (!RemoveOverloads(ws))
        return PolyraOutcome::Failed;
    ComputePeakLoads(ws, ws.peaksAfter);
    Transpose(ws);
    if (!InstrumentStrategy(ws) || !VolumeStrategy(ws))
        return PolyraOutcome::Failed;
    ScaleVolumes(ws);
    if (!bassMute) {
        QBuffer script;
        if (files.mediaScript) {
            script.setData(*files.mediaScript);
            script.open(QIODevice::ReadOnly);
        }
        if (!InsertMedia(ws, files.mediaScript ? &script : nullptr))
            return PolyraOutcome::Failed;
    }
    ws.trace->Line(PolyraTrace::StageLine, "\n*** Optimisation au format MSEQ...\n");
    if (!ComputeAtb(ws))
        return PolyraOutcome::Failed;
    ComputeRtb(ws);
    if (!bassMute) {
        if (!WriteDestMidi(ws, files.dest))
            return PolyraOutcome::Failed;
        ws.trace->Line(PolyraTrace::StageLine,
                       "\tFichier MIDI en sortie = %ld octets (%.1f%% du fichier MIDI original)\n",
                       static_cast<long>(files.dest.GetSize()), Percent(files.dest.GetSize(), ws.sourceSize));
    }
    if (!AutomaticGain(ws) || !WriteSequence(ws, files.sequence))
        return PolyraOutcome::Failed;
    return PolyraOutcome::Done;
}

PolyraOutcome Stages(PolyraWorkspace& ws, PolyraFiles& files, PolyraResults& results, CConversionLog* log)
{
    using namespace PolyraStages;
    PolyraOutcome outcome = Prepare(ws, files);
    if (outcome != PolyraOutcome::Done)
        return outcome;
    ws.trace->Line(PolyraTrace::StageLine, "\n*** Creation du fichier WAV...\n");
    float factor = 0;
    outcome = Render(ws, files, log, 1, &factor);
    if (outcome != PolyraOutcome::Done)
        return outcome;
    results.firstFactor = factor;
    ScaleVolumesToWave(ws, factor);
    if (!WriteSequence(ws, files.sequence))
        return PolyraOutcome::Failed;
    const uint32_t sequenceSize = ws.writer.GetTracksSize() + 10;
    ws.trace->Line(PolyraTrace::StageLine, "\tFichier MSEQ en sortie = %ld octets (%.1f%% du fichier MIDI original)\n",
                   static_cast<long>(sequenceSize), Percent(sequenceSize, ws.sourceSize));
    outcome = Render(ws, files, log, 2, &factor);
    if (outcome != PolyraOutcome::Done)
        return outcome;
    results.finalFactor = factor;
    ws.trace->Line(PolyraTrace::UserLine, "USER : optimized volume peak in .wav is %u %% of full range\n",
                   unsigned(100.0f / factor));
    ws.trace->Line(PolyraTrace::StageLine, "*** Fin de la construction du fichier MSEQ\n");

    ws.trace->Line(PolyraTrace::StageLine, "*** Ecriture du fichier resultats...\n");
    for (int kind = 0; kind < LoadKinds; ++kind) {
        results.peaksBefore[kind] = ws.peaksBefore[kind];
        results.peaksAfter[kind] = ws.peaksAfter[kind];
    }
    results.destSize = files.dest.GetSize();
    results.sourceSize = ws.sourceSize;
    results.trackSize = ws.writer.GetTracksSize();
    results.lowNote = ws.profile.lowNote;
    results.highNote = ws.profile.highNote;
    return PolyraOutcome::Done;
}
} // namespace

PolyraWorkspace& Workspace()
{
    static PolyraWorkspace workspace;
    return workspace;
}

PolyraOutcome PrepareSequence(const PolyraProfile& profile, const PolyraParameters& parameters, PolyraFiles& files,
                              CConversionLog* log, bool bassMute)
{
    MseqSetStop(false);
    PolyraTrace trace(log, bassMute);
    PolyraWorkspace& ws = Workspace();
    ws.Init(profile, parameters, &trace, nullptr);
    const PolyraOutcome outcome = Prepare(ws, files);
    ws.trace = nullptr;
    return outcome;
}

PolyraOutcome RunPipeline(const PolyraProfile& profile, const PolyraParameters& parameters, PolyraFiles& files,
                          PolyraResults& results, CConversionLog* log, IMseqProgressSink* progress, bool bassMute)
{
    MseqSetStop(false);
    PolyraTrace trace(log, bassMute);
    if (bassMute)
        trace.Line(PolyraTrace::UserLine, "\tProcessing...\n\n");
    PolyraWorkspace& ws = Workspace();
    ws.Init(profile, parameters, &trace, progress);
    const PolyraOutcome outcome = Stages(ws, files, results, log);
    // The trace lives on this stack frame only.
    ws.trace = nullptr;
    ws.progress = nullptr;
    return outcome;
}
} // namespace Polyra
