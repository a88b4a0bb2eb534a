#include "Text/EcardText.h"

namespace {
const char UCS2_CHARSET_NAME[] = "ISO-10146-UCS-2";

QString DecodeUtf16(const QByteArray& bytes, int offset, bool littleEndian)
{
    const qsizetype count = bytes.size() - offset;
    if (count < 0 || count % 2 != 0)
        return QString();
    QString text;
    text.reserve(count / 2);
    for (qsizetype i = offset; i + 1 < bytes.size(); i += 2) {
        const ushort first = uchar(bytes.at(i));
        const ushort second = uchar(bytes.at(i + 1));
        text.append(QChar(littleEndian ? ushort(first | (second << 8)) : ushort((first << 8) | second)));
    }
    return text;
}

bool PrologNamesUcs2(const QString& text)
{
    const int end = text.indexOf(QStringLiteral("?>"));
    const QString prolog = end < 0 ? text : text.left(end);
    return prolog.contains(QLatin1String(UCS2_CHARSET_NAME));
}
} // namespace

QString DecodeEcardBytes(const QByteArray& bytes)
{
    const auto startsWith = [&bytes](uchar first, uchar second) {
        return bytes.size() >= 2 && uchar(bytes.at(0)) == first && uchar(bytes.at(1)) == second;
    };
    if (startsWith(0xFF, 0xFE))
        return DecodeUtf16(bytes, 2, true);
    if (startsWith(0xFE, 0xFF))
        return DecodeUtf16(bytes, 2, false);
    if (startsWith(0x3C, 0x00) || startsWith(0x00, 0x3C)) {
        const QString text = DecodeUtf16(bytes, 0, startsWith(0x3C, 0x00));
        if (!text.isNull() && PrologNamesUcs2(text))
            return text;
    }
    return QString::fromLatin1(bytes);
}
