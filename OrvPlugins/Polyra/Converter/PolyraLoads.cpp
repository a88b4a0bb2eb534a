// The phone's three budgets: the peak loads of the sequence, and the removal
// of notes until no budget is exceeded.
#include "PolyraNotePairs.h"
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include <algorithm>
#include <vector>

namespace PolyraStages {
namespace {
void AddLoads(PolyraWorkspace& ws, PolyraNoteCell& cell, int c)
{
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        cell.load[kind] = ws.ClassLoad(kind, c);
        ws.totals[kind] += cell.load[kind];
    }
}

void TakeLoads(PolyraWorkspace& ws, const PolyraNoteCell& cell)
{
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        ws.totals[kind] = std::max(0.0f, ws.totals[kind] - cell.load[kind]);
}

// Sound a NOTE ON's cell; the held, sounding and releasing flags follow.
void Sound(PolyraNoteCell& cell)
{
    cell.held = true;
    cell.sounding = true;
    cell.releasing = false;
}

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
int ChooseVictim(const PolyraWorkspace& ws, int* victimPitch)
{
    int victim = -1;
    int victimPriority = -1;
    for (int channel = 0; channel < 16; ++channel) {
        for (int pitch = 0; pitch < 128; ++pitch) {
            if (!ws.grid[channel][pitch].sounding)
                continue;
            const int priority = ws.parameters.priority[ws.channelClass[channel]];
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
int CutVictim(PolyraWorkspace& ws, size_t overload, int channel, int pitch)
{
    const int c = ws.channelClass[channel];
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
    ws.ClearGrid();
    ws.ResetChannels();
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        ws.totals[kind] = ws.profile.loads[kind].current;
        peaks[kind] = ws.profile.loads[kind].globalMaximum;
    }
    for (const PolyraCommand& command : ws.commands) {
        ws.RunReleases(command.delta, ws.totals, nullptr);
        if (!command.IsActive() || command.type == CmdSyncTag)
            continue;
        ws.TrackChannel(command);
        if (!command.IsNote())
            continue;
        PolyraNoteCell& cell = ws.grid[command.channel][command.data[0] & 0x7F];
        if (command.type == CmdNoteOff) {
            ws.StartRelease(command.channel, command.data[0] & 0x7F);
            continue;
        }
        if (!cell.sounding) {
            AddLoads(ws, cell, ws.ClassOf(command.channel));
            for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
                peaks[kind] = std::max(peaks[kind], ws.totals[kind]);
        }
        Sound(cell);
    }
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        ws.trace->Line(PolyraTrace::StageLine, "\t- %s = %u\n", Polyra::LoadNames[kind], unsigned(peaks[kind]));
}

bool RemoveOverloads(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Reduction des surcharges globales (suppression de notes) :\n");
    for (unsigned pass = 1;; ++pass) {
        RemovePhantoms(ws);
        ws.ClearGrid();
        ws.ResetChannels();
        std::fill(std::begin(ws.totals), std::end(ws.totals), 0.0f);
        unsigned long found = 0;
        // Time already run for the next command: its delta after a replay, or
        // the delta an erased command passed on to it.
        uint64_t credit = 0;
        for (size_t i = 0; i < ws.commands.size(); ++i) {
            const PolyraCommand& command = ws.commands[i];
            ws.RunReleases(uint32_t(command.delta - std::min<uint64_t>(credit, command.delta)), ws.totals, nullptr);
            credit = 0;
            if (!command.IsActive() || command.type == CmdSyncTag)
                continue;
            ws.TrackChannel(command);
            if (!command.IsNote())
                continue;
            const int channel = command.channel;
            const int pitch = command.data[0] & 0x7F;
            PolyraNoteCell& cell = ws.grid[channel][pitch];
            if (command.type == CmdNoteOff) {
                ws.StartRelease(channel, pitch);
                continue;
            }
            if (cell.sounding)
                TakeLoads(ws, cell);
            ws.StopNote(channel, pitch);
            AddLoads(ws, cell, ws.ClassOf(channel));
            const int overKind = ws.OverloadedKind(ws.totals);
            if (overKind < 0) {
                Sound(cell);
                continue;
            }
            ++found;
            ++ws.overloads[overKind];
            // The note that caused the overload is not played yet.
            TakeLoads(ws, cell);
            int victimPitch = 0;
            const int victim = ChooseVictim(ws, &victimPitch);
            if (victim < 0) {
                // Nothing else sounds: this note alone is over the budget.
                credit = command.delta;
                ws.Erase(int(i));
                EraseNoteOff(ws, i + 1, channel, pitch);
                continue;
            }
            const int restart = CutVictim(ws, i, victim, victimPitch);
            if (restart < 0) {
                ws.trace->Line(PolyraTrace::UserLine, "\n\nUSER : MIDI file too large (too much MIDI commands) - "
                                                      "converter memory limit exceed\n");
                return ws.Fail(ErrWorkingSpace);
            }
            TakeLoads(ws, ws.grid[victim][victimPitch]);
            ws.StopNote(victim, victimPitch);
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
