#pragma once
// The one note model of every monophonic melody: MIDI extraction, iMelody and
// one-line texts, ring tones and the previews all read and write MidiNote.
#include "Melody/OwningList.h"

#include <QString>
#include <cstdint>

// An item of a melody's note list: a note, or the opening or close of a loop.
class MelodyElement
{
public:
    enum ElementType
    {
        Note = 0,
        BeginPattern = 1,
        EndPattern = 2
    };

    virtual ~MelodyElement() = default;
    virtual int GetElementType() const = 0;
    // A copy of the same concrete type; writers work on copies so that the
    // document they are given stays as it was.
    virtual MelodyElement* Clone() const = 0;

protected:
    MelodyElement() = default;
    MelodyElement(const MelodyElement&) = default;
    MelodyElement& operator=(const MelodyElement&) = default;
};

// The owning note list of a melody document.
class MelodyNoteList : public COwningList<MelodyElement>
{
public:
    // Appends a copy of every element of the other list.
    void AppendCopies(const MelodyNoteList& other);
};

// Opens a loop; the repeat count lives in the closing item and is copied here
// by the builders that know it.
class MelodyBeginPattern : public MelodyElement
{
public:
    explicit MelodyBeginPattern(int repeatCount = 0) : m_nRepeatCount(repeatCount) {}
    int GetElementType() const override { return BeginPattern; }
    MelodyElement* Clone() const override { return new MelodyBeginPattern(*this); }
    int GetRepeatCount() const { return m_nRepeatCount; }
    void SetRepeatCount(int count) { m_nRepeatCount = count; }

private:
    int m_nRepeatCount;
};

// Closes the innermost open loop and carries its repeat count (0 to 15).
class MelodyEndPattern : public MelodyElement
{
public:
    explicit MelodyEndPattern(int repeatCount = 0) : m_nRepeatCount(repeatCount) {}
    int GetElementType() const override { return EndPattern; }
    MelodyElement* Clone() const override { return new MelodyEndPattern(*this); }
    int GetRepeatCount() const { return m_nRepeatCount; }
    void SetRepeatCount(int count) { m_nRepeatCount = count; }

private:
    int m_nRepeatCount;
};

// The volume mapping shared by the writers: note volumes from [minimum,
// maximum] onto the levels [offset, top level].
struct VolumeInfo
{
    int nMidiVolumeMin = 0;
    int nMidiVolumeMax = 0;
    int nMidiVolumeRange = 0;
    int nTopLevel = 0; // set by the caller: the melody's volume 0 to 15
    int nOffset = 0;
    int nLevelSpan = 0;
    double dScale = 0.0;
};

class MidiNote : public MelodyElement
{
public:
    enum
    {
        Silence = 12
    };
    enum
    {
        DurationCount = 6, // whole to thirty-second note
        ModifierCount = 4, // plain, dotted, double dotted, ";"
        CandidateCount = DurationCount * ModifierCount
    };

    MidiNote() = default;
    int GetElementType() const override { return Note; }
    MelodyElement* Clone() const override { return new MidiNote(*this); }

    int GetValue() const { return m_nValue; }
    void SetValue(int value) { m_nValue = value; }
    bool IsSilence() const { return m_nValue == Silence; }
    int GetOctave() const { return m_nOctave; }
    void SetOctave(int octave) { m_nOctave = octave; }
    int GetDuration() const { return m_nDuration; }
    void SetDuration(int duration) { m_nDuration = duration; }
    int GetDurationModifier() const { return m_nDurationModifier; }
    void SetDurationModifier(int modifier) { m_nDurationModifier = modifier; }
    int GetVolume() const { return m_ucVolume; }
    // Stores the low byte, as the one-byte volume field does.
    void SetVolume(int volume) { m_ucVolume = static_cast<uint8_t>(volume & 0xFF); }
    // Volume from a MIDI velocity scaled by the channel volume (both 0 to 127).
    void SetVolume(int velocity, int channelVolume);
    int GetTicksPerQuarter() const { return m_usTicksPerQuarter; }

    void SetMidiKey(int key);
    int GetMidiKey() const;
    void Transpose(int semitones);
    bool FitInBandwidth(unsigned low, unsigned high);

    // Quantises a length in ticks to a duration and modifier; returns the
    // ticks left over (negative below half the shortest duration).
    int SetDurationFromTicks(int ticks, int ticksPerQuarter);
    static void SetShortestDurationIndex(int index);
    static int GetShortestDurationIndex();

    double GetFrequency() const;
    int GetDurationMs(int tempo) const;
    // The length in 96ths of a quarter note, a unit in which every duration
    // and modifier is a whole number (a whole note is 384).
    int GetLengthIn96ths() const;
    int GetVolumeLevel(const VolumeInfo& info) const;
    QString Dump() const;

    static void ComputeVolumeFactors(const MelodyNoteList& list, VolumeInfo& info);
    static void FitListInBandwidth(MelodyNoteList& list, unsigned low, unsigned high);

    // Table look-ups that stay inside their tables whatever the fields hold.
    static double ModifierFactor(int modifier);
    static int ClampBeat(int tempo);

private:
    void FillCandidates(double* table) const;

    int m_nValue = Silence;
    int m_nOctave = 0;
    int m_nDuration = 0;
    int m_nDurationModifier = 0;
    uint8_t m_ucVolume = 0;
    uint16_t m_usTicksPerQuarter = 0;
};
