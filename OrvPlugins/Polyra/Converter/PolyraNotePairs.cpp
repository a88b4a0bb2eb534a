#include "PolyraNotePairs.h"

#include "PolyraWorkspace.h"

#include <algorithm>

std::vector<PolyraNote> PairNotes(PolyraWorkspace& ws)
{
    // One allocation for all the notes: grown note by note, the list would
    // be copied into fresh memory at every doubling.
    std::vector<PolyraNote> notes;
    notes.reserve(size_t(std::count_if(ws.commands.begin(), ws.commands.end(),
                                       [](const PolyraCommand& command) { return command.type == CmdNoteOn; })));
    int32_t open[16][128];
    for (auto& channel : open)
        std::fill(std::begin(channel), std::end(channel), -1);
    ws.ResetChannels();
    uint64_t now = 0;
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        const PolyraCommand& command = ws.commands[i];
        now += command.delta;
        ws.TrackChannel(command);
        if (!command.IsNote())
            continue;
        const int channel = command.channel & 0x0F;
        const int pitch = command.data[0] & 0x7F;
        int32_t& slot = open[channel][pitch];
        if (command.type == CmdNoteOn) {
            PolyraNote note;
            note.on = i;
            note.start = note.end = now;
            note.onClass = note.offClass = ws.ClassOf(channel);
            note.channel = channel;
            note.pitch = pitch;
            slot = int32_t(notes.size());
            notes.push_back(note);
        } else if (slot >= 0) {
            PolyraNote& note = notes[size_t(slot)];
            note.off = i;
            note.end = now;
            note.offClass = ws.ClassOf(channel);
            slot = -1;
        }
    }
    const uint64_t end = now + ws.endDelta;
    for (auto& channel : open)
        for (int32_t slot : channel)
            if (slot >= 0) {
                PolyraNote& note = notes[size_t(slot)];
                note.end = end;
                note.toEnd = true;
                note.offClass = ws.ClassOf(note.channel);
            }
    return notes;
}
