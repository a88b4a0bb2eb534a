#include "Text/FailureReason.h"
#include "Text/CLanguageResources.h"
#include <QStringList>

namespace {
QString Text(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("FailureReason"), QString::fromLatin1(id));
}

// A sentence ends with its own stop; readers' messages end so, some with a line feed after it.
bool IsSentence(const QString& reason)
{
    return reason.endsWith(QLatin1Char('.')) || reason.endsWith(QLatin1Char('!')) || reason.endsWith(QLatin1Char('?'));
}

// The readers describe a file by a predicate that a line naming the file completes: "is empty", "is a folder",
// "has more than 256 attributes...".
bool IsPredicateOfTheFile(const QString& reason)
{
    return reason.startsWith(QLatin1String("is ")) || reason.startsWith(QLatin1String("has "));
}

// The reason's lines without the blank ones, so that the lines of a failure never hold an empty line.
QString WithoutBlankLines(const QString& reason)
{
    QStringList lines = reason.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines.join(QLatin1Char('\n')).trimmed();
}
} // namespace

QString FailureReasonLine(const QString& reason)
{
    const QString said = WithoutBlankLines(reason);
    if (said.isEmpty())
        return QString();
    if (IsSentence(said))
        return Text("id_reason_sentence").arg(said);
    if (IsPredicateOfTheFile(said))
        return Text("id_reason_of_file").arg(said);
    return Text("id_reason").arg(said);
}

QString WithFailureReason(const QString& text, const QString& reason)
{
    const QString line = FailureReasonLine(reason);
    return line.isEmpty() ? text : text + QLatin1Char('\n') + line;
}
