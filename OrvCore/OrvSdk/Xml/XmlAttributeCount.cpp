#include "Xml/XmlAttributeCount.h"

namespace XmlAttributeCount {
namespace {

template <typename Char>
class CScan
{
public:
    CScan(const Char* begin, const Char* end) : m_At(begin), m_End(end) {}

    bool Exceeds()
    {
        while (m_At < m_End) {
            if (*m_At++ != Char('<'))
                continue;
            if (Take("!--"))
                SkipPast("-->");
            else if (Take("![CDATA["))
                SkipPast("]]>");
            else if (Take("?"))
                SkipPast("?>");
            else if (m_At < m_End && (*m_At == Char('!') || *m_At == Char('/')))
                EndOfTag();
            else if (EndOfTag() > MaxPerElement)
                return true;
        }
        return false;
    }

private:
    bool StartsWith(const char* text) const
    {
        const Char* at = m_At;
        for (; *text; ++text, ++at)
            if (at >= m_End || *at != Char(*text))
                return false;
        return true;
    }
    bool Take(const char* text)
    {
        if (!StartsWith(text))
            return false;
        while (*text++)
            ++m_At;
        return true;
    }
    void SkipPast(const char* text)
    {
        while (m_At < m_End && !Take(text))
            ++m_At;
    }
    // Moves past the tag's ">" (outside quoted values) and returns the number of "=" it passed there.
    int EndOfTag()
    {
        int equals = 0;
        Char quote = Char(0);
        for (; m_At < m_End; ++m_At) {
            const Char c = *m_At;
            if (quote != Char(0)) {
                if (c == quote)
                    quote = Char(0);
            } else if (c == Char('"') || c == Char('\'')) {
                quote = c;
            } else if (c == Char('=')) {
                ++equals;
            } else if (c == Char('>')) {
                ++m_At;
                break;
            }
        }
        return equals;
    }

    const Char* m_At;
    const Char* const m_End;
};

} // namespace

bool Exceeds(const QByteArray& bytes)
{
    return CScan<char>(bytes.constData(), bytes.constData() + bytes.size()).Exceeds();
}

bool Exceeds(const QString& text)
{
    return CScan<ushort>(text.utf16(), text.utf16() + text.size()).Exceeds();
}

QString Reason()
{
    return QStringLiteral("has an element with more than %1 attributes").arg(MaxPerElement);
}

} // namespace XmlAttributeCount
