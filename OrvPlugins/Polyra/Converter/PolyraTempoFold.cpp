// A tune whose tempo changes while it plays, in a sequence that holds one
// tempo: the changes are folded into the times of the commands, so that
// every note comes when the tune has it.
#include "PolyraNotePairs.h"
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include <QString>

#include <algorithm>
#include <numeric>
#include <vector>

namespace PolyraStages {
namespace {
uint64_t SaturatingAdd(uint64_t a, uint64_t b)
{
    uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? ~uint64_t(0) : sum;
}

uint64_t SaturatingMul(uint64_t a, uint64_t b)
{
    uint64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? ~uint64_t(0) : product;
}

// The changes that move the tune off the tempo in force when they come.
unsigned CountRealChanges(const PolyraWorkspace& ws)
{
    unsigned count = 0;
    uint32_t inForce = ws.tempo;
    for (const PolyraTempoChange& change : ws.laterTempos) {
        count += change.tempo != inForce;
        inForce = change.tempo;
    }
    return count;
}

// The time the tune has reached at each tick, in microseconds a quarter
// note times ticks: the sequence's first tempo until the first later tempo
// event, then each tempo as it comes. Asked for ticks in order.
class TuneClock
{
public:
    TuneClock(const std::vector<PolyraTempoChange>& changes, uint32_t first) : mChanges(changes), mTempo(first) {}

    uint64_t At(uint64_t tick)
    {
        for (; mNext < mChanges.size() && mChanges[mNext].tick <= tick; ++mNext)
            RunTo(mChanges[mNext].tick, mChanges[mNext].tempo);
        RunTo(tick, mTempo);
        return mTime;
    }

private:
    void RunTo(uint64_t tick, uint32_t tempoAfter)
    {
        if (tick > mTick)
            mTime = SaturatingAdd(mTime, SaturatingMul(mTempo, tick - mTick));
        mTick = std::max(mTick, tick);
        mTempo = tempoAfter;
    }

    const std::vector<PolyraTempoChange>& mChanges;
    size_t mNext = 0;
    uint64_t mTick = 0;
    uint64_t mTime = 0;
    uint64_t mTempo;
};

// The tick at the sequence's tempo that lands on the same time, rounded
// half up.
uint64_t TickAt(uint64_t time, uint64_t tempo)
{
    return time / tempo + (time % tempo * 2 >= tempo ? 1 : 0);
}
} // namespace

void FoldTempoChanges(PolyraWorkspace& ws)
{
    const unsigned changes = CountRealChanges(ws);
    if (changes == 0 || ws.division == 0)
        return;
    // A tick of a whole number of microseconds builds up no drift.
    const uint32_t first = ws.tempo;
    const uint32_t tempo = first >= ws.division ? first - first % ws.division : first;

    const size_t count = ws.commands.size();
    std::vector<uint64_t> ticks(count);
    TuneClock clock(ws.laterTempos, first);
    uint64_t now = 0;
    for (size_t i = 0; i < count; ++i) {
        now += ws.commands[i].delta;
        ticks[i] = TickAt(clock.At(now), tempo);
    }
    const uint64_t end = TickAt(clock.At(now + ws.endDelta), tempo);

    // A note that the new times would close at its own start keeps a tick,
    // unless its key is struck again at that very tick. The notes are walked
    // back so that each knows when its key is next struck.
    const std::vector<PolyraNote> notes = PairNotes(ws);
    std::vector<uint64_t> nextStrike(16 * 128, ~uint64_t(0));
    for (auto note = notes.rbegin(); note != notes.rend(); ++note) {
        const size_t key = size_t(note->channel) * 128 + size_t(note->pitch);
        const uint64_t start = ticks[note->on];
        if (note->off != PolyraNote::NoOff && note->Ticks() > 0 && ticks[note->off] == start
            && nextStrike[key] != start)
            ticks[note->off] = start + 1;
        nextStrike[key] = start;
    }

    // A NOTE OFF given a tick goes behind the commands of the tick it left.
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&ticks](size_t a, size_t b) { return ticks[a] < ticks[b]; });
    std::vector<PolyraCommand> timed;
    timed.reserve(count);
    uint64_t last = 0;
    for (size_t i : order) {
        PolyraCommand command = ws.commands[i];
        command.delta = uint32_t(std::min<uint64_t>(ticks[i] - last, 0xFFFFFFFFu));
        last = ticks[i];
        timed.push_back(command);
    }
    std::copy(timed.begin(), timed.end(), ws.commands.begin());
    ws.endDelta = uint32_t(std::min<uint64_t>(std::max(end, last) - last, 0xFFFFFFFFu));
    ws.ApplyTempo(tempo);
    ws.trace->Notice(changes == 1 ? "id_tempo_change_folded" : "id_tempo_changes_folded", QString::number(changes));
}
} // namespace PolyraStages
