#pragma once
// What a MIDI file plays: Note On counts per program and per family of eight
// programs (the drum channel apart), and the beat its tune plays at.
class MidiStream;

class CMidiInstrumentUsage
{
public:
    enum
    {
        DrumProgram = 128, // every note of MIDI channel 10
        ProgramCount = 129,
        DrumFamily = 16,
        FamilyCount = 17,
        DrumChannel = 9 // MIDI channel 10, counted from 0
    };

    explicit CMidiInstrumentUsage(MidiStream* pMidiStream);

    bool IsFamilyUsed(int family) const;
    int GetProgramNoteCount(int program) const;
    int GetFamilyNoteCount(int family) const;
    // Beats per minute of the tune (MidiTuneTempo); 120 when the file sets no tempo.
    int GetTempo() const { return m_nTempo; }

private:
    int m_ProgramNotes[ProgramCount] = {};
    int m_FamilyNotes[FamilyCount] = {};
    int m_nTempo = 0;
};
