// The root's children read one at a time, against the toolkit's DOM (namespace processing off) built from the
// same text: the readers of e-cards and animation descriptions must see what they saw when they built one.
#include "Xml/XmlRootChildren.h"
#include "Util/BoundedFileRead.h"

#include <QDomDocument>
#include <QStringList>
#include <gtest/gtest.h>

namespace {
using Node = CXmlRootChildren::Node;

QString Attributes(QStringList pairs)
{
    pairs.sort();
    return pairs.join(QLatin1Char(' '));
}

QString Describe(const QDomNode& node)
{
    switch (node.nodeType()) {
    case QDomNode::ElementNode: {
        const QDomNamedNodeMap attributes = node.attributes();
        QStringList pairs;
        for (int i = 0; i < attributes.count(); ++i)
            pairs << attributes.item(i).nodeName() + QLatin1Char('=') + attributes.item(i).nodeValue();
        return QStringLiteral("element %1 [%2]").arg(node.nodeName(), Attributes(pairs));
    }
    case QDomNode::TextNode:
        return QStringLiteral("text ") + node.nodeValue();
    case QDomNode::CDATASectionNode:
        return QStringLiteral("cdata ") + node.nodeValue();
    case QDomNode::CommentNode:
        return QStringLiteral("comment ") + node.nodeValue();
    case QDomNode::ProcessingInstructionNode:
        return QStringLiteral("instruction %1 %2").arg(node.nodeName(), node.nodeValue());
    case QDomNode::EntityReferenceNode:
        return QStringLiteral("entity ") + node.nodeName();
    default:
        return QStringLiteral("other ") + node.nodeName();
    }
}

QString Describe(const Node& node)
{
    switch (node.kind) {
    case Node::Element: {
        QStringList pairs;
        for (const QXmlStreamAttribute& attribute : node.attributes)
            pairs << attribute.qualifiedName().toString() + QLatin1Char('=') + attribute.value().toString();
        return QStringLiteral("element %1 [%2]").arg(node.name, Attributes(pairs));
    }
    case Node::Text:
        return (node.cdata ? QStringLiteral("cdata ") : QStringLiteral("text ")) + node.text;
    case Node::Comment:
        return QStringLiteral("comment ") + node.text;
    case Node::Instruction:
        return QStringLiteral("instruction %1 %2").arg(node.name, node.text);
    case Node::EntityReference:
        return QStringLiteral("entity ") + node.name;
    default:
        return QStringLiteral("none");
    }
}

// The first node of the document by its kind and name (the root element without its attributes), then the
// root's children; "refused" for a text the reader refuses.
QStringList FromDom(const QString& text)
{
    QDomDocument document;
    if (!document.setContent(text, false))
        return {QStringLiteral("refused")};
    const QDomNode first = document.firstChild();
    QStringList lines{first.isElement() ? QStringLiteral("element ") + first.nodeName() : Describe(first),
                      QStringLiteral("root ") + document.documentElement().tagName()};
    for (QDomNode child = document.documentElement().firstChild(); !child.isNull(); child = child.nextSibling())
        lines << Describe(child);
    return lines;
}

QStringList FromWalk(const QString& text)
{
    CXmlRootChildren walk(text, FileLimits::MaxXmlBytes);
    if (!walk.ReadRoot())
        return {QStringLiteral("refused")};
    const Node& first = walk.FirstNode();
    QStringList lines{first.kind == Node::Element ? QStringLiteral("element ") + first.name : Describe(first),
                      QStringLiteral("root ") + walk.RootTag()};
    while (walk.ReadChild())
        lines << Describe(walk.Child());
    if (!walk.ReadToEnd())
        return {QStringLiteral("refused")};
    return lines;
}
} // namespace

TEST(XmlRootChildren, ChildrenAsTheToolkitsDomGivesThem)
{
    const char* const texts[] = {
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<ECARD>Hi <IE TYPE=\"IMY\" STYPE=\"USR\" REF=\"a\"/> there"
        "<IE><deeper>text<x/></deeper></IE></ECARD>",
        "<?xml version='1.0' encoding='UTF-8' standalone='yes'?><A b='1' a='2'><FRAME REF='x' DELAY='1'/></A>",
        "<?xml version=\"1.0\"?><A/>",
        "<!-- first --><A><!-- inside --><?pi some data?>text</A><!-- after -->",
        "<?target data?><A/>",
        "<!DOCTYPE A [<!ENTITY e \"expanded\">]><A a=\"&e;\">a&e;b&amp;c&#65;<![CDATA[<raw>]]>d</A>",
        "<A>\n  <B/>\n  \t<C/>\n</A>",
        "<A>\xC2\xA0</A>",
        "<x:A xmlns:y=\"urn:y\" x:b=\"1\"><x:FRAME y:REF=\"r\"/></x:A>",
        "<xml encoding=\"ISO-8859-1\"><IE/></xml>",
        "<A><![CDATA[   ]]><![CDATA[text]]></A>",
        "<!DOCTYPE A SYSTEM \"outside.dtd\"><A>&undeclared;</A>",
        // Not well-formed, wherever the fault lies.
        "",
        "no markup",
        "<A>",
        "<A></B>",
        "<A/><B/>",
        "<A/>text",
        "<A><B>",
        "<A b='1' b='2'/>",
        "<A>&undeclared;</A>",
    };
    for (const char* text : texts) {
        const QString document = QString::fromUtf8(text);
        EXPECT_EQ(FromWalk(document), FromDom(document)) << text;
    }
}

TEST(XmlRootChildren, BytesAreDecodedAsTheirDeclarationSays)
{
    const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A>\xE9</A>";
    CXmlRootChildren walk(latin1, FileLimits::MaxXmlBytes);
    ASSERT_TRUE(walk.ReadRoot());
    ASSERT_TRUE(walk.ReadChild());
    EXPECT_EQ(walk.Child().text, QString(QChar(0xE9)));
    EXPECT_FALSE(walk.ReadChild());
    EXPECT_TRUE(walk.ReadToEnd());
}

// Depth is counted as the SDK's readers count it, the root as 1, and a child's content is passed over whole.
TEST(XmlRootChildren, NestingDeeperThanTheLimitIsRefused)
{
    const auto nested = [](int depth) {
        return QStringLiteral("<r><first/>") + QStringLiteral("<a>").repeated(depth - 1)
               + QStringLiteral("</a>").repeated(depth - 1) + QStringLiteral("<last/></r>");
    };
    CXmlRootChildren deepest(nested(XmlNesting::MaxDepth), FileLimits::MaxXmlBytes);
    ASSERT_TRUE(deepest.ReadRoot());
    QStringList names;
    while (deepest.ReadChild())
        names << deepest.Child().name;
    EXPECT_EQ(names, QStringList({QStringLiteral("first"), QStringLiteral("a"), QStringLiteral("last")}));
    EXPECT_TRUE(deepest.ReadToEnd());
    EXPECT_FALSE(deepest.IsTooDeep());

    CXmlRootChildren tooDeep(nested(XmlNesting::MaxDepth + 1), FileLimits::MaxXmlBytes);
    ASSERT_TRUE(tooDeep.ReadRoot());
    EXPECT_FALSE(tooDeep.ReadToEnd());
    EXPECT_TRUE(tooDeep.IsTooDeep());
}
