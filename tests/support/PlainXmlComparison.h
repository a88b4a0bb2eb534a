#pragma once
// Reads bytes with the plain XML reader and with the toolkit's reader (behind
// the depth check, as the SDK does) and compares the two documents node by
// node, and as the text they would be saved as.
#include "Xml/PlainXmlReader.h"
#include "Xml/XmlNesting.h"

#include <QDomDocument>
#include <QStringList>

namespace PlainXmlComparison {

enum class Outcome
{
    Same,     // both read it, into the same document
    Declined, // the plain reader left it to the toolkit
    Differs   // the plain reader read what the toolkit refuses, or read it otherwise
};

inline void Describe(const QDomNode& node, QString& out)
{
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling()) {
        out += QString::number(int(child.nodeType())) + u'|' + child.nodeName() + u'|' + child.nodeValue();
        const QDomNamedNodeMap attributes = child.attributes();
        QStringList pairs;
        for (int i = 0; i < attributes.count(); ++i)
            pairs << attributes.item(i).nodeName() + u'=' + attributes.item(i).nodeValue();
        pairs.sort();
        out += u'[' + pairs.join(QChar(0x1F)) + QStringLiteral("]{");
        Describe(child, out);
        out += u'}';
    }
}

inline Outcome Compare(const QByteArray& bytes)
{
    QDomDocument plain;
    if (!PlainXml::BuildDocument(bytes, plain, XmlNesting::MaxDepth))
        return Outcome::Declined;
    QDomDocument toolkit;
    if (XmlNesting::TooDeep(bytes) || !toolkit.setContent(bytes, false))
        return Outcome::Differs;
    QString plainText;
    QString toolkitText;
    Describe(plain, plainText);
    Describe(toolkit, toolkitText);
    if (plainText != toolkitText || plain.toString(1) != toolkit.toString(1))
        return Outcome::Differs;
    return Outcome::Same;
}

} // namespace PlainXmlComparison
