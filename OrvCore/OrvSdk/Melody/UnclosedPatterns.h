#pragma once
// Drops the loop openings that a cut left without their close; the closes
// that were written stay matched. Shared by the event lists of both melody
// texts, whose events name their kinds BeginPattern and EndPattern.
#include "Melody/OwningList.h"

#include <QVector>

template <typename Event>
void RemoveUnclosedPatterns(COwningList<Event>& events)
{
    QVector<Event*> open;
    for (Event* event : events) {
        if (event->GetEventType() == Event::BeginPattern)
            open.append(event);
        else if (event->GetEventType() == Event::EndPattern && !open.isEmpty())
            open.removeLast();
    }
    for (Event* event : open)
        events.remove(event);
}
