#pragma once
// One-line melody events: each carries one binary code of the maker's buzzer
// format (two-byte notes, one-byte silences and loop markers).
#include "Melody/MidiNote.h"
#include "Melody/OwningList.h"

#include <QString>
#include <cstdint>

class CDocumentWave;

class IBrimselEvent
{
public:
    enum EventType
    {
        Note = 0,
        BeginPattern = 1,
        EndPattern = 2
    };

    virtual ~IBrimselEvent() = default;
    virtual QString Dump() = 0;
    virtual int GetEventType() const = 0;
    // Encodes the event; size receives its byte count (2 for a note, else 1).
    virtual uint16_t GetCode(unsigned& size);
    virtual void Encode() = 0;
    // Notes and silences append their sound; the loop markers append nothing.
    virtual int GeneratePreview(CDocumentWave* wave, int beat);

protected:
    IBrimselEvent() = default;
    virtual unsigned CodeSize() const { return 1; }
    uint16_t m_usCode = 0;
};

typedef COwningList<IBrimselEvent> IBrimselNotes;

class IBrimselNote : public IBrimselEvent
{
public:
    IBrimselNote(const MidiNote* note, int style, int volume, int deltaVolume);
    QString Dump() override;
    int GetEventType() const override { return Note; }
    void Encode() override;
    int GeneratePreview(CDocumentWave* wave, int beat) override;

    const MidiNote& GetNote() const { return m_Note; }
    int GetStyle() const { return m_nStyle; }
    int GetVolume() const { return m_nVolume; }
    int GetDeltaVolume() const { return m_nDeltaVolume; }

protected:
    unsigned CodeSize() const override { return 2; }
    QString DurationText() const;

    int m_nStyle = 0;
    int m_nDeltaVolume = 0;
    int m_nVolume = 0;
    MidiNote m_Note;
};

// A repeat of the previous pitch, set apart from it by a short silence.
class ShortSilence : public IBrimselNote
{
public:
    ShortSilence(const MidiNote* note, int style, int volume, int deltaVolume);
    QString Dump() override;
    void Encode() override;
    int GeneratePreview(CDocumentWave* wave, int beat) override;

protected:
    unsigned CodeSize() const override { return 1; }
};

// A rest as long as the note it is made from.
class UserSilence : public IBrimselNote
{
public:
    UserSilence(const MidiNote* note, int style, int volume, int deltaVolume);
    QString Dump() override;
    void Encode() override;
    int GeneratePreview(CDocumentWave* wave, int beat) override;

protected:
    unsigned CodeSize() const override { return 1; }
};

// The repeat count (0 to 63) is split: its high three bits go with the
// opening, its low three bits with the close.
class QBRBeginPattern : public IBrimselEvent
{
public:
    explicit QBRBeginPattern(const MelodyBeginPattern* begin);
    QString Dump() override;
    int GetEventType() const override { return BeginPattern; }
    void Encode() override;
    int GetRepeatCount() const { return m_nRepeatCount; }
    void SetRepeatCount(int count) { m_nRepeatCount = count; }

private:
    int m_nRepeatCount = 0;
};

class QBREndPattern : public IBrimselEvent
{
public:
    explicit QBREndPattern(const MelodyEndPattern* end);
    QString Dump() override;
    int GetEventType() const override { return EndPattern; }
    void Encode() override;
    int GetRepeatCount() const { return m_nRepeatCount; }

private:
    int m_nRepeatCount = 0;
};
