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
    return character == QLatin1Char('\\') || category == QChar::Other_Control || category == QChar::Separator_Line
           || category == QChar::Separator_Paragraph || IsBidirectionalControl(character.unicode());
}

QString ByteEscape(uchar byte)
{
    return QStringLiteral("\\x%1").arg(uint(byte), 2, 16, QLatin1Char('0'));
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
            shown += ByteEscape(uchar(byte));
    }
    return shown;
}

// Bytes that are no text: printable ASCII stays, every other byte and the backslash are escaped.
QString Escaped(const QByteArray& name)
{
    QString shown;
    for (const char byte : name) {
        const uchar value = uchar(byte);
        if (value >= 0x20 && value < 0x7F && value != '\\')
            shown += QLatin1Char(byte);
        else
            shown += ByteEscape(value);
    }
    return shown;
}

// The first count characters, never half a character.
QString Start(const QString& text, int count)
{
    if (count > 0 && count < text.size() && text.at(count - 1).isHighSurrogate())
        --count;
    return text.left(count);
}

// The last count characters, never half a character.
QString End(const QString& text, int count)
{
    if (count > 0 && count < text.size() && text.at(text.size() - count).isLowSurrogate())
        --count;
    return text.right(count);
}

// Bytes are each escaped on their own: any cut is whole.
QByteArray Start(const QByteArray& bytes, int count)
{
    return bytes.left(count);
}

QByteArray End(const QByteArray& bytes, int count)
{
    return bytes.right(count);
}

qsizetype LastSlash(const QString& name)
{
    return name.lastIndexOf(QLatin1Char('/'));
}

qsizetype LastSlash(const QByteArray& name)
{
    return name.lastIndexOf('/');
}

// The start of a name longer than length characters, "..." and its end: the file's own name (what follows the
// last "/") whole while it takes at most fileLength characters, else the folders' start as far as they leave the
// name that share, then the name's start and end. Each piece kept goes through show.
template <class Name, class Show>
QString Shortened(const Name& name, int length, int fileLength, Show show)
{
    const QString cut = QStringLiteral("...");
    const int slash = int(LastSlash(name));
    const Name file = name.mid(slash + 1);
    if (file.size() <= fileLength)
        return show(Start(name.left(slash + 1), length - int(file.size()))) + cut + show(file);
    const Name folders = Start(name.left(slash + 1), length - fileLength);
    const QString foldersCut = folders.size() < slash + 1 ? cut : QString();
    const int half = fileLength / 2;
    return show(folders) + foldersCut + show(Start(file, half)) + cut + show(End(file, half));
}

// A name (characters or bytes) as shown: whole when short, else its start and end with its length.
template <class Name>
QString Shown(const Name& name)
{
    if (name.size() <= kShownNameLength)
        return Escaped(name);
    const auto escaped = [](const Name& piece) { return Escaped(piece); };
    return Shortened(name, kShownNameLength, kShownFileNameLength, escaped)
           + QStringLiteral(" (%1 characters)").arg(name.size());
}
} // namespace

QString ShowName(const QString& name)
{
    return Shown(name);
}

QString ShowNameBytes(const QByteArray& name)
{
    return Shown(name);
}

QString ShortenName(const QString& name, int length)
{
    if (name.size() <= length)
        return name;
    const int fileLength = length * kShownFileNameLength / kShownNameLength;
    // A name shortened before is cut again where it was cut, so that it holds one "...": what follows that cut is
    // the end of the file's name.
    const QString cut = QStringLiteral("...");
    const qsizetype before = name.lastIndexOf(cut);
    const QString end = before < 0 ? QString() : name.mid(before + cut.size());
    if (before >= 0 && !end.contains(QLatin1Char('/')) && end.size() <= fileLength)
        return Start(name.left(before), length - int(end.size())) + cut + end;
    const auto asItStands = [](const QString& piece) { return piece; };
    return Shortened(name, length, fileLength, asItStands);
}
