// Time base, note pairing, instrument removal and transposition over the
// command table.
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include <algorithm>
#include <numeric>

namespace PolyraStages {
namespace {
uint64_t Gcd(uint64_t a, uint64_t b)
{
    return std::gcd(a, b);
}
} // namespace

bool ComputeTimeBase(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Extraction des bases de temps...\n");
    if (ws.division & 0x8000) {
        ws.trace->Line(PolyraTrace::UserLine, "\nUSER : non-compatible MIDI format !\n");
        return ws.Fail(ErrTempoTooBig);
    }
    if (ws.division == 0 || ws.tempo == 0) {
        ws.trace->Line(PolyraTrace::UserLine, "\nUSER : non-compatible MIDI format !\n");
        return ws.Fail(ErrTempoNull);
    }
    ws.ApplyTempo(ws.tempo);
    return true;
}

void MakeNoteOffsAndDropRepeats(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Creation des NOTE OFF...\n");
    bool held[16][128] = {};
    bool erased = false;
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        PolyraCommand& command = ws.commands[i];
        if (!command.IsNote())
            continue;
        const int pitch = command.data[0] & 0x7F;
        if (command.type == CmdNoteOn && command.data[1] == 0) {
            command.type = CmdNoteOff;
            command.status = uint8_t(0x80 | command.channel);
        }
        bool& isHeld = held[command.channel][pitch];
        if (command.type == CmdNoteOff ? !isHeld : isHeld) {
            ws.Erase(int(i));
            erased = true;
            continue;
        }
        isHeld = command.type == CmdNoteOn;
    }
    if (erased)
        ws.trace->Line(PolyraTrace::UserLine,
                       "\nUSER : MIDI file contains at least one multiple <same note> played with <same instrument> "
                       "<simultaneously> => latest notes are deleted\n");
}

bool RemoveInstruments(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Instruments conserves selon la configuration de conversion :\n");
    bool hasNotes[Polyra::ClassCount] = {};
    ws.ResetChannels();
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        PolyraCommand& command = ws.commands[i];
        if (!command.IsActive() || command.type == CmdSyncTag || command.type == CmdSystem)
            continue;
        ws.TrackChannel(command);
        const int c = ws.ClassOf(command.channel);
        if (command.type == CmdNoteOn)
            hasNotes[c] = true;
        if (!ws.parameters.keep[c])
            ws.Erase(int(i));
    }
    bool anyKept = false;
    for (int c = 0; c < Polyra::ClassCount; ++c) {
        if (!hasNotes[c])
            continue;
        const bool kept = ws.parameters.keep[c] != 0;
        anyKept = anyKept || kept;
        ws.classHasNotes[c] = kept;
        ws.trace->Line(PolyraTrace::StageLine, "\t%-24s%s\n", Polyra::ClassNames[c], kept ? "" : "\t SUPPRIME");
    }
    if (!anyKept)
        ws.trace->Line(PolyraTrace::StageLine, "\t\tTous les instruments sont supprimes !\n");
    return anyKept;
}

void Transpose(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine,
                   "*** Detune en 1/2 tons\n*** Transposition automatique des notes hors BP [%u-%u]\n",
                   unsigned(ws.profile.lowNote), unsigned(ws.profile.highNote));
    const int low = std::clamp(ws.profile.lowNote, 0, 127);
    const int high = std::clamp(ws.profile.highNote, 0, 127);
    // A NOTE OFF follows its NOTE ON to wherever that went, even when a
    // program change between them moved the channel to another class.
    uint8_t moved[16][128];
    for (auto& channel : moved)
        for (int p = 0; p < 128; ++p)
            channel[p] = uint8_t(p);
    ws.ResetChannels();
    for (PolyraCommand& command : ws.commands) {
        if (!command.IsActive() || command.type == CmdSyncTag)
            continue;
        ws.TrackChannel(command);
        if (!command.IsNote() || command.channel == 9)
            continue;
        const int original = command.data[0] & 0x7F;
        if (command.type == CmdNoteOff) {
            command.data[0] = moved[command.channel][original];
            continue;
        }
        const int c = ws.ClassOf(command.channel);
        PolyraClassStats& stats = ws.stats[c];
        stats.lowBefore = std::min(stats.lowBefore, original);
        stats.highBefore = std::max(stats.highBefore, original);
        const int detuned = original + ws.parameters.detune[c];
        int pitch = detuned;
        while (pitch < 0)
            pitch += 12;
        while (pitch > 127)
            pitch -= 12;
        while (pitch < low && pitch + 12 <= 127)
            pitch += 12;
        while (pitch > high && pitch - 12 >= 0)
            pitch -= 12;
        if (pitch > detuned)
            ++stats.movedUp;
        else if (pitch < detuned)
            ++stats.movedDown;
        ++stats.notes;
        stats.lowAfter = std::min(stats.lowAfter, pitch);
        stats.highAfter = std::max(stats.highAfter, pitch);
        command.data[0] = uint8_t(pitch);
        moved[command.channel][original] = uint8_t(pitch);
    }
}

bool ComputeAtb(PolyraWorkspace& ws)
{
    uint64_t gcd = 0;
    auto add = [&](uint64_t delta) {
        if (delta && gcd != 1)
            gcd = Gcd(gcd, delta);
    };
    for (const PolyraCommand& command : ws.commands)
        add(command.delta);
    add(ws.endDelta);
    ws.trace->Line(PolyraTrace::Detail, "PGCD (%lu, %lu) = %lu\n", static_cast<unsigned long>(ws.division),
                   static_cast<unsigned long>(gcd), static_cast<unsigned long>(gcd));
    // Dividing by a common divisor of both keeps every time exact.
    if (gcd > 0 && gcd <= ws.division)
        ws.DivideTicks(uint32_t(Gcd(gcd, ws.division)));
    ws.atb = ws.division ? ws.tempo / ws.division : 0;
    if (ws.atb == 0) {
        ws.trace->Line(PolyraTrace::UserLine, "\nUSER : non-compatible MIDI format !\n");
        return ws.Fail(ErrTempoNull);
    }
    ws.trace->Line(PolyraTrace::UserLine, "\nUSER : Time base ATB=%lu microSeconds\n",
                   static_cast<unsigned long>(ws.atb));
    return true;
}
} // namespace PolyraStages
