#include "Text/ShownName.h"
#include <algorithm>

namespace {
bool BreaksLines(QChar character)
{
    const QChar::Category category = character.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line
           || category == QChar::Separator_Paragraph;
}
} // namespace

QString ShowName(const QString& name)
{
    if (std::none_of(name.cbegin(), name.cend(), BreaksLines))
        return name;
    QString shown;
    shown.reserve(name.size() + 16);
    for (const QChar character : name) {
        if (!BreaksLines(character)) {
            shown += character;
            continue;
        }
        for (const char byte : QString(character).toUtf8())
            shown += QStringLiteral("\\x%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0'));
    }
    return shown;
}
