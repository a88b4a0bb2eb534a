#include "Melody/CMidiInstrumentUsage.h"

#include "MidiClasses/MidiEventList.h"
#include "MidiClasses/MidiMessageEvent.h"
#include "MidiClasses/MidiMetaEvent.h"
#include "MidiClasses/MidiStream.h"
#include "Util/Assert.h"

namespace {
// Microseconds per quarter note from a Set Tempo event; 0 when it does not hold
// exactly three bytes (such an event is no tempo) or a zero tempo.
uint32_t TempoMicroseconds(const MidiMetaEvent* meta)
{
    const QByteArray& data = meta->GetBytes();
    if (data.size() != 3)
        return 0;
    return static_cast<uint32_t>(static_cast<uchar>(data[0])) << 16
           | static_cast<uint32_t>(static_cast<uchar>(data[1])) << 8 | static_cast<uchar>(data[2]);
}
} // namespace

CMidiInstrumentUsage::CMidiInstrumentUsage(MidiStream* pMidiStream)
{
    ASSERT(pMidiStream);
    if (!pMidiStream)
        return;

    int channelPrograms[16] = {};
    channelPrograms[DrumChannel] = DrumProgram;
    for (const MidiTrack* track = pMidiStream->GetTrackList().GetFirstLinkedTrack(); track; track = track->GetNext()) {
        for (const MidiEvent* event = track->GetEventList()->GetNext(); event; event = event->GetNext()) {
            const uint8_t status = event->GetStatus();
            if (status == 0xFF) {
                const MidiMetaEvent* meta = dynamic_cast<const MidiMetaEvent*>(event);
                if (meta && meta->GetType() == MidiMetaEvent::SET_TEMPO) {
                    if (const uint32_t microseconds = TempoMicroseconds(meta))
                        m_nTempo = static_cast<int>(60.0 / (microseconds * 0.000001));
                }
                continue;
            }
            const MidiMessageEvent* message = dynamic_cast<const MidiMessageEvent*>(event);
            if (!message || status < 0x80 || status >= 0xF0)
                continue;
            const int channel = status & 0x0F;
            const int type = status & 0xF0;
            if (type == 0xC0 && channel != DrumChannel) {
                channelPrograms[channel] = message->GetData1() & 0x7F;
            } else if (type == 0x90 && message->GetData2() != 0) {
                const int program = channelPrograms[channel];
                ++m_ProgramNotes[program];
                ++m_FamilyNotes[program == DrumProgram ? DrumFamily : program / 8];
            }
        }
    }
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
