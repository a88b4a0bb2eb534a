#include "Melody/IMYNote.h"

#include "Util/Assert.h"

namespace {
const char* const kIMelodyNoteNames[13] = {"c", "#c", "d", "#d", "e", "f", "#f", "g", "#g", "a", "#a", "b", "r"};
const char* const kIMelodyModifiers[MidiNote::ModifierCount] = {"", ".", ":", ";"};
} // namespace

QString IMYEvent::GetText()
{
    BuildText();
    return m_Text;
}

IMYBeginPattern::IMYBeginPattern(const MelodyBeginPattern* begin)
{
    ASSERT(begin);
    if (begin)
        m_nRepeatCount = begin->GetRepeatCount();
}

void IMYBeginPattern::BuildText()
{
    m_Text = QStringLiteral("(");
}

IMYEndPattern::IMYEndPattern(const MelodyEndPattern* end)
{
    ASSERT(end);
    if (end)
        m_nRepeatCount = end->GetRepeatCount();
}

void IMYEndPattern::BuildText()
{
    m_Text = QLatin1Char('@') + QString::number(m_nRepeatCount) + QLatin1Char(')');
}

IMYNote::IMYNote(const MidiNote* note, const MidiNote* PreviousUnsilentNote, int style, const VolumeInfo* pVolumeInfo)
    : m_nStyle(style)
{
    ASSERT(note);
    ASSERT(PreviousUnsilentNote == 0 || PreviousUnsilentNote->GetValue() != MidiNote::Silence);
    if (note)
        m_Note = *note;
    if (pVolumeInfo)
        m_nVolumeLevel = pVolumeInfo->nTopLevel;
    m_bOctavePrefix = !m_Note.IsSilence() && m_Note.GetOctave() != 4;
    if (PreviousUnsilentNote && !m_Note.IsSilence()) {
        ASSERT(pVolumeInfo);
        if (pVolumeInfo) {
            m_nVolumeLevel = m_Note.GetVolumeLevel(*pVolumeInfo);
            m_nVolumeStep = m_nVolumeLevel - PreviousUnsilentNote->GetVolumeLevel(*pVolumeInfo);
        }
    }
}

void IMYNote::BuildText()
{
    // Every field is kept inside its table so that the text always reads back.
    const int value =
        (m_Note.GetValue() >= 0 && m_Note.GetValue() <= MidiNote::Silence) ? m_Note.GetValue() : MidiNote::Silence;
    const int duration = qBound(0, m_Note.GetDuration(), MidiNote::DurationCount - 1);
    const int modifier = qBound(0, m_Note.GetDurationModifier(), MidiNote::ModifierCount - 1);

    QString text;
    if (m_bOctavePrefix && value != MidiNote::Silence)
        text += QLatin1Char('*') + QString::number(m_Note.GetOctave());
    text += QLatin1String(kIMelodyNoteNames[value]);
    text += QLatin1Char(static_cast<char>('0' + duration));
    text += QLatin1String(kIMelodyModifiers[modifier]);
    if (value != MidiNote::Silence && m_nVolumeStep != 0)
        text += QString(qAbs(m_nVolumeStep), QLatin1Char(m_nVolumeStep > 0 ? '+' : '-'));
    m_Text = text;
}
