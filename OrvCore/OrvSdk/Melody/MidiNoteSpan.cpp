#include "Melody/MidiNoteSpan.h"

#include "Melody/CMidiInstrumentUsage.h"
#include "MidiClasses/MidiTimedEvents.h"

MidiNoteSpan MidiNoteSpan::Of(const MidiStream& stream)
{
    MidiNoteSpan span;
    qint64 latestEnd = 0;
    bool hasEnd = false;
    ForEachTimedEvent(stream, [&](const MidiTimedEvent& timed) {
        const uint8_t status = timed.event->GetStatus();
        const int type = status & 0xF0;
        if ((type != 0x80 && type != 0x90) || (status & 0x0F) == CMidiInstrumentUsage::DrumChannel)
            return;
        const MidiMessageEvent* message = timed.Message();
        if (!message)
            return;
        if (type == 0x90 && message->GetData2() != 0) {
            span.start = span.hasNotes ? qMin(span.start, timed.tick) : timed.tick;
            span.hasNotes = true;
        } else {
            latestEnd = hasEnd ? qMax(latestEnd, timed.tick) : timed.tick;
            hasEnd = true;
        }
    });
    if (span.hasNotes)
        span.end = qMax(span.start, latestEnd);
    return span;
}
