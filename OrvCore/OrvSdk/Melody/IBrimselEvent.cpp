#include "Melody/IBrimselEvent.h"

#include "Util/Assert.h"

namespace {
const char* const kPitchNames[13] = {"C", "Cd", "D", "Eb", "E", "F", "Fd", "G", "Gd", "A", "Bb", "B", "Silence"};
const char* const kDurationNames[MidiNote::DurationCount] = {"ronde",  "blanche",       "noire",
                                                             "croche", "double croche", "triple croche"};
const char* const kModifierNames[MidiNote::ModifierCount] = {"", "pointee", "double pointee", "2/3"};

QString PitchName(int value)
{
    return QLatin1String(kPitchNames[(value >= 0 && value <= MidiNote::Silence) ? value : MidiNote::Silence]);
}

QString DurationName(int duration)
{
    return (duration >= 0 && duration < MidiNote::DurationCount) ? QLatin1String(kDurationNames[duration])
                                                                 : QStringLiteral("?");
}

QString ModifierName(int modifier)
{
    return (modifier >= 0 && modifier < MidiNote::ModifierCount) ? QLatin1String(kModifierNames[modifier])
                                                                 : QStringLiteral("?");
}

QString Hex(unsigned value)
{
    return QString::number(value, 16).toUpper();
}

// Duration (three bits) and modifier (two bits) of every code but the loops.
unsigned DurationBits(const MidiNote& note)
{
    return (static_cast<unsigned>(note.GetDurationModifier()) & 3u) * 8u
           + (static_cast<unsigned>(note.GetDuration()) & 7u);
}
} // namespace

uint16_t IBrimselEvent::GetCode(unsigned& size)
{
    Encode();
    size = CodeSize();
    return m_usCode;
}

int IBrimselEvent::GeneratePreview(CDocumentWave*, int)
{
    return 0;
}

IBrimselNote::IBrimselNote(const MidiNote* note, int style, int volume, int deltaVolume)
    : m_nStyle(style), m_nDeltaVolume(deltaVolume), m_nVolume(volume)
{
    ASSERT(note);
    if (note)
        m_Note = *note;
}

void IBrimselNote::Encode()
{
    ASSERT(m_nDeltaVolume >= -1 && m_nDeltaVolume < 2);
    const unsigned deltaCode = m_nDeltaVolume == 1 ? 1u : (m_nDeltaVolume == -1 ? 2u : 0u);
    const unsigned octave = static_cast<unsigned>(m_Note.GetOctave()) & 15u;
    const unsigned pitch = static_cast<unsigned>(m_Note.GetValue()) & 15u;
    m_usCode = static_cast<uint16_t>((((octave * 16u + pitch) * 32u + DurationBits(m_Note)) * 4u + deltaCode) * 2u);
}

QString IBrimselNote::DurationText() const
{
    QString text = QLatin1Char(' ') + DurationName(m_Note.GetDuration());
    const QString modifier = ModifierName(m_Note.GetDurationModifier());
    if (!modifier.isEmpty())
        text += QLatin1Char(' ') + modifier;
    return text;
}

QString IBrimselNote::Dump()
{
    Encode();
    QString text = QStringLiteral("Note %1 %2 : ").arg(Hex(m_usCode >> 8), Hex(m_usCode & 0xFFu));
    text += PitchName(m_Note.GetValue());
    if (!m_Note.IsSilence())
        text += QString::number(m_Note.GetOctave());
    text += DurationText();
    if (!m_Note.IsSilence())
        text += QStringLiteral(" delta volume %1").arg(m_nDeltaVolume);
    return text;
}

ShortSilence::ShortSilence(const MidiNote* note, int style, int volume, int deltaVolume)
    : IBrimselNote(note, style, volume, deltaVolume)
{}

void ShortSilence::Encode()
{
    m_usCode = static_cast<uint16_t>(DurationBits(m_Note) * 8u + 5u);
}

QString ShortSilence::Dump()
{
    Encode();
    return QStringLiteral("ShortSilence %1 => ").arg(Hex(m_usCode));
}

UserSilence::UserSilence(const MidiNote* note, int style, int volume, int deltaVolume)
    : IBrimselNote(note, style, volume, deltaVolume)
{}

void UserSilence::Encode()
{
    m_usCode = static_cast<uint16_t>(DurationBits(m_Note) * 8u + 3u);
}

QString UserSilence::Dump()
{
    Encode();
    return QStringLiteral("UserSilence %1 => ").arg(Hex(m_usCode)) + DurationText();
}

QBRBeginPattern::QBRBeginPattern(const MelodyBeginPattern* begin)
{
    ASSERT(begin);
    if (begin)
        m_nRepeatCount = begin->GetRepeatCount();
}

void QBRBeginPattern::Encode()
{
    const int NbRepeatMSB = m_nRepeatCount / 8;
    ASSERT(NbRepeatMSB <= 7);
    m_usCode = static_cast<uint16_t>((static_cast<unsigned>(NbRepeatMSB) & 7u) * 32u + 9u);
}

QString QBRBeginPattern::Dump()
{
    Encode();
    return QStringLiteral("QBRBeginPattern %1 =>  NbRepeatMSB : %2 => Repeat : %3")
        .arg(Hex(m_usCode), Hex(static_cast<unsigned>(m_usCode) >> 5))
        .arg(m_nRepeatCount);
}

QBREndPattern::QBREndPattern(const MelodyEndPattern* end)
{
    ASSERT(end);
    if (end)
        m_nRepeatCount = end->GetRepeatCount();
}

void QBREndPattern::Encode()
{
    const int NbRepeatLSB = m_nRepeatCount & 7;
    ASSERT(NbRepeatLSB <= 7);
    m_usCode = static_cast<uint16_t>(static_cast<unsigned>(NbRepeatLSB) * 32u + 25u);
}

QString QBREndPattern::Dump()
{
    Encode();
    return QStringLiteral("QBREndPattern %1 =>  NbRepeatLSB : %2 => Repeat : %3")
        .arg(Hex(m_usCode), Hex(static_cast<unsigned>(m_usCode) >> 5))
        .arg(m_nRepeatCount);
}
