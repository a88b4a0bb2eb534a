#include "MidiClasses/MidiMetaEvent.h"

#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiDumpText.h"
#include "MidiClasses/MidiEventData.h"
#include "Util/Assert.h"

namespace {
const int MaxTextLength = 255;

// 2 to the power exponent; 0 where it no longer fits a 32-bit number.
uint32_t PowerOfTwo(uint8_t exponent)
{
    return exponent < 32 ? (uint32_t(1) << exponent) : 0;
}
} // namespace

MidiMetaEvent::MidiMetaEvent(uint32_t deltaTime, uint8_t status) : MidiEvent(deltaTime, status) {}

bool MidiMetaEvent::Load(MidiArchive& ar, uint32_t& bytesRead)
{
    bytesRead = 0;
    ASSERT(ar.IsLoading());
    if (!ar.IsLoading())
        return false;
    if (!ar.ReadByte(m_Type))
        return false;
    bytesRead = 1;
    return LoadSizedData(ar, m_Data, bytesRead);
}

uint8_t MidiMetaEvent::ByteAt(int index) const
{
    return index < m_Data.size() ? uint8_t(m_Data.at(index)) : 0;
}

MidiEventText MidiMetaEvent::GetTypeName() const
{
    MidiEventText name;
    switch (m_Type) {
    case 0x00:
        name.second = QStringLiteral("Sequence number");
        break;
    case 0x01:
        name.second = QStringLiteral("General text   ");
        break;
    case 0x02:
        name.second = QStringLiteral("Copyright text ");
        break;
    case 0x03:
        name.second = QStringLiteral("Track name     ");
        break;
    case 0x04:
        name.second = QStringLiteral("Instrument name");
        break;
    case 0x05:
        name.second = QStringLiteral("Song lyric     ");
        break;
    case 0x06:
        name.second = QStringLiteral("Marking        ");
        break;
    case 0x07:
        name.second = QStringLiteral("Cue point      ");
        break;
    case 0x20:
        name.second = QStringLiteral("Channel prefix ");
        break;
    case 0x2F:
        name.second = QStringLiteral("End of track   ");
        break;
    case 0x51:
        name.second = QStringLiteral("Set tempo      ");
        break;
    case 0x54:
        name.second = QStringLiteral("SMPTE offset   ");
        break;
    case 0x58:
        name.second = QStringLiteral("Time signature ");
        break;
    case 0x59:
        name.second = QStringLiteral("Key signature  ");
        break;
    case 0x7F:
        name.second = QStringLiteral("Sequencer      ");
        break;
    default:
        name.second = QStringLiteral("Unknown        ");
        break;
    }
    return name;
}

MidiEventText MidiMetaEvent::GetText() const
{
    int length = m_Data.size() < MaxTextLength ? int(m_Data.size()) : MaxTextLength;
    const int zero = m_Data.indexOf('\0');
    if (zero >= 0 && zero < length)
        length = zero;
    MidiEventText text;
    text.second = QString::fromLatin1(m_Data.constData(), length);
    return text;
}

uint32_t MidiMetaEvent::GetValue() const
{
    switch (m_Type) {
    case SET_TEMPO:
        if (!HasBytes(3))
            return 0;
        return (uint32_t(ByteAt(0)) << 16) | (uint32_t(ByteAt(1)) << 8) | ByteAt(2);
    case TIME_SIGNATURE:
        if (!HasBytes(4))
            return 0;
        // A denominator above 128 does not fit its 8 bits and reads as 0
        // rather than spilling into the next field.
        return uint32_t(ByteAt(0)) | ((PowerOfTwo(ByteAt(1)) & 0xFF) << 8) | (uint32_t(ByteAt(2)) << 16)
               | (uint32_t(ByteAt(3)) << 24);
    case KEY_SIGNATURE:
        if (!HasBytes(2))
            return 0;
        return uint32_t(ByteAt(0)) * 256 + ByteAt(1);
    default:
        return 0;
    }
}

int MidiMetaEvent::GetMetaKind() const
{
    if (m_Type >= 0x01 && m_Type <= 0x07)
        return KIND_TEXT;
    switch (m_Type) {
    case SET_TEMPO:
        return KIND_TEMPO;
    case TIME_SIGNATURE:
        return KIND_TIME_SIGNATURE;
    case KEY_SIGNATURE:
        return KIND_KEY_SIGNATURE;
    default:
        return KIND_OTHER;
    }
}

QString MidiMetaEvent::ValueText() const
{
    const QString shortData = QStringLiteral("0");
    if (m_Type >= GENERAL_TEXT && m_Type <= CUE_POINT)
        return GetText().second;
    switch (m_Type) {
    case SEQUENCE_NUMBER:
        if (!HasBytes(2))
            return shortData;
        return QString::number((uint32_t(ByteAt(0)) << 8) | ByteAt(1));
    case CHANNEL_PREFIX:
        if (!HasBytes(1))
            return shortData;
        return QString::number(ByteAt(0));
    case SET_TEMPO:
        if (!HasBytes(3))
            return shortData;
        return QString::number(GetValue());
    case TIME_SIGNATURE:
        if (!HasBytes(4))
            return shortData;
        return QString::number(ByteAt(0)) + QLatin1Char(':') + QString::number(PowerOfTwo(ByteAt(1)))
               + QStringLiteral("  ") + QString::number(ByteAt(2)) + QLatin1Char(' ') + QString::number(ByteAt(3));
    default:
        return QString();
    }
}

void MidiMetaEvent::Dump(QString& text) const
{
    text += QStringLiteral("Meta ") + MidiDumpText::Hex2(m_Type) + QLatin1Char(' ') + GetTypeName().second
            + QStringLiteral("  ") + ValueText() + QLatin1Char('\n');
}

void MidiMetaEvent::FillData(MidiEventData& data) const
{
    data.m_Kind = MidiEventData::KIND_META;
    data.m_MetaType = m_Type;
    data.m_Length = GetLength();
    data.m_Data = m_Data;
}
