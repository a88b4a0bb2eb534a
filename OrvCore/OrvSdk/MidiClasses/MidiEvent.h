#pragma once
#include "MidiClasses/MidiChainLink.h"
#include "MidiClasses/MidiEventText.h"
#include "MidiClasses/MidiObject.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class MidiArchive;
class MidiEventData;

// One event of a track with its delta time, linked into its track's chain.
// Deleting an event unlinks it first.
class MidiEvent : public MidiObject, public MidiChainLink<MidiEvent>
{
public:
    MidiEvent(uint32_t deltaTime = 0, uint8_t status = 0);
    ~MidiEvent() override;

    // Reads the event's bytes after its status; bytesRead tells how many.
    virtual bool Load(MidiArchive& ar, uint32_t& bytesRead) = 0;
    // The classes only read: nothing is written and the result is false.
    virtual bool Store(MidiArchive& ar);
    // Appends the event's debug line to text.
    virtual void Dump(QString& text) const = 0;
    // Clears data, copies delta time and status, then the class's own fields.
    virtual void GetData(MidiEventData& data) const;
    virtual MidiEventText GetTypeName() const = 0;
    virtual MidiEventText GetText() const;
    virtual uint32_t GetValue() const;
    virtual int GetMetaKind() const;

    uint8_t GetStatus() const { return m_Status; }
    uint32_t GetDeltaTime() const { return m_DeltaTime; }

    // Number of events chained after this one.
    int CountFollowing() const;

protected:
    virtual void FillData(MidiEventData& data) const = 0;

    // Reads a variable-length count and that many bytes into data. A count
    // beyond the bytes left fails without allocating.
    static bool LoadSizedData(MidiArchive& ar, QByteArray& data, uint32_t& bytesRead);
    // The warning of operations that do not apply to an event class.
    static void WarnNotApplicable();

    uint32_t m_DeltaTime;
    uint8_t m_Status;
};
