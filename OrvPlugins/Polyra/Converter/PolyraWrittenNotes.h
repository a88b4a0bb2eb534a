#pragma once
// The notes as the MISC track writes them, and the choice of the short notes
// that it can write within the phone's budgets.
#include "PolyraNotePairs.h"
#include "PolyraWorkspace.h"

#include <cstdint>
#include <vector>

struct PolyraWrittenTable
{
    static constexpr size_t NoNote = ~size_t(0);

    std::vector<PolyraCommand> commands;
    // For each command, the index of its note among the notes given, or
    // NoNote for the table's other commands.
    std::vector<size_t> noteOf;
};

// The table's commands with each note of `units[note.on]` units (RTB) long
// instead of its own length: its NOTE ON where it was, its NOTE OFF at its
// start plus those units; a note of 0 units is left out. Commands of one
// tick keep the table's order, a NOTE OFF taking the place of the one it
// stands for.
PolyraWrittenTable WrittenTable(const PolyraWorkspace& ws, const std::vector<PolyraNote>& notes,
                                const std::vector<uint16_t>& units);

// A note shorter than the unit (a drum hit of a tick or two) is written one
// unit long exactly when the removal of overloads, counting the notes as
// written with it, finds no overload; otherwise it keeps 0 units and is left
// out. Notes are chosen in the order they start. Returns how many are left
// out.
unsigned long PlaceShortNotes(PolyraWorkspace& ws, const std::vector<PolyraNote>& notes);
