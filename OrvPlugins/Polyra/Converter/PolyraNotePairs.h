#pragma once
// The notes of the command table: each NOTE ON with the NOTE OFF that ends
// it, in one walk that every stage needing note lengths shares.
#include <cstddef>
#include <cstdint>
#include <vector>

class PolyraWorkspace;

struct PolyraNote
{
    static constexpr size_t NoOff = ~size_t(0);

    size_t on = 0;      // index of the NOTE ON
    size_t off = NoOff; // index of its NOTE OFF
    uint64_t start = 0; // ticks
    uint64_t end = 0;
    // The class of the note's channel at its NOTE ON (its loads) and at its
    // NOTE OFF (its release).
    int onClass = 0;
    int offClass = 0;
    int channel = 0;
    int pitch = 0;
    // Without a NOTE OFF it lasts to the end of the table.
    bool toEnd = false;

    uint64_t Ticks() const { return end - start; }
};

// Each NOTE ON paired with the next NOTE OFF of its channel and pitch, in
// the order of the NOTE ON. A note struck again before its NOTE OFF lasts no
// time (the later one takes the NOTE OFF). Walks the channel state.
std::vector<PolyraNote> PairNotes(PolyraWorkspace& ws);
