#include "Xml/XmlNesting.h"

#include <gtest/gtest.h>

namespace {
QByteArray Nested(int depth)
{
    return QByteArray("<a>").repeated(depth) + "text" + QByteArray("</a>").repeated(depth);
}
} // namespace

TEST(XmlNesting, DepthCountsTheRootAsOne)
{
    EXPECT_FALSE(XmlNesting::TooDeep(Nested(1), 1));
    EXPECT_TRUE(XmlNesting::TooDeep(Nested(2), 1));
    EXPECT_FALSE(XmlNesting::TooDeep(Nested(XmlNesting::MaxDepth)));
    EXPECT_TRUE(XmlNesting::TooDeep(Nested(XmlNesting::MaxDepth + 1)));
    EXPECT_TRUE(XmlNesting::TooDeep(QString::fromLatin1(Nested(XmlNesting::MaxDepth + 1))));
    // Siblings do not add up: only the depth of one path counts.
    EXPECT_FALSE(XmlNesting::TooDeep("<r>" + QByteArray("<a/>").repeated(1000) + "</r>", 2));
}

TEST(XmlNesting, BrokenDocumentsAreLeftToTheReader)
{
    EXPECT_FALSE(XmlNesting::TooDeep(QByteArray()));
    EXPECT_FALSE(XmlNesting::TooDeep(QByteArray("not xml at all")));
    // Reading stops at the first error, even when deeper nesting follows it.
    EXPECT_FALSE(XmlNesting::TooDeep("<a></b>" + Nested(300), 10));
}

// The quick byte scan must never count fewer levels than the reader: text that
// looks like markup inside comments, character data, processing instructions
// and quoted values, and declarations and other encodings, all still give the
// reader's answer.
TEST(XmlNesting, MarkupLookalikesAreCountedAsTheReaderCountsThem)
{
    struct Case
    {
        QByteArray document;
        int maxDepth;
        bool tooDeep;
    };
    const QByteArray deep3 = "<a><b><c/></b></a>";
    const Case cases[] = {
        {deep3, 3, false},
        {deep3, 2, true},
        {"<a x=\"/>\"><b><c/></b></a>", 2, true}, // "/>" inside a value closes nothing
        {"<a x='>'><b/></a>", 1, true},
        {"<a><!-- <b><c> --><d/></a>", 2, false}, // a comment opens nothing
        {"<a><![CDATA[<b><c><d>]]></a>", 1, false},
        {"<?xml version=\"1.0\"?><a><?pi <b>?></a>", 1, false},
        {"<!DOCTYPE a [<!ENTITY e \"x\">]><a><b/></a>", 1, true},
        {"<a>" + QByteArray("<b/>").repeated(2000) + "</a>", 2, false},
        {"<a></a><b><c/></b>", 2, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XmlNesting::TooDeep(c.document, c.maxDepth), c.tooDeep) << c.document.constData();

    const QString utf16 = QStringLiteral("<a><b><c/></b></a>");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2);
    EXPECT_TRUE(XmlNesting::TooDeep(bytes, 2));
    EXPECT_FALSE(XmlNesting::TooDeep(bytes, 3));
}
