// The phone's three budgets: the peak loads of the sequence, and the removal
// of notes until no budget is exceeded.
#include "PolyraNotePairs.h"
#include "PolyraStages.h"
#include "PolyraVoiceCount.h"
#include "PolyraWorkspace.h"

#include <algorithm>
#include <vector>

namespace PolyraStages {
namespace {
// Erases the next NOTE OFF of the channel and pitch from index on.
void EraseNoteOff(PolyraWorkspace& ws, size_t from, int channel, int pitch)
{
    for (size_t i = from; i < ws.commands.size(); ++i) {
        const PolyraCommand& command = ws.commands[i];
        if (command.type == CmdNoteOff && command.channel == channel && (command.data[0] & 0x7F) == pitch) {
            ws.Erase(int(i));
            return;
        }
    }
}

// A note whose NOTE OFF comes at the very tick of its NOTE ON is never heard:
// both go. Erasing after the pairing keeps its times exact.
void RemovePhantoms(PolyraWorkspace& ws)
{
    std::vector<size_t> phantoms;
    for (const PolyraNote& note : PairNotes(ws)) {
        if (note.off == PolyraNote::NoOff || note.Ticks() > 0)
            continue;
        ws.trace->Line(PolyraTrace::Detail,
                       "la note %X (canal %u) n'a pas de dur\xe9"
                       "e\n",
                       note.pitch, unsigned(note.channel));
        phantoms.push_back(note.on);
        phantoms.push_back(note.off);
    }
    std::sort(phantoms.begin(), phantoms.end());
    for (size_t index : phantoms)
        ws.Erase(int(index));
}

// The channel whose lowest sounding note gives way: the one whose class has
// the largest priority number, the lower channel on a tie; -1 when nothing
// else sounds.
int ChooseVictim(const PolyraWorkspace& ws, const PolyraVoiceCount& voices, int* victimPitch)
{
    int victim = -1;
    int victimPriority = -1;
    for (int channel = 0; channel < 16; ++channel) {
        for (int pitch = 0; pitch < 128; ++pitch) {
            if (!voices.IsSounding(channel, pitch))
                continue;
            const int priority = ws.parameters.priority[voices.channels.classOf[channel]];
            if (priority > victimPriority) {
                victim = channel;
                victimPriority = priority;
                *victimPitch = pitch;
            }
            break;
        }
    }
    return victim;
}

// Shortens or removes the victim so that its release ends by the overload
// command; returns the overload command's index afterwards, or -1 when the
// table is full.
int CutVictim(PolyraWorkspace& ws, size_t overload, int channel, int c, int pitch)
{
    float remaining = ws.releaseTicks[c];
    for (size_t k = overload + 1; k-- > 0;) {
        const PolyraCommand& command = ws.commands[k];
        if (command.type == CmdNoteOn && command.channel == channel && (command.data[0] & 0x7F) == pitch) {
            ws.Erase(int(k));
            EraseNoteOff(ws, k + 1, channel, pitch);
            return int(overload);
        }
        remaining -= float(command.delta);
        if (remaining <= 0) {
            PolyraCommand off;
            off.type = CmdNoteOff;
            off.status = uint8_t(0x80 | channel);
            off.channel = uint8_t(channel);
            off.length = 2;
            off.data[0] = uint8_t(pitch);
            if (!ws.Insert(int(k), off))
                return -1;
            EraseNoteOff(ws, k + 1, channel, pitch);
            return int(overload) + 1;
        }
    }
    return int(overload);
}
} // namespace

void ComputePeakLoads(PolyraWorkspace& ws, float* peaks)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Charges crete :\n");
    float current[Polyra::LoadKinds];
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        current[kind] = ws.profile.loads[kind].current;
        peaks[kind] = ws.profile.loads[kind].globalMaximum;
    }
    PolyraVoiceCount voices(ws);
    voices.Reset(current);
    for (const PolyraCommand& command : ws.commands) {
        voices.RunDown(command.delta);
        if (!command.IsActive() || command.type == CmdSyncTag)
            continue;
        // A key struck while it still sounds adds nothing to the peaks.
        if (command.type == CmdNoteOn && voices.IsSounding(command.channel, command.data[0])) {
            voices.Hold(command.channel, command.data[0]);
            continue;
        }
        voices.Play(command);
        if (command.type == CmdNoteOn)
            for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
                peaks[kind] = std::max(peaks[kind], voices.loads[kind]);
    }
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        ws.trace->Line(PolyraTrace::StageLine, "\t- %s = %u\n", Polyra::LoadNames[kind], unsigned(peaks[kind]));
}

bool RemoveOverloads(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Reduction des surcharges globales (suppression de notes) :\n");
    PolyraVoiceCount voices(ws);
    for (unsigned pass = 1;; ++pass) {
        RemovePhantoms(ws);
        voices.Reset();
        unsigned long found = 0;
        // Time already run for the next command: its delta after a replay, or
        // the delta an erased command passed on to it.
        uint64_t credit = 0;
        for (size_t i = 0; i < ws.commands.size(); ++i) {
            const PolyraCommand& command = ws.commands[i];
            voices.RunDown(uint32_t(command.delta - std::min<uint64_t>(credit, command.delta)));
            credit = 0;
            if (!command.IsActive() || command.type == CmdSyncTag)
                continue;
            const int overKind = voices.Play(command);
            if (overKind < 0)
                continue;
            ++found;
            ++ws.overloads[overKind];
            // The note that caused the overload is not played yet.
            const int channel = command.channel;
            const int pitch = command.data[0] & 0x7F;
            voices.Silence(channel, pitch);
            int victimPitch = 0;
            const int victim = ChooseVictim(ws, voices, &victimPitch);
            if (victim < 0) {
                // Nothing else sounds: this note alone is over the budget.
                credit = command.delta;
                ws.Erase(int(i));
                EraseNoteOff(ws, i + 1, channel, pitch);
                continue;
            }
            const int restart = CutVictim(ws, i, victim, voices.channels.classOf[victim], victimPitch);
            if (restart < 0) {
                ws.trace->Line(PolyraTrace::UserLine, "\n\nUSER : MIDI file too large (too much MIDI commands) - "
                                                      "converter memory limit exceed\n");
                return ws.Fail(ErrWorkingSpace);
            }
            voices.Silence(victim, victimPitch);
            i = size_t(restart) - 1;
            credit = ws.commands[size_t(restart)].delta;
        }
        ws.trace->Line(PolyraTrace::StageLine, "Passe %u : %lu surcharges  (100%%)      \n", pass, found);
        if (found == 0)
            break;
    }
    unsigned long total = 0;
    for (unsigned long count : ws.overloads)
        total += count;
    if (total && !ws.trace->IsBassMute()) {
        ws.trace->Line(PolyraTrace::UserLine, "\nUSER : Statistics on overload dispatching :\n");
        for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
            ws.trace->Line(PolyraTrace::UserLine, "\t%s : %lu (%u %%)\n", Polyra::LoadNames[kind], ws.overloads[kind],
                           unsigned(ws.overloads[kind] * 100 / total));
    }
    return true;
}
} // namespace PolyraStages
