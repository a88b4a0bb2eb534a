#include "Xml/XmlAttributeCount.h"

#include <QHash>
#include <QXmlStreamReader>

#include <vector>

namespace XmlAttributeCount {
namespace {

// Far above any byte limit of a file, far below overflow: sums of lengths stop here.
constexpr qint64 kHuge = qint64(1) << 50;

qint64 Sum(qint64 a, qint64 b)
{
    return qMin(a + b, kHuge);
}

// The attributes declared for one element name, as their first declarations bind them.
struct CElementDeclarations
{
    // By name: the bytes the attribute's default adds to an element that does not write it; -1 without a default.
    QHash<QString, qint64> attributes;
    int defaults = 0;
    qint64 defaultBytes = 0;

    void Declare(const QString& attribute, qint64 bytes)
    {
        if (attributes.contains(attribute))
            return;
        attributes.insert(attribute, bytes);
        if (bytes >= 0) {
            ++defaults;
            defaultBytes = Sum(defaultBytes, bytes);
        }
    }
};

// What declarations of a document type do: how many attributes they declare, and what they declare for the
// elements of each name. Counting stops just past MaxDeclared, where the document is refused anyway, so merging
// two never costs more than MaxDeclared steps.
struct CDeclared
{
    int count = 0;
    QHash<QString, CElementDeclarations> elements;

    bool TooMany() const { return count > MaxDeclared; }
    void Declare(const QString& element, const QString& attribute, qint64 defaultBytes)
    {
        ++count;
        if (!TooMany())
            elements[element].Declare(attribute, defaultBytes);
    }
    void Add(const CDeclared& other)
    {
        if (TooMany())
            return;
        count += qMin(other.count, MaxDeclared + 1);
        if (TooMany())
            return;
        for (auto element = other.elements.cbegin(); element != other.elements.cend(); ++element) {
            CElementDeclarations& into = elements[element.key()];
            const QHash<QString, qint64>& attributes = element.value().attributes;
            for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
                into.Declare(it.key(), it.value());
        }
    }
};

// The entities of a document type by name: what a reference to each parameter entity declares, and how long the
// text of each general entity is, the entities it refers to expanded.
struct CEntities
{
    QHash<QString, CDeclared> parameters;
    QHash<QString, qint64> general;
};

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

// The length of a literal's text as a reader gives it: the general entities it refers to stand for their texts.
// Character references are counted as written, never shorter than what they stand for.
template <typename Char>
qint64 ExpandedLength(const Char* at, const Char* end, const QHash<QString, qint64>& general)
{
    qint64 length = end - at;
    if (general.isEmpty())
        return length;
    while (at < end) {
        if (*at++ != Char('&') || at == end || *at == Char('#'))
            continue;
        const Char* name = at;
        while (at < end && *at != Char(';') && *at != Char('&'))
            ++at;
        if (at == end || *at != Char(';'))
            continue;
        const auto found = general.constFind(ToString(name, at));
        if (found != general.cend())
            length = Sum(length, found.value() - (at - name + 2));
    }
    return length;
}

// The declarations of an internal subset, or of a parameter entity's text: counts the attributes they declare
// into `declared`, and records entities: references to a parameter entity declare what its text declares, and a
// general entity's length counts wherever a default refers to it.
template <typename Char>
class CDeclarationScan : public CCursor<Char>
{
    using Base = CCursor<Char>;
    using Base::m_At;
    using Base::m_End;

public:
    CDeclarationScan(const Char* begin, const Char* end, CEntities& entities, CDeclared& declared, int depth)
        : Base(begin, end), m_Entities(entities), m_Declared(declared), m_Depth(depth)
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
    // #IMPLIED, or a value, after #FIXED or not. Only a value is added to the elements, with its name and the
    // four characters of ="" and a space around them.
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
            qint64 defaultBytes = -1;
            if (!this->Take("#REQUIRED") && !this->Take("#IMPLIED")) {
                this->Take("#FIXED");
                this->SkipSpace();
                const Char* begin = nullptr;
                const Char* end = nullptr;
                if (this->Quoted(&begin, &end))
                    defaultBytes =
                        Sum(ExpandedLength(begin, end, m_Entities.general), (attribute.second - attribute.first) + 4);
            }
            m_Declared.Declare(elementName, ToString(attribute.first, attribute.second), defaultBytes);
        }
    }

    // A parameter entity's text is counted once, as its references will declare it; a general entity's text is
    // measured, as its references in defaults will give it.
    void Entity()
    {
        this->SkipSpace();
        const bool parameter = this->Take("%");
        this->SkipSpace();
        const auto name = this->Name();
        const QString entityName = ToString(name.first, name.second);
        this->SkipSpace();
        const Char* begin = nullptr;
        const Char* end = nullptr;
        if (!this->Quoted(&begin, &end)) {
            this->SkipDeclaration();
            return;
        }
        if (!parameter) {
            // The first declaration of an entity binds.
            if (!m_Entities.general.contains(entityName))
                m_Entities.general.insert(entityName, ExpandedLength(begin, end, m_Entities.general));
        } else if (m_Depth < kMaxDepth) {
            const std::vector<Char> text = WithCharacterReferences(begin, end);
            CDeclared declared;
            CDeclarationScan(text.data(), text.data() + text.size(), m_Entities, declared, m_Depth + 1).Scan();
            // Declared twice, either text may be the one a reader uses: both are counted.
            m_Entities.parameters[entityName].Add(declared);
        }
        this->SkipDeclaration();
    }

