#pragma once
#include <QString>

// Answer of the naming operations of an event; the text is in `second`.
struct MidiEventText
{
    QString first;
    QString second;
};
