#include "PolyraWrittenNotes.h"

#include "PolyraVoiceCount.h"

#include <algorithm>

namespace {
struct Placed
{
    uint64_t tick = 0;
    size_t order = 0; // the table's place of the command it stands for
    size_t note = PolyraWrittenTable::NoNote;
    PolyraCommand command;
};

PolyraCommand NoteOff(const PolyraCommand& on)
{
    PolyraCommand off;
    off.type = CmdNoteOff;
    off.status = uint8_t(0x80 | (on.channel & 0x0F));
    off.channel = on.channel;
    off.length = 2;
    off.data[0] = on.data[0];
    return off;
}

enum Choice : uint8_t
{
    Written,
    Undecided,
    LeftOut
};

// Whether the short note struck at `at` leaves every budget whole: the
// count with it (trial) against the count without it (base), both from the
// count so far (live), until its key sounds alike in both again. Later short
// notes not yet chosen stay out of both.
template <typename Plays>
bool FitsBeside(const PolyraWrittenTable& table, size_t at, const PolyraVoiceCount& live, PolyraVoiceCount& base,
                PolyraVoiceCount& trial, Plays plays)
{
    const PolyraCommand& on = table.commands[at];
    const size_t note = table.noteOf[at];
    base = live;
    trial = live;
    if (trial.Play(on) >= 0)
        return false;
    bool released = false;
    for (size_t i = at + 1; i < table.commands.size(); ++i) {
        const PolyraCommand& command = table.commands[i];
        base.RunDown(command.delta);
        trial.RunDown(command.delta);
        if (table.noteOf[i] == note) {
            trial.Play(command);
            released = true;
        } else if (plays(i)) {
            base.Play(command);
            if (trial.Play(command) >= 0)
                return false;
        }
        if (released && trial.SameAs(base, on.channel, on.data[0]))
            return true;
    }
    return true;
}
} // namespace

PolyraWrittenTable WrittenTable(const PolyraWorkspace& ws, const std::vector<PolyraNote>& notes,
                                const std::vector<uint16_t>& units)
{
    std::vector<size_t> noteAt(ws.commands.size(), PolyraWrittenTable::NoNote);
    for (size_t n = 0; n < notes.size(); ++n) {
        noteAt[notes[n].on] = n;
        if (notes[n].off != PolyraNote::NoOff)
            noteAt[notes[n].off] = n;
    }
    std::vector<Placed> placed;
    placed.reserve(ws.commands.size());
    uint64_t now = 0;
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        const PolyraCommand& command = ws.commands[i];
        now += command.delta;
        if (!command.IsActive())
            continue;
        const size_t n = noteAt[i];
        if (n == PolyraWrittenTable::NoNote) {
            if (!command.IsNote())
                placed.push_back({now, i, n, command});
            continue;
        }
        const PolyraNote& note = notes[n];
        const uint64_t length = uint64_t(units[note.on]) * ws.rtb;
        if (i != note.on || length == 0)
            continue;
        placed.push_back({now, i, n, command});
        const size_t offOrder = note.off == PolyraNote::NoOff ? ws.commands.size() : note.off;
        placed.push_back({now + length, offOrder, n, NoteOff(command)});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    PolyraWrittenTable table;
    table.commands.reserve(placed.size());
    table.noteOf.reserve(placed.size());
    uint64_t last = 0;
    for (Placed& entry : placed) {
        entry.command.delta = uint32_t(std::min<uint64_t>(entry.tick - last, 0xFFFFFFFFu));
        last = entry.tick;
        table.commands.push_back(entry.command);
        table.noteOf.push_back(entry.note);
    }
    return table;
}

unsigned long PlaceShortNotes(PolyraWorkspace& ws, const std::vector<PolyraNote>& notes)
{
    auto isShort = [&ws](const PolyraNote& note) { return note.Ticks() > 0 && note.Ticks() < ws.rtb; };
    if (std::none_of(notes.begin(), notes.end(), isShort))
        return 0;
    std::vector<Choice> choice(notes.size(), Written);
    std::vector<uint16_t> units = ws.noteUnits;
    for (size_t n = 0; n < notes.size(); ++n)
        if (isShort(notes[n])) {
            choice[n] = Undecided;
            units[notes[n].on] = 1;
        }
    const PolyraWrittenTable table = WrittenTable(ws, notes, units);
    auto plays = [&table, &choice](size_t i) {
        const size_t n = table.noteOf[i];
        return n == PolyraWrittenTable::NoNote || choice[n] == Written;
    };

    PolyraVoiceCount live(ws), base(ws), trial(ws);
    unsigned long leftOut = 0;
    for (size_t i = 0; i < table.commands.size(); ++i) {
        const PolyraCommand& command = table.commands[i];
        live.RunDown(command.delta);
        const size_t n = table.noteOf[i];
        // A note's first command is its NOTE ON.
        if (n != PolyraWrittenTable::NoNote && choice[n] == Undecided) {
            const bool fits = FitsBeside(table, i, live, base, trial, plays);
            choice[n] = fits ? Written : LeftOut;
            ws.noteUnits[notes[n].on] = fits ? 1 : 0;
            leftOut += !fits;
        }
        if (plays(i))
            live.Play(command);
    }
    return leftOut;
}
