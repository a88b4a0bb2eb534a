#include "Text/ShownName.h"
#include <algorithm>

namespace {
bool IsBidirectionalControl(char16_t code)
{
    return code == 0x061C || code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E)
           || (code >= 0x2066 && code <= 0x2069);
}

bool IsEscaped(QChar character)
{
    const QChar::Category category = character.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line
           || category == QChar::Separator_Paragraph || IsBidirectionalControl(character.unicode());
}

QString Escaped(const QString& name)
{
    if (std::none_of(name.cbegin(), name.cend(), IsEscaped))
        return name;
    QString shown;
    shown.reserve(name.size() + 16);
    for (const QChar character : name) {
        if (!IsEscaped(character)) {
            shown += character;
            continue;
        }
        for (const char byte : QString(character).toUtf8())
            shown += QStringLiteral("\\x%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0'));
    }
    return shown;
}
} // namespace

QString ShowName(const QString& name)
{
    if (name.size() <= kShownNameLength)
        return Escaped(name);
    // Never half a character.
    int start = kShownNameLength;
    if (name.at(start - 1).isHighSurrogate())
        --start;
    return Escaped(name.left(start)) + QStringLiteral("... (%1 characters)").arg(name.size());
}
