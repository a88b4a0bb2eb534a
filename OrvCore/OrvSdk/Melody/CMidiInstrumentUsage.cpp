#include "Melody/CMidiInstrumentUsage.h"

#include "Melody/MidiTuneTempo.h"
#include "MidiClasses/MidiTimedEvents.h"
#include "Util/Assert.h"

CMidiInstrumentUsage::CMidiInstrumentUsage(MidiStream* pMidiStream)
{
    ASSERT(pMidiStream);
    if (!pMidiStream)
        return;

    int channelPrograms[16] = {};
    channelPrograms[DrumChannel] = DrumProgram;
    ForEachTimedEvent(*pMidiStream, [&](const MidiTimedEvent& timed) {
        const MidiMessageEvent* message = timed.Message();
        if (!message)
            return;
        const int channel = message->GetStatus() & 0x0F;
        const int type = message->GetStatus() & 0xF0;
        if (type == 0xC0 && channel != DrumChannel) {
            channelPrograms[channel] = message->GetData1() & 0x7F;
        } else if (type == 0x90 && message->GetData2() != 0) {
            const int program = channelPrograms[channel];
            ++m_ProgramNotes[program];
            ++m_FamilyNotes[program == DrumProgram ? DrumFamily : program / 8];
        }
    });
    m_nTempo = MidiTuneTempo(*pMidiStream);
}

bool CMidiInstrumentUsage::IsFamilyUsed(int family) const
{
    return GetFamilyNoteCount(family) != 0;
}

int CMidiInstrumentUsage::GetProgramNoteCount(int program) const
{
    return (program >= 0 && program < ProgramCount) ? m_ProgramNotes[program] : 0;
}

int CMidiInstrumentUsage::GetFamilyNoteCount(int family) const
{
    return (family >= 0 && family < FamilyCount) ? m_FamilyNotes[family] : 0;
}
