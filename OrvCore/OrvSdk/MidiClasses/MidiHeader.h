#pragma once
#include "MidiClasses/MidiChunk.h"

#include <QString>

// The "MThd" chunk: format, number of tracks announced, ticks per quarter note.
class MidiHeader : public MidiChunk
{
public:
    MidiHeader() = default;

    // Fails unless the chunk is "MThd" and its body is all there.
    bool Load(MidiArchive& ar) override;
    void Dump(QString& text) const;
    void Clear();

    uint16_t GetFormat() const { return m_Format; }
    uint16_t GetNumberOfTracks() const { return m_NumberOfTracks; }
    uint16_t GetDivision() const { return m_Division; }

private:
    uint16_t m_Format = 0;
    uint16_t m_NumberOfTracks = 0;
    uint16_t m_Division = 0;
};
