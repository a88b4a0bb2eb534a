#include "Text/LanguageIndex.h"

#include "Xml/PlainXmlReader.h"
#include "Xml/XmlNesting.h"

#include <QSet>
#include <QXmlStreamReader>

namespace {
// Depths below the root: a class, one of its sections, one of its items.
enum Depth
{
    RootDepth = 1,
    ClassDepth = 2,
    SectionDepth = 3,
    ItemDepth = 4
};

const QChar kSeparator(0x1F);

const PlainXml::Attribute* FindAttribute(const PlainXml::Attributes& attributes, QLatin1String name)
{
    for (const PlainXml::Attribute& attribute : attributes)
        if (attribute.name == name)
            return &attribute;
    return nullptr;
}
} // namespace

// Takes the elements of a language file in document order and keeps the
// texts a walk over the document would find.
class LanguageIndex::Collector : public PlainXml::Handler
{
public:
    explicit Collector(QHash<QString, QString>& texts) : m_Texts(texts) {}

    bool SawRoot() const { return m_SawRoot; }

    void Declaration(const QString&) override {}
    void Text(const QString&) override {}
    void Comment(const QString&) override {}

    void EndElement() override
    {
        if (m_Depth == ClassDepth)
            m_ReadingClass = false;
        if (m_Depth == SectionDepth)
            m_ReadingSection = false;
        --m_Depth;
    }

    void StartElement(const QString& tag, const PlainXml::Attributes& attributes) override
    {
        ++m_Depth;
        if (m_Depth == RootDepth) {
            m_SawRoot = true;
        } else if (m_Depth == ClassDepth) {
            m_ReadingClass = false;
            m_SectionsSeen.clear();
            const PlainXml::Attribute* name = FindAttribute(attributes, QLatin1String("name"));
            if (tag != QLatin1String("class") || !name)
                return;
            // Only the first class of a name is ever read.
            if (!m_ClassesSeen.contains(name->value)) {
                m_ClassesSeen.insert(name->value);
                m_ClassName = name->value;
                m_ReadingClass = true;
            }
        } else if (m_Depth == SectionDepth) {
            m_ReadingSection = false;
            if (!m_ReadingClass || m_SectionsSeen.contains(tag))
                return;
            m_SectionsSeen.insert(tag);
            m_Section = tag;
            m_ReadingSection = true;
        } else if (m_Depth == ItemDepth && m_ReadingSection) {
            const PlainXml::Attribute* id = FindAttribute(attributes, QLatin1String("id"));
            const PlainXml::Attribute* value = FindAttribute(attributes, QLatin1String("value"));
            if (!id || !value)
                return;
            const QString key = Key(m_ClassName, m_Section, tag, id->value);
            if (!m_Texts.contains(key))
                m_Texts.insert(key, value->value.isNull() ? QLatin1String("") : value->value);
        }
    }

private:
    QHash<QString, QString>& m_Texts;
    QSet<QString> m_ClassesSeen;
    QSet<QString> m_SectionsSeen; // of the class being read
    QString m_ClassName;
    QString m_Section;
    bool m_ReadingClass = false;   // the class element open now is the first of its name
    bool m_ReadingSection = false; // the section element open now is the first of its tag in it
    int m_Depth = 0;
    bool m_SawRoot = false;
};

QString LanguageIndex::Key(const QString& className, const QString& section, const QString& itemTag, const QString& id)
{
    QString key;
    key.reserve(className.size() + section.size() + itemTag.size() + id.size() + 3);
    key.append(className)
        .append(kSeparator)
        .append(section)
        .append(kSeparator)
        .append(itemTag)
        .append(kSeparator)
        .append(id);
    return key;
}

void LanguageIndex::Clear()
{
    m_Texts.clear();
    m_Loaded = false;
}

bool LanguageIndex::Read(const QByteArray& bytes)
{
    Clear();
    Collector plain(m_Texts);
    if (PlainXml::Read(bytes, plain, XmlNesting::MaxDepth)) {
        m_Loaded = true;
        return true;
    }
    // Declined: the toolkit's stream reader decides, fed to a fresh collector.
    Clear();
    if (XmlNesting::TooDeep(bytes))
        return false;
    Collector collector(m_Texts);
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            collector.EndElement();
        } else if (token == QXmlStreamReader::StartElement) {
            PlainXml::Attributes attributes;
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                attributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
            collector.StartElement(reader.qualifiedName().toString(), attributes);
        }
    }
    if (reader.hasError() || !collector.SawRoot()) {
        Clear();
        return false;
    }
    m_Loaded = true;
    return true;
}

QString LanguageIndex::Find(const QString& className, const QString& section, const QString& itemTag,
                            const QString& id) const
{
    const auto found = m_Texts.constFind(Key(className, section, itemTag, id));
    return found == m_Texts.constEnd() ? QString() : found.value();
}
