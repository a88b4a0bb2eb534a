#pragma once

// Common root of the chunk and event classes, so a tree of them can be
// handled and deleted through one base.
class MidiObject
{
public:
    MidiObject() = default;
    virtual ~MidiObject() = default;

    MidiObject(const MidiObject&) = delete;
    MidiObject& operator=(const MidiObject&) = delete;
};
