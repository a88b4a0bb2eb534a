#include "Text/LanguageIndex.h"

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
} // namespace

QString LanguageIndex::Key(const QString& className, const QString& section, const QString& itemTag, const QString& id)
{
    return className + kSeparator + section + kSeparator + itemTag + kSeparator + id;
}

void LanguageIndex::Clear()
{
    m_Texts.clear();
    m_Loaded = false;
}

bool LanguageIndex::Read(const QByteArray& bytes)
{
    Clear();
    if (XmlNesting::TooDeep(bytes))
        return false;
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(false);

    QSet<QString> classesSeen;
    QSet<QString> sectionsSeen; // of the class being read
    QString className;
    QString section;
    bool readingClass = false;   // the class element open now is the first of its name
    bool readingSection = false; // the section element open now is the first of its tag in it
    int depth = 0;
    bool sawRoot = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (depth == ClassDepth)
                readingClass = false;
            if (depth == SectionDepth)
                readingSection = false;
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QString tag = reader.name().toString();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (depth == RootDepth) {
            sawRoot = true;
        } else if (depth == ClassDepth) {
            readingClass = false;
            sectionsSeen.clear();
            if (tag != QLatin1String("class") || !attributes.hasAttribute(QLatin1String("name")))
                continue;
            const QString name = attributes.value(QLatin1String("name")).toString();
            // Only the first class of a name is ever read.
            if (!classesSeen.contains(name)) {
                classesSeen.insert(name);
                className = name;
                readingClass = true;
            }
        } else if (depth == SectionDepth) {
            readingSection = false;
            if (!readingClass || sectionsSeen.contains(tag))
                continue;
            sectionsSeen.insert(tag);
            section = tag;
            readingSection = true;
        } else if (depth == ItemDepth && readingSection) {
            if (!attributes.hasAttribute(QLatin1String("id")) || !attributes.hasAttribute(QLatin1String("value")))
                continue;
            QString value = attributes.value(QLatin1String("value")).toString();
            if (value.isNull())
                value = QLatin1String("");
            const QString key = Key(className, section, tag, attributes.value(QLatin1String("id")).toString());
            if (!m_Texts.contains(key))
                m_Texts.insert(key, value);
        }
    }
    if (reader.hasError() || !sawRoot) {
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
