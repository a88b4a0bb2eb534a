#include "Melody/CDocumentMelody.h"

#include "Util/Assert.h"

CDocumentMelody::CDocumentMelody() = default;

CDocumentMelody::~CDocumentMelody()
{
    m_MelodyNoteList.clear();
}

bool CDocumentMelody::HasNotes() const
{
    for (const MelodyElement* element : m_MelodyNoteList)
        if (element->GetElementType() == MelodyElement::Note && !static_cast<const MidiNote*>(element)->IsSilence())
            return true;
    return false;
}

bool CDocumentMelody::CheckPatterns() const
{
    int open = 0;
    for (const MelodyElement* element : m_MelodyNoteList) {
        if (element->GetElementType() == MelodyElement::BeginPattern)
            ++open;
        else if (element->GetElementType() == MelodyElement::EndPattern && --open < 0)
            return false;
    }
    return open == 0;
}

QString CDocumentMelody::GetMelodyName()
{
    if (m_MelodyName.isEmpty()) {
        // Either separator: document names may come from either platform.
        const QString& path = GetName();
        const int slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
        const QString fileName = path.mid(slash + 1);
        const int dot = fileName.indexOf(QLatin1Char('.'));
        m_MelodyName = dot >= 0 ? fileName.left(dot) : fileName;
    }
    return m_MelodyName;
}

QString CDocumentMelody::StyleName(int style)
{
    switch (style) {
    case Natural:
        return QStringLiteral("Natural");
    case Continuous:
        return QStringLiteral("Continuous");
    case Staccato:
        return QStringLiteral("Staccato");
    default:
        return QString();
    }
}

int CDocumentMelody::StyleFromName(const QString& style)
{
    for (int s = Natural; s <= Staccato; ++s)
        if (style == StyleName(s))
            return s;
    return -1;
}

bool CDocumentMelody::SetStyle(const QString& style)
{
    const int s = StyleFromName(style);
    if (s < 0)
        return false;
    m_nStyle = s;
    return true;
}

void CDocumentMelody::GetStyle(QString& style) const
{
    const QString name = StyleName(m_nStyle);
    if (name.isNull()) {
        ASSERT((0));
        return;
    }
    style = name;
}
