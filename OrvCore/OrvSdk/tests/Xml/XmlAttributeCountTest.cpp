// Elements crowded with attributes are refused before any reader compares them pair by pair, by every reader of XML
// from outside: the plain reader behind parameter files and profiles, the toolkit's fallback, and the stream
// reader behind descriptions and e-cards.
#include "Xml/CXmlFile.h"
#include "Xml/XmlAttributeCount.h"
#include "Xml/XmlRootChildren.h"
#include "tests/SdkTestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Attributes(int count, const QByteArray& prefix = "a")
{
    QByteArray attributes;
    for (int i = 0; i < count; ++i)
        attributes += ' ' + prefix + QByteArray::number(i) + "=\"v\"";
    return attributes;
}

QByteArray Element(int count)
{
    return "<r><e" + Attributes(count) + "/></r>";
}

TEST(XmlAttributeCount, CountsTheAttributesOfStartTagsOnly)
{
    const int most = XmlAttributeCount::MaxPerElement;
    const struct
    {
        const char* name;
        QByteArray document;
        bool exceeds;
    } cases[] = {
        {"at the limit", Element(most), false},
        {"one more", Element(most + 1), true},
        {"spread over elements", "<r>" + ("<e" + Attributes(most) + "/>").repeated(3) + "</r>", false},
        {"equals signs in values", "<r><e a=\"" + QByteArray("=").repeated(1000) + "\" b='=='/></r>", false},
        {"in a comment", "<r><!-- <e" + Attributes(most + 1) + "/> --></r>", false},
        {"in character data", "<r><![CDATA[<e" + Attributes(most + 1) + "/>]]></r>", false},
        {"in an instruction", "<?pi" + Attributes(most + 1) + "?><r/>", false},
        {"in text", "<r>" + Attributes(most + 1) + "</r>", false},
        {"cut short", "<r><e" + Attributes(most + 1), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlAttributeCount::Exceeds(c.document), c.exceeds) << c.name;
        EXPECT_EQ(XmlAttributeCount::Exceeds(QString::fromUtf8(c.document)), c.exceeds) << c.name;
    }
}

// A hundred thousand attributes on one element (1.2 MB) kept each reader busy for tens of seconds.
TEST(XmlAttributeCount, EveryReaderRefusesACrowdedElementAndTakesOneAtTheLimit)
{
    const QByteArray crowded = Element(100000);
    CXmlFile file;
    EXPECT_FALSE(file.LoadFromData(crowded));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("crowded.xml")), crowded));
    EXPECT_FALSE(file.Load(dir.filePath(QStringLiteral("crowded.xml"))));
    EXPECT_EQ(file.GetLoadError(), QStringLiteral("has an element with more than 256 attributes"));
    // The same names twice: the plain reader refuses them, and the toolkit's reader behind it must not see them.
    EXPECT_FALSE(file.LoadFromData("<r><e" + Attributes(50000) + Attributes(50000) + "/></r>"));
    EXPECT_FALSE(file.LoadFromData("<r><e" + Attributes(200) + " a7=\"again\"/></r>"));

    for (const bool asText : {false, true}) {
        CXmlRootChildren xml = asText ? CXmlRootChildren(QString::fromUtf8(crowded)) : CXmlRootChildren(crowded);
        EXPECT_FALSE(xml.ReadRoot() && xml.ReadChild()) << asText;
        EXPECT_TRUE(xml.IsCrowded()) << asText;
    }

    const QByteArray full = Element(XmlAttributeCount::MaxPerElement);
    ASSERT_TRUE(file.LoadFromData(full));
    CXmlRootChildren xml(full);
    ASSERT_TRUE(xml.ReadRoot());
    ASSERT_TRUE(xml.ReadChild());
    EXPECT_EQ(xml.Child().attributes.size(), XmlAttributeCount::MaxPerElement);
    EXPECT_FALSE(xml.IsCrowded());
}

} // namespace
