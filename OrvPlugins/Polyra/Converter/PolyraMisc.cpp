// The command table into the MISC track: one time line of notes, program
// and volume changes and tags, with the time between them as delays.
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

namespace PolyraStages {
bool ConvertMisc(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "\n*** Conversion MIDI en MISC...\n");
    MseqWriter& writer = ws.writer;
    writer.ClearDelay();
    bool ok = writer.OpenTrack(Mseq::TrackNote) && writer.WriteRtb(unsigned(ws.rtb));
    for (size_t i = 0; ok && i < ws.commands.size(); ++i) {
        const PolyraCommand& command = ws.commands[i];
        writer.AddDelay(command.delta);
        switch (command.type) {
        case CmdNoteOn: {
            const unsigned units = i < ws.noteUnits.size() ? ws.noteUnits[i] : 0;
            ok = writer.FlushDelay()
                 && writer.WriteNote(command.channel, command.data[0], command.data[1], units, ws.trace);
            break;
        }
        case CmdControl:
            ok = writer.FlushDelay() && writer.WriteVolume(command.channel, command.data[1]);
            break;
        case CmdProgram: {
            const int c = (command.data[0] & 0x7F) / 8;
            ok = writer.FlushDelay() && writer.WriteInstrument(command.channel, c, ws.parameters.ambiance[c]);
            break;
        }
        case CmdSyncTag:
            ok = writer.FlushDelay() && writer.WriteSynchro(Mseq::TrackNote, command.channel);
            break;
        default:
            break;
        }
    }
    if (ok) {
        writer.AddDelay(ws.endDelta);
        ok = writer.FlushDelay() && writer.CloseTrack(Mseq::TrackNote);
    }
    return ok || ws.Fail(ErrWorkspaceOverflow);
}
} // namespace PolyraStages
