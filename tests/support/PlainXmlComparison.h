#pragma once
// Reads bytes with the plain XML reader (into a DOM and into its element tree)
// and with the toolkit's reader (behind the depth check, as the SDK does), and
// compares the documents node by node, as the text they would be saved as,
// and element by element with the tree.
#include "Xml/PlainXmlElements.h"
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

// The elements alone, nested, each with its attributes sorted.
inline void DescribeElements(const QDomNode& node, QString& out)
{
    for (QDomElement child = node.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QDomNamedNodeMap attributes = child.attributes();
        QStringList pairs;
        for (int i = 0; i < attributes.count(); ++i)
            pairs << attributes.item(i).nodeName() + u'=' + attributes.item(i).nodeValue();
        pairs.sort();
        out += child.tagName() + u'[' + pairs.join(QChar(0x1F)) + QStringLiteral("]{");
        DescribeElements(child, out);
        out += u'}';
    }
}

inline void DescribeElements(const PlainXml::ElementTree& tree, int element, QString& out)
{
    const PlainXml::ElementTree::Element& e = tree.At(element);
    QStringList pairs;
    for (const PlainXml::Attribute& attribute : e.attributes)
        pairs << attribute.name + u'=' + attribute.value;
    pairs.sort();
    out += e.tag + u'[' + pairs.join(QChar(0x1F)) + QStringLiteral("]{");
    for (int child = e.firstChild; child >= 0; child = tree.At(child).next)
        DescribeElements(tree, child, out);
    out += u'}';
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
    // The element tree holds the toolkit's elements and attributes.
    PlainXml::ElementTree tree;
    if (!tree.Read(bytes, XmlNesting::MaxDepth))
        return Outcome::Differs;
    QString treeElements;
    QString toolkitElements;
    DescribeElements(tree, 0, treeElements);
    DescribeElements(toolkit, toolkitElements);
    return treeElements == toolkitElements ? Outcome::Same : Outcome::Differs;
}

} // namespace PlainXmlComparison
