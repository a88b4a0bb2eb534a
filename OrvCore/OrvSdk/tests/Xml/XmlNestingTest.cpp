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
