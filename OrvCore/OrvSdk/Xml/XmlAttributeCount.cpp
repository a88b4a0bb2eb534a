#include "Xml/XmlAttributeCount.h"

#include <QHash>

#include <vector>

namespace XmlAttributeCount {
namespace {

// What declarations of a document type do: how many attributes they declare, and how many defaults they give the
// elements of each name. Counting stops just past MaxDeclared, where the document is refused anyway, so merging
// two never costs more than MaxDeclared steps.
struct CDeclared
{
    int count = 0;
    QHash<QString, int> defaults;

    bool TooMany() const { return count > MaxDeclared; }
    void Declare(const QString& element, bool withDefault)
    {
        ++count;
        if (withDefault && !TooMany())
            ++defaults[element];
    }
    void Add(const CDeclared& other)
    {
        if (TooMany())
            return;
        count += qMin(other.count, MaxDeclared + 1);
        if (TooMany())
            return;
        for (auto it = other.defaults.cbegin(); it != other.defaults.cend(); ++it)
            defaults[it.key()] += it.value();
    }
};

// Parameter entities by name: what a reference to each declares.
using Parameters = QHash<QString, CDeclared>;

QString ToString(const char* begin, const char* end)
{
    return QString::fromUtf8(begin, end - begin);
}
QString ToString(const ushort* begin, const ushort* end)
{
    return QString(reinterpret_cast<const QChar*>(begin), end - begin);
}

void AppendCodePoint(std::vector<char>& out, char32_t code)
{
    const QByteArray bytes = QString::fromUcs4(&code, 1).toUtf8();
    out.insert(out.end(), bytes.cbegin(), bytes.cend());
}
void AppendCodePoint(std::vector<ushort>& out, char32_t code)
{
    const QString text = QString::fromUcs4(&code, 1);
    out.insert(out.end(), text.utf16(), text.utf16() + text.size());
}

// A cursor over characters, with what both scans below need.
template <typename Char>
class CCursor
{
public:
    CCursor(const Char* begin, const Char* end) : m_At(begin), m_End(end) {}

protected:
    static bool IsSpace(Char c) { return c == Char(' ') || c == Char('\t') || c == Char('\n') || c == Char('\r'); }
    // Loose on purpose: whatever stands between the delimiters of markup is taken as a name.
    static bool EndsName(Char c)
    {
        static const char kDelimiters[] = "<>\"'()|%;[]/=";
        for (const char* d = kDelimiters; *d; ++d)
            if (c == Char(*d))
                return true;
        return IsSpace(c);
    }

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
    void SkipSpace()
    {
        while (m_At < m_End && IsSpace(*m_At))
            ++m_At;
    }
    bool At(char c) const { return m_At < m_End && *m_At == Char(c); }
    // The name at the cursor (empty when none), passed over.
    std::pair<const Char*, const Char*> Name()
    {
        const Char* start = m_At;
        while (m_At < m_End && !EndsName(*m_At))
            ++m_At;
        return {start, m_At};
    }
    // A quoted literal at the cursor, passed over: its characters, or nothing when none stands there.
    bool Quoted(const Char** begin = nullptr, const Char** end = nullptr)
    {
        if (!At('"') && !At('\''))
            return false;
        const Char quote = *m_At++;
        const Char* start = m_At;
        while (m_At < m_End && *m_At != quote)
            ++m_At;
        if (begin && end) {
            *begin = start;
            *end = m_At;
        }
        if (m_At < m_End)
            ++m_At;
        return true;
    }
    // Passes the rest of a declaration, up to its ">" outside quoted literals.
    void SkipDeclaration()
    {
        while (m_At < m_End && !Take(">")) {
            if (!Quoted())
                ++m_At;
        }
    }

    const Char* m_At;
    const Char* const m_End;
};

// The declarations of an internal subset, or of a parameter entity's text: counts the attributes they declare
// into `declared`, and records parameter entities, whose references count what their text declares.
template <typename Char>
class CDeclarationScan : public CCursor<Char>
{
    using Base = CCursor<Char>;
    using Base::m_At;
    using Base::m_End;

public:
    CDeclarationScan(const Char* begin, const Char* end, Parameters& parameters, CDeclared& declared, int depth)
        : Base(begin, end), m_Parameters(parameters), m_Declared(declared), m_Depth(depth)
    {}

