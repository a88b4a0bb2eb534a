#pragma once
#include "MidiClasses/MidiEvent.h"

// Head of a track's event chain. It carries no event itself and owns the
// events chained after it.
class MidiEventList : public MidiEvent
{
public:
    MidiEventList() = default;
    ~MidiEventList() override;

    bool Load(MidiArchive& ar, uint32_t& bytesRead) override;
    bool Store(MidiArchive& ar) override;
    void Dump(QString& text) const override;
    MidiEventText GetTypeName() const override;

    // Deletes every event of the chain.
    void Clear();

protected:
    void FillData(MidiEventData& data) const override;
};
