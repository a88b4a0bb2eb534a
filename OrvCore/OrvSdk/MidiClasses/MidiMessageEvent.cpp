#include "MidiClasses/MidiMessageEvent.h"

#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiDumpText.h"
#include "MidiClasses/MidiEventData.h"
#include "Util/Assert.h"

MidiMessageEvent::MidiMessageEvent(uint32_t deltaTime, uint8_t status)
    : MidiEvent(deltaTime, status), m_DataCount(DataCountOfStatus(status))
{}

int MidiMessageEvent::DataCountOfStatus(uint8_t status)
{
    switch (status >> 4) {
    case 0x8:
    case 0x9:
    case 0xA:
    case 0xB:
    case 0xE:
        return 2;
    case 0xC:
    case 0xD:
        return 1;
    default:
        return 0;
    }
}

bool MidiMessageEvent::Load(MidiArchive& ar, uint32_t& bytesRead)
{
    bytesRead = 0;
    ASSERT(ar.IsLoading());
    if (!ar.IsLoading())
        return false;

    uint8_t bytes[2] = {0, 0};
    bytesRead = ar.Read(bytes, uint32_t(m_DataCount));
    m_Data1 = bytes[0];
    m_Data2 = bytes[1];
    return bytesRead == uint32_t(m_DataCount);
}

void MidiMessageEvent::Dump(QString& text) const
{
    text += QStringLiteral("Midi ") + MidiDumpText::Hex2(m_Status) + QLatin1Char(' ')
            + GetTypeName().second.leftJustified(16);
    if (m_DataCount > 0)
        text += QLatin1Char(' ') + MidiDumpText::Hex2(m_Data1);
    if (m_DataCount > 1)
        text += QLatin1Char(' ') + MidiDumpText::Hex2(m_Data2);
    text += QLatin1Char('\n');
}

MidiEventText MidiMessageEvent::GetTypeName() const
{
    MidiEventText name;
    switch (m_Status >> 4) {
    case 0x8:
        name.second = QStringLiteral("Note off       ");
        break;
    case 0x9:
        name.second = QStringLiteral("Note on        ");
        break;
    case 0xA:
        name.second = QStringLiteral("Poly aftertouch");
        break;
    case 0xB:
        name.second = QStringLiteral("Control change ");
        break;
    case 0xC:
        name.second = QStringLiteral("Program change ");
        break;
    case 0xD:
        name.second = QStringLiteral("Aftertouch     ");
        break;
    case 0xE:
        name.second = QStringLiteral("Pitch bend     ");
        break;
    default:
        name.second = QStringLiteral("(error)        ");
        break;
    }
    return name;
}

void MidiMessageEvent::FillData(MidiEventData& data) const
{
    data.m_Kind = MidiEventData::KIND_MESSAGE;
    data.m_Data1 = m_Data1;
    data.m_Data2 = m_Data2;
}