    // Stops at the "]" that ends an internal subset (when not inside an entity's text), at the end, or as soon
    // as too many attributes are declared. Returns where it stopped.
    const Char* Scan()
    {
        while (m_At < m_End && !m_Declared.TooMany()) {
            if (m_Depth == 0 && this->At(']'))
                break;
            if (this->Take("<!--"))
                this->SkipPast("-->");
            else if (this->Take("<?"))
                this->SkipPast("?>");
            else if (this->Take("<!ATTLIST"))
                AttributeList();
            else if (this->Take("<!ENTITY"))
                Entity();
            else if (this->Take("<!"))
                this->SkipDeclaration();
            else if (this->At('%'))
                Reference();
            else
                ++m_At;
        }
        return m_At;
    }

private:
    // Each definition is a name, a type (a name, an enumeration in brackets, or both) and a default: #REQUIRED,
    // #IMPLIED, or a value, after #FIXED or not. Only a value is added to the elements.
    void AttributeList()
    {
        this->SkipSpace();
        const auto element = this->Name();
        const QString elementName = ToString(element.first, element.second);
        while (!m_Declared.TooMany()) {
            this->SkipSpace();
            if (m_At >= m_End)
                return;
            if (this->Take(">"))
                return;
            if (this->At('%')) {
                Reference();
                continue;
            }
            const auto attribute = this->Name();
            if (attribute.first == attribute.second) {
                ++m_At;
                continue;
            }
            this->SkipSpace();
            if (!this->At('('))
                this->Name();
            this->SkipSpace();
            if (this->At('('))
                this->SkipPast(")");
            this->SkipSpace();
            bool withDefault = false;
            if (!this->Take("#REQUIRED") && !this->Take("#IMPLIED")) {
                this->Take("#FIXED");
                this->SkipSpace();
                withDefault = this->Quoted();
            }
            m_Declared.Declare(elementName, withDefault);
        }
    }

    // A parameter entity's text is counted once, as its references will declare it; general entities add no
    // declarations.
    void Entity()
    {
        this->SkipSpace();
        if (!this->Take("%")) {
            this->SkipDeclaration();
            return;
        }
        this->SkipSpace();
        const auto name = this->Name();
        this->SkipSpace();
        const Char* begin = nullptr;
        const Char* end = nullptr;
        if (this->Quoted(&begin, &end) && m_Depth < kMaxDepth) {
            const std::vector<Char> text = WithCharacterReferences(begin, end);
            CDeclared declared;
            CDeclarationScan(text.data(), text.data() + text.size(), m_Parameters, declared, m_Depth + 1).Scan();
            // Declared twice, either text may be the one a reader uses: both are counted.
            m_Parameters[ToString(name.first, name.second)].Add(declared);
        }
        this->SkipDeclaration();
    }

    void Reference()
    {
        ++m_At;
        const auto name = this->Name();
        this->Take(";");
        const auto found = m_Parameters.constFind(ToString(name.first, name.second));
        if (found != m_Parameters.cend())
            m_Declared.Add(found.value());
    }

    // An entity's text as its references give it: character references stand for their characters, markup
    // included.
    static std::vector<Char> WithCharacterReferences(const Char* at, const Char* end)
    {
        std::vector<Char> text;
        text.reserve(size_t(end - at));
        while (at < end) {
            if (*at != Char('&') || end - at < 3 || at[1] != Char('#')) {
                text.push_back(*at++);
                continue;
            }
            const Char* digit = at + 2;
            const bool hex = *digit == Char('x');
            if (hex)
                ++digit;
            char32_t code = 0;
            for (; digit < end && *digit != Char(';') && code <= 0x10FFFF; ++digit) {
                const int c = int(*digit);
                const int value = c >= '0' && c <= '9'          ? c - '0'
                                  : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                : -1;
                if (value < 0)
                    break;
                code = code * (hex ? 16 : 10) + char32_t(value);
            }
            if (digit < end && *digit == Char(';') && code > 0 && code <= 0x10FFFF) {
                AppendCodePoint(text, code);
                at = digit + 1;
            } else {
                text.push_back(*at++);
            }
        }
        return text;
    }

    // Entity texts nest only through character references, each level several times longer than the one it
    // holds; a reader takes one level.
    static constexpr int kMaxDepth = 4;

    Parameters& m_Parameters;
    CDeclared& m_Declared;
    const int m_Depth;
};

template <typename Char>
class CScan : public CCursor<Char>
{
    using Base = CCursor<Char>;
    using Base::m_At;
    using Base::m_End;

public:
    CScan(const Char* begin, const Char* end) : Base(begin, end) {}

    bool Exceeds()
    {
        while (m_At < m_End) {
            if (*m_At++ != Char('<'))
                continue;
            if (this->Take("!--"))
                this->SkipPast("-->");
            else if (this->Take("![CDATA["))
                this->SkipPast("]]>");
            else if (this->Take("?"))
                this->SkipPast("?>");
            else if (this->Take("!DOCTYPE")) {
                if (DocumentTypeTooCrowded())
                    return true;
            } else if (this->At('!') || this->At('/'))
                EndOfTag();
            else if (StartTagTooCrowded())
                return true;
        }
        return false;
    }

private:
    // The declaration up to its internal subset (past quoted identifiers), then the subset's declarations.
    bool DocumentTypeTooCrowded()
    {
        while (m_At < m_End && !this->At('>') && !this->At('[')) {
            if (!this->Quoted())
                ++m_At;
        }
        if (!this->Take("["))
            return false;
        m_At = CDeclarationScan<Char>(m_At, m_End, m_Parameters, m_Declared, 0).Scan();
        return m_Declared.TooMany();
    }

    bool StartTagTooCrowded()
    {
        const auto name = this->Name();
        const int added =
            m_Declared.defaults.isEmpty() ? 0 : m_Declared.defaults.value(ToString(name.first, name.second));
        m_Added += added;
        return m_Added > MaxDefaultsAdded || EndOfTag() + added > MaxPerElement;
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

    Parameters m_Parameters;
    CDeclared m_Declared;
    qint64 m_Added = 0;
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

} // namespace XmlAttributeCount
