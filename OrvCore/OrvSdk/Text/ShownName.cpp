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

// A name (characters or bytes) as shown: whole when short, else its start and end with its length.
template <class Name>
QString Shown(const Name& name)
{
    if (name.size() <= kShownNameLength)
        return Escaped(name);
    const QString cut = QStringLiteral("...");
    const QString length = QStringLiteral(" (%1 characters)").arg(name.size());
    const int slash = int(LastSlash(name));
    const Name file = name.mid(slash + 1);
    if (file.size() <= kShownFileNameLength) {
        // The folders' start, then the file's name whole: the folders are longer than what is left for them.
        return Escaped(Start(name.left(slash + 1), kShownNameLength - int(file.size()))) + cut + Escaped(file) + length;
    }
    // The file's name alone is too long: the folders' start as far as it leaves the name its share, then the
    // name's start and end.
    const Name folders = Start(name.left(slash + 1), kShownNameLength - kShownFileNameLength);
    const QString foldersCut = folders.size() < slash + 1 ? cut : QString();
    const int half = kShownFileNameLength / 2;
    return Escaped(folders) + foldersCut + Escaped(Start(file, half)) + cut + Escaped(End(file, half)) + length;
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
