#include "Xml/PlainXmlReader.h"

#include <QSet>
#include <QByteArrayView>

#include <cstdint>
#include <cstring>
#include <vector>

namespace PlainXml {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool OnlySpace(const char* from, const char* to)
{
    for (; from < to; ++from)
        if (!IsSpace(*from))
            return false;
    return true;
}

bool IsNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// Plain names only: a colon (namespaces) or a letter beyond ASCII is left to
// the toolkit.
bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

// The characters XML 1.0 admits.
bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendCodePoint(QString& out, char32_t c)
{
    if (c < 0x10000) {
        out.append(QChar(char16_t(c)));
    } else {
        out.append(QChar::highSurrogate(c));
        out.append(QChar::lowSurrogate(c));
    }
}

// What the DOM keeps of character data: nothing when every character is a
// space in the toolkit's sense (wider than XML's white space).
bool AllSpace(const QString& text)
{
    for (const QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

// Names repeat throughout a file: each becomes a string once. An open-addressed
// table on the bytes of the document, which outlive it.
class NameTable
{
public:
    // Valid until the next call.
    const QString& Get(QByteArrayView name)
    {
        if (2 * (m_Used + 1) > m_Slots.size())
            Grow();
        Slot& slot = Find(m_Slots, name);
        if (slot.string.isNull()) {
            slot = Slot{name, QString::fromLatin1(name)};
            ++m_Used;
        }
        return slot.string;
    }

private:
    struct Slot
    {
        QByteArrayView name;
        QString string; // null while the slot is free
    };

    static Slot& Find(std::vector<Slot>& table, QByteArrayView name)
    {
        uint32_t hash = 2166136261u; // FNV-1a
        for (const char c : name)
            hash = (hash ^ uint8_t(c)) * 16777619u;
        const size_t mask = table.size() - 1;
        size_t at = hash & mask;
        while (!table[at].string.isNull() && table[at].name != name)
            at = (at + 1) & mask;
        return table[at];
    }

    void Grow()
    {
        std::vector<Slot> larger(m_Slots.empty() ? 64 : 2 * m_Slots.size());
        for (Slot& slot : m_Slots)
            if (!slot.string.isNull())
                Find(larger, slot.name) = std::move(slot);
        m_Slots.swap(larger);
    }

    std::vector<Slot> m_Slots;
    size_t m_Used = 0;
};

class Parser
{
public:
    Parser(const QByteArray& bytes, Handler& handler, int maxDepth)
        : m_Pos(bytes.constData()), m_End(bytes.constData() + bytes.size()), m_Handler(handler), m_MaxDepth(maxDepth)
    {}

    bool Document()
    {
        if (Starts("<?xml") && m_End - m_Pos > 5 && IsSpace(m_Pos[5]) && !Declaration())
            return false;
        if (!Misc())
            return false;
        if (!Starts("<") || m_Pos + 1 >= m_End || !IsNameStart(m_Pos[1]))
            return false;
        if (!Element())
            return false;
        return Misc() && m_Pos == m_End;
    }

private:
    bool Starts(const char* text) const
    {
        const size_t length = std::strlen(text);
        return size_t(m_End - m_Pos) >= length && std::memcmp(m_Pos, text, length) == 0;
    }

    bool Take(const char* text)
    {
        if (!Starts(text))
            return false;
        m_Pos += std::strlen(text);
        return true;
    }

    bool SkipSpace()
    {
        const char* start = m_Pos;
        while (m_Pos < m_End && IsSpace(*m_Pos))
            ++m_Pos;
        return m_Pos != start;
    }

    bool Name(QByteArrayView& name)
    {
        const char* start = m_Pos;
        if (m_Pos >= m_End || !IsNameStart(*m_Pos))
            return false;
        while (m_Pos < m_End && IsNameChar(*m_Pos))
            ++m_Pos;
        // A colon or a letter beyond ASCII right after the plain part belongs to the name.
        if (m_Pos < m_End && (*m_Pos == ':' || (unsigned char)(*m_Pos) >= 0x80))
            return false;
        name = QByteArrayView(start, m_Pos - start);
        return true;
    }

    const QString& NameString(QByteArrayView name) { return m_Names.Get(name); }

    bool Eq()
    {
        SkipSpace();
        if (!Take("="))
            return false;
        SkipSpace();
        return true;
    }

    // A quoted value of the declaration: plain ASCII, no references.
    bool DeclarationValue(QByteArrayView& value)
    {
        if (m_Pos >= m_End || (*m_Pos != '"' && *m_Pos != '\''))
            return false;
        const char quote = *m_Pos++;
        const char* start = m_Pos;
        while (m_Pos < m_End && *m_Pos != quote) {
            if (!IsNameChar(*m_Pos))
                return false;
            ++m_Pos;
        }
        if (m_Pos >= m_End)
            return false;
        value = QByteArrayView(start, m_Pos - start);
        ++m_Pos;
        return true;
    }

    bool Declaration()
    {
        m_Pos += 5;
        QByteArrayView name;
        QByteArrayView value;
        SkipSpace();
        if (!Name(name) || name != "version" || !Eq() || !DeclarationValue(value) || value != "1.0")
            return false;
        QString data = QStringLiteral("version='1.0'");
        bool spaced = SkipSpace();
        if (spaced && Starts("encoding")) {
            if (!Name(name) || name != "encoding" || !Eq() || !DeclarationValue(value))
                return false;
            // Another encoding needs the toolkit's decoders.
            if (value.compare(QByteArrayView("UTF-8"), Qt::CaseInsensitive) != 0)
                return false;
            data += QStringLiteral(" encoding='") + QString::fromLatin1(value) + QLatin1Char('\'');
            spaced = SkipSpace();
        }
        if (spaced && Starts("standalone")) {
            if (!Name(name) || name != "standalone" || !Eq() || !DeclarationValue(value))
                return false;
            if (value == "yes")
                data += QStringLiteral(" standalone='yes'");
            else if (value != "no")
                return false;
            SkipSpace();
        }
        if (!Take("?>"))
            return false;
        m_Handler.Declaration(data);
        return true;
    }

    // White space and comments around the root element.
    bool Misc()
    {
        for (;;) {
            SkipSpace();
            if (!Starts("<!--"))
                return true;
            if (!Comment())
                return false;
        }
    }

    bool Comment()
    {
        m_Pos += 4;
        const char* start = m_Pos;
        const char* stop = m_Pos;
        while (stop + 1 < m_End && !(stop[0] == '-' && stop[1] == '-'))
            ++stop;
        if (stop + 2 >= m_End || stop[2] != '>')
            return false;
        QString text;
        if (!AppendData(text, start, stop, false))
            return false;
        m_Pos = stop + 3;
        m_Handler.Comment(text);
        return true;
    }

    // Appends raw bytes of text or of an attribute value: checked to be XML
    // characters in UTF-8, line ends made LF (and, in a value, white space a
    // space, as the toolkit normalises attribute values).
    static bool AppendData(QString& out, const char* from, const char* to, bool value)
    {
        const char* p = from;
        while (p < to && (unsigned char)(*p) >= 0x20 && (unsigned char)(*p) < 0x80)
            ++p;
        if (p == to) {
            out.append(QLatin1String(from, to - from));
            return true;
        }
        out.append(QLatin1String(from, p - from));
        while (p < to) {
            const unsigned char c = (unsigned char)(*p);
            if (c >= 0x20 && c < 0x80) {
                out.append(QLatin1Char(char(c)));
                ++p;
            } else if (c == '\t' || c == '\n') {
                out.append(value ? QLatin1Char(' ') : QLatin1Char(char(c)));
                ++p;
            } else if (c == '\r') {
                out.append(value ? QLatin1Char(' ') : QLatin1Char('\n'));
                ++p;
                if (p < to && *p == '\n')
                    ++p;
            } else if (c >= 0x80) {
                char32_t code = 0;
                if (!DecodeUtf8(p, to, code))
                    return false;
                AppendCodePoint(out, code);
            } else {
                return false;
            }
        }
        return true;
    }

    // One strictly formed UTF-8 sequence (no overlong forms, no surrogates)
    // of an XML character.
    static bool DecodeUtf8(const char*& p, const char* end, char32_t& code)
    {
        const unsigned char lead = (unsigned char)(*p);
        int length = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            const unsigned char next = (unsigned char)(p[i]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || !IsXmlChar(code))
            return false;
        p += length;
        return true;
    }

    // A reference after its '&': one of the five predefined entities or a
    // character reference to an XML character.
    bool Reference(QString& out)
    {
        ++m_Pos;
        static const struct
        {
            const char* name;
            char16_t character;
        } kEntities[] = {{"lt;", u'<'}, {"gt;", u'>'}, {"amp;", u'&'}, {"apos;", u'\''}, {"quot;", u'"'}};
        for (const auto& entity : kEntities) {
            if (Take(entity.name)) {
                out.append(QChar(entity.character));
                return true;
            }
        }
        if (!Take("#"))
            return false;
        const bool hex = Take("x");
        char32_t code = 0;
        int digits = 0;
        while (m_Pos < m_End && *m_Pos != ';') {
            const char c = *m_Pos++;
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return false;
            code = code * (hex ? 16 : 10) + char32_t(digit);
            if (code > 0x10FFFF)
                return false;
            ++digits;
        }
        if (digits == 0 || !Take(";") || !IsXmlChar(code))
            return false;
        AppendCodePoint(out, code);
        return true;
    }

    bool AttributeValue(QString& out)
    {
        if (m_Pos >= m_End || (*m_Pos != '"' && *m_Pos != '\''))
            return false;
        const char quote = *m_Pos++;
        // Most values are plain ASCII to the closing quote: one string, made at once.
        const char* start = m_Pos;
        while (m_Pos < m_End && *m_Pos != quote && (unsigned char)(*m_Pos) >= 0x20 && (unsigned char)(*m_Pos) < 0x80
               && *m_Pos != '&' && *m_Pos != '<')
            ++m_Pos;
        if (m_Pos < m_End && *m_Pos == quote) {
            out = QString::fromLatin1(start, m_Pos - start);
            ++m_Pos;
            return true;
        }
        m_Pos = start;
        out = QLatin1String("");
        for (;;) {
            start = m_Pos;
            while (m_Pos < m_End && *m_Pos != quote && *m_Pos != '&' && *m_Pos != '<')
                ++m_Pos;
            if (m_Pos >= m_End || *m_Pos == '<' || !AppendData(out, start, m_Pos, true))
                return false;
            if (*m_Pos == quote) {
                ++m_Pos;
                return true;
            }
            if (!Reference(out))
                return false;
        }
    }

    // A start tag, its content and its end tag, from the '<'.
    bool Element()
    {
        if (++m_Depth > m_MaxDepth)
            return false;
        ++m_Pos;
        QByteArrayView name;
        if (!Name(name))
            return false;
        // One list serves every element: the handler has done with it before
        // the content is read.
        Attributes& attributes = m_Attributes;
        attributes.clear();
        m_AttributeNames.clear();
        for (;;) {
            const bool spaced = SkipSpace();
            if (Take("/>")) {
                m_Handler.StartElement(NameString(name), attributes);
                m_Handler.EndElement();
                --m_Depth;
                return true;
            }
            if (Take(">"))
                break;
            QByteArrayView attributeName;
            if (!spaced || !Name(attributeName) || !Eq())
                return false;
            const QString& attributeString = NameString(attributeName);
            // A set, not a comparison with every earlier name: time linear in the number of attributes.
            if (m_AttributeNames.contains(attributeString))
                return false;
            m_AttributeNames.insert(attributeString);
            attributes.append(Attribute{attributeString, QString()});
            if (!AttributeValue(attributes.last().value))
                return false;
        }
        m_Handler.StartElement(NameString(name), attributes);
        if (!Content())
            return false;
        // Content stops at "</".
        m_Pos += 2;
        QByteArrayView endName;
        if (!Name(endName) || endName != name)
            return false;
        SkipSpace();
        if (!Take(">"))
            return false;
        m_Handler.EndElement();
        --m_Depth;
        return true;
    }

    // Everything between a start tag and its end tag; stops at the "</".
    bool Content()
    {
        QString text;
        for (;;) {
            const char* start = m_Pos;
            while (m_Pos < m_End && *m_Pos != '<' && *m_Pos != '&')
                ++m_Pos;
            if (m_Pos >= m_End)
                return false;
            if (m_Pos != start && text.isEmpty() && *m_Pos == '<' && OnlySpace(start, m_Pos)) {
                // The indentation before markup: white space alone, which the DOM drops.
            } else if (m_Pos != start) {
                // "]]>" may not stand in character data.
                if (QByteArrayView(start, m_Pos - start).contains("]]>") || !AppendData(text, start, m_Pos, false))
                    return false;
            }
            if (*m_Pos == '&') {
                if (!Reference(text))
                    return false;
                continue;
            }
            // Markup ends the text before it.
            if (!text.isEmpty()) {
                if (!AllSpace(text))
                    m_Handler.Text(text);
                text.clear();
            }
            if (Starts("</"))
                return true;
            if (Starts("<!--")) {
                if (!Comment())
                    return false;
            } else if (m_Pos + 1 < m_End && IsNameStart(m_Pos[1])) {
                if (!Element())
                    return false;
            } else {
                // Character data sections, processing instructions, and what is no markup at all.
                return false;
            }
        }
    }

    const char* m_Pos;
    const char* m_End;
    Handler& m_Handler;
    const int m_MaxDepth;
    int m_Depth = 0;
    NameTable m_Names;
    Attributes m_Attributes;
    QSet<QString> m_AttributeNames;
};

} // namespace

bool Read(const QByteArray& bytes, Handler& handler, int maxDepth)
{
    return Parser(bytes, handler, maxDepth).Document();
}

} // namespace PlainXml