    void Reference()
    {
        ++m_At;
        const auto name = this->Name();
        this->Take(";");
        const auto found = m_Entities.parameters.constFind(ToString(name.first, name.second));
        if (found != m_Entities.parameters.cend())
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

    CEntities& m_Entities;
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
    CScan(const Char* begin, const Char* end, qint64 byteLimit) : Base(begin, end), m_ByteLimit(byteLimit) {}

    qint64 LongestEntity() const
    {
        qint64 longest = 0;
        for (const qint64 length : m_Entities.general)
            longest = qMax(longest, length);
        return longest;
    }

    Verdict Check()
    {
        while (m_At < m_End) {
            if (*m_At++ != Char('<'))
                continue;
            Verdict verdict = Fits;
            if (this->Take("!--"))
                this->SkipPast("-->");
            else if (this->Take("![CDATA["))
                this->SkipPast("]]>");
            else if (this->Take("?"))
                this->SkipPast("?>");
            else if (this->Take("!DOCTYPE"))
                verdict = DocumentType();
            else if (this->At('!') || this->At('/'))
                EndOfTag();
            else
                verdict = StartTag();
            if (verdict != Fits)
                return verdict;
        }
        return Fits;
    }

private:
    // The declaration up to its internal subset (past quoted identifiers), then the subset's declarations.
    Verdict DocumentType()
    {
        while (m_At < m_End && !this->At('>') && !this->At('[')) {
            if (!this->Quoted())
                ++m_At;
        }
        if (!this->Take("["))
            return Fits;
        m_At = CDeclarationScan<Char>(m_At, m_End, m_Entities, m_Declared, 0).Scan();
        return m_Declared.TooMany() ? TooManyAttributes : Fits;
    }

    // The attributes the tag writes, and the defaults of its name that it does not write.
    Verdict StartTag()
    {
        const auto name = this->Name();
        const CElementDeclarations* declared = nullptr;
        if (!m_Declared.elements.isEmpty()) {
            const auto found = m_Declared.elements.constFind(ToString(name.first, name.second));
            if (found != m_Declared.elements.cend() && found.value().defaults > 0)
                declared = &found.value();
        }
        if (!declared)
            return EndOfTag() > MaxPerElement ? TooManyAttributes : Fits;
        // A default the tag writes itself adds nothing.
        int written = 0;
        qint64 writtenBytes = 0;
        const int own = EndOfTag([&](const Char* begin, const Char* end) {
            const auto found = declared->attributes.constFind(ToString(begin, end));
            if (found != declared->attributes.cend() && found.value() >= 0) {
                ++written;
                writtenBytes = Sum(writtenBytes, found.value());
            }
        });
        // A name written twice (no reader takes that) must not make the defaults count less than nothing.
        const int added = qMax(0, declared->defaults - written);
        m_Added += added;
        m_AddedBytes = Sum(m_AddedBytes, qMax(qint64(0), declared->defaultBytes - writtenBytes));
        if (m_Added > MaxDefaultsAdded || own + added > MaxPerElement)
            return TooManyAttributes;
        return m_AddedBytes > m_ByteLimit ? DefaultsTooLarge : Fits;
    }

    // Moves past the tag's ">" (outside quoted values) and returns the number of "=" it passed there, each after
    // the name visit() is given.
    int EndOfTag()
    {
        return EndOfTag([](const Char*, const Char*) {});
    }
    template <typename Visit>
    int EndOfTag(Visit visit)
    {
        int equals = 0;
        Char quote = Char(0);
        // The last name passed, while no "=" has taken it.
        const Char* nameBegin = nullptr;
        const Char* nameEnd = nullptr;
        bool inName = false;
        for (; m_At < m_End; ++m_At) {
            const Char c = *m_At;
            if (quote != Char(0)) {
                if (c == quote)
                    quote = Char(0);
                continue;
            }
            const bool nameCharacter = c != Char('"') && c != Char('\'') && c != Char('=') && c != Char('>')
                                       && c != Char('/') && !this->IsSpace(c);
            if (nameCharacter) {
                if (!inName)
                    nameBegin = m_At;
                nameEnd = m_At + 1;
            }
            inName = nameCharacter;
            if (c == Char('"') || c == Char('\'')) {
                quote = c;
            } else if (c == Char('=')) {
                ++equals;
                if (nameBegin)
                    visit(nameBegin, nameEnd);
                nameBegin = nullptr;
            } else if (c == Char('>')) {
                ++m_At;
                break;
            }
        }
        return equals;
    }

    const qint64 m_ByteLimit;
    CEntities m_Entities;
    CDeclared m_Declared;
    qint64 m_Added = 0;
    qint64 m_AddedBytes = 0;
};

} // namespace

Verdict Check(const QByteArray& bytes, qint64 byteLimit)
{
    return CScan<char>(bytes.constData(), bytes.constData() + bytes.size(), byteLimit).Check();
}

Verdict Check(const QString& text, qint64 byteLimit)
{
    return CScan<ushort>(text.utf16(), text.utf16() + text.size(), byteLimit).Check();
}

int EntityExpansionLimit()
{
    return QXmlStreamReader().entityExpansionLimit();
}

bool DeclaresEntityPastExpansionLimit(const QByteArray& bytes)
{
    CScan<char> scan(bytes.constData(), bytes.constData() + bytes.size(), kHuge);
    scan.Check();
    return scan.LongestEntity() > EntityExpansionLimit();
}

bool DeclaresEntityPastExpansionLimit(const QString& text)
{
    CScan<ushort> scan(text.utf16(), text.utf16() + text.size(), kHuge);
    scan.Check();
    return scan.LongestEntity() > EntityExpansionLimit();
}

} // namespace XmlAttributeCount
