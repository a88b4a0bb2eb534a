#include "Melody/MidiTuneTempo.h"

#include "Melody/MidiNoteSpan.h"
#include "MidiClasses/MidiMetaEvent.h"
#include "MidiClasses/MidiTimedEvents.h"

#include <QList>
#include <algorithm>

namespace {
// Microseconds per quarter note that a file plays at before its first tempo.
const uint32_t kDefaultMicroseconds = 500000;

struct TempoChange
{
    qint64 tick; // from the start of its track
    uint32_t microseconds;
};

// Microseconds per quarter note from a Set Tempo event; 0 when it does not hold
// exactly three bytes (such an event is no tempo) or a zero tempo.
uint32_t TempoMicroseconds(const MidiMetaEvent* meta)
{
    const QByteArray& data = meta->GetBytes();
    if (data.size() != 3)
        return 0;
    return static_cast<uint32_t>(static_cast<uchar>(data[0])) << 16
           | static_cast<uint32_t>(static_cast<uchar>(data[1])) << 8 | static_cast<uchar>(data[2]);
}

int BeatOf(uint32_t microseconds)
{
    return static_cast<int>(60.0 / (microseconds * 0.000001));
}

// The valid tempo events in file order.
QList<TempoChange> TempoChanges(const MidiStream& stream)
{
    QList<TempoChange> changes;
    ForEachTimedEvent(stream, [&changes](const MidiTimedEvent& timed) {
        if (timed.event->GetStatus() != 0xFF)
            return;
        const MidiMetaEvent* meta = dynamic_cast<const MidiMetaEvent*>(timed.event);
        if (!meta || meta->GetType() != MidiMetaEvent::SET_TEMPO)
            return;
        if (const uint32_t microseconds = TempoMicroseconds(meta))
            changes.append(TempoChange{timed.tick, microseconds});
    });
    return changes;
}
} // namespace

int MidiTuneTempo(const MidiStream& stream)
{
    QList<TempoChange> changes = TempoChanges(stream);
    if (changes.isEmpty())
        return BeatOf(kDefaultMicroseconds);
    const MidiNoteSpan span = MidiNoteSpan::Of(stream);
    if (!span.hasNotes)
        return BeatOf(changes.last().microseconds);

    // Equal ticks keep file order: the later event of one instant is in force.
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    qsizetype next = 0;
    uint32_t inForce = kDefaultMicroseconds;
    for (; next < changes.size() && changes[next].tick <= span.start; ++next)
        inForce = changes[next].microseconds;

    // Quarter notes times microseconds, summed over the span.
    const uint32_t atStart = inForce;
    bool oneValue = true;
    double weighted = 0.0;
    qint64 from = span.start;
    for (; next < changes.size() && changes[next].tick < span.end; ++next) {
        weighted += static_cast<double>(changes[next].tick - from) * inForce;
        from = changes[next].tick;
        inForce = changes[next].microseconds;
        oneValue = oneValue && inForce == atStart;
    }
    if (oneValue)
        return BeatOf(atStart);
    weighted += static_cast<double>(span.end - from) * inForce;
    // The ticks per quarter note cancel out: quarter notes x 60 / seconds.
    return static_cast<int>(static_cast<double>(span.Ticks()) * 60000000.0 / weighted);
}
