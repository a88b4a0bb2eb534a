#include "Text/ShownName.h"

namespace {
// Format characters are invisible: the bidirectional controls, and the zero-width spaces, joiners, soft hyphen,
// byte order mark and tags that make two names look alike.
bool IsEscaped(char32_t code)
{
    const QChar::Category category = QChar::category(code);
    return code == U'\\' || category == QChar::Other_Control || category == QChar::Other_Format
           || category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

QString ByteEscape(uchar byte)
{
    return QStringLiteral("\\x%1").arg(uint(byte), 2, 16, QLatin1Char('0'));
}

// The character that starts at index (a pair of surrogates is one), and how many units it takes.
char32_t CodeAt(const QString& text, qsizetype index, int& units)
{
    const QChar first = text.at(index);
    units = 1;
    if (first.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(first, text.at(index + 1));
    }
    return first.unicode();
}

QString Escaped(const QString& name)
{
    QString shown;
    bool escaped = false;
    int units = 1;
    for (qsizetype at = 0; at < name.size(); at += units) {
        const char32_t code = CodeAt(name, at, units);
        if (!IsEscaped(code)) {
            if (escaped)
                shown += QStringView(name).mid(at, units);
            continue;
        }
        // Up to here every character stood as it was.
        if (!escaped) {
            shown = name.left(at);
            shown.reserve(name.size() + 16);
            escaped = true;
        }
        for (const char byte : name.mid(at, units).toUtf8())
            shown += ByteEscape(uchar(byte));
    }
    return escaped ? shown : name;
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
