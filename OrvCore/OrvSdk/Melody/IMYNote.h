#pragma once
// iMelody events: one per note, rest and loop marker of a melody. The writer
// builds them and joins their texts; the exporter plays them for the preview.
#include "Melody/MidiNote.h"
#include "Melody/OwningList.h"

#include <QString>

class CDocumentWave;

class IMYEvent
{
public:
    enum EventType
    {
        Note = 0,
        BeginPattern = 1,
        EndPattern = 2
    };

    virtual ~IMYEvent() = default;
    virtual int GetEventType() const = 0;
    virtual QString GetText();
    virtual void BuildText() = 0;

protected:
    IMYEvent() = default;
    QString m_Text;
};

typedef COwningList<IMYEvent> IMYNotes;

class IMYBeginPattern : public IMYEvent
{
public:
    explicit IMYBeginPattern(const MelodyBeginPattern* begin);
    int GetEventType() const override { return BeginPattern; }
    void BuildText() override;
    int GetRepeatCount() const { return m_nRepeatCount; }

private:
    int m_nRepeatCount = 0;
};

class IMYEndPattern : public IMYEvent
{
public:
    explicit IMYEndPattern(const MelodyEndPattern* end);
    int GetEventType() const override { return EndPattern; }
    void BuildText() override;
    int GetRepeatCount() const { return m_nRepeatCount; }

private:
    int m_nRepeatCount = 0;
};

class IMYNote : public IMYEvent
{
public:
    // The first sounding note plays at the top level; every later one carries
    // its level change from the previous sounding note.
    IMYNote(const MidiNote* note, const MidiNote* PreviousUnsilentNote, int style, const VolumeInfo* pVolumeInfo);
    int GetEventType() const override { return Note; }
    void BuildText() override;

    // Appends the note's sound (or silence) to a 16-bit mono wave; returns the
    // number of samples appended.
    int GeneratePreview(CDocumentWave* wave, int tempo) const;

    const MidiNote& GetNote() const { return m_Note; }
    int GetStyle() const { return m_nStyle; }
    int GetVolumeLevel() const { return m_nVolumeLevel; }
    int GetVolumeStep() const { return m_nVolumeStep; }
    bool HasOctavePrefix() const { return m_bOctavePrefix; }

private:
    int m_nStyle = 0;
    int m_nVolumeLevel = 0;
    int m_nVolumeStep = 0;
    bool m_bOctavePrefix = false;
    MidiNote m_Note;
};
