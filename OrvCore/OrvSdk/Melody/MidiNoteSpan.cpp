#include "Melody/MidiNoteSpan.h"

#include "Melody/CMidiInstrumentUsage.h"
#include "MidiClasses/MidiEventList.h"
#include "MidiClasses/MidiMessageEvent.h"
#include "MidiClasses/MidiStream.h"

MidiNoteSpan MidiNoteSpan::Of(const MidiStream& stream)
{
    MidiNoteSpan span;
    qint64 latestEnd = 0;
    bool hasEnd = false;
    for (const MidiTrack* track = stream.GetTrackList().GetFirstLinkedTrack(); track; track = track->GetNext()) {
        qint64 time = 0;
        for (const MidiEvent* event = track->GetEventList()->GetNext(); event; event = event->GetNext()) {
            time += event->GetDeltaTime();
            const uint8_t status = event->GetStatus();
            const int type = status & 0xF0;
            if ((type != 0x80 && type != 0x90) || (status & 0x0F) == CMidiInstrumentUsage::DrumChannel)
                continue;
            const MidiMessageEvent* message = dynamic_cast<const MidiMessageEvent*>(event);
            if (!message)
                continue;
            if (type == 0x90 && message->GetData2() != 0) {
                span.start = span.hasNotes ? qMin(span.start, time) : time;
                span.hasNotes = true;
            } else {
                latestEnd = hasEnd ? qMax(latestEnd, time) : time;
                hasEnd = true;
            }
        }
    }
    if (span.hasNotes)
        span.end = qMax(span.start, latestEnd);
    return span;
}
