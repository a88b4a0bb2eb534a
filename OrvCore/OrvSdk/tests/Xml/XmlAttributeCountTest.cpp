// Elements crowded with attributes are refused before any reader compares them pair by pair, by every reader of XML
// from outside: the plain reader behind parameter files and profiles, the toolkit's fallback, and the stream
// reader behind descriptions and e-cards.
#include "Xml/XmlAttributeCount.h"
#include "Text/CLanguageResources.h"
#include "Xml/CXmlFile.h"
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

// An attribute list declaration: count attributes of the element, each with the default given ("\"x\"",
// "#FIXED 'x'", "#IMPLIED"...).
QByteArray AttributeList(const QByteArray& element, int count, const QByteArray& defaultDeclaration = "\"x\"")
{
    QByteArray list = "<!ATTLIST " + element;
    for (int i = 0; i < count; ++i)
        list += " d" + QByteArray::number(i) + " CDATA " + defaultDeclaration;
    return list + ">";
}

// A document whose internal subset holds the declarations, and whose root holds the content.
QByteArray WithSubset(const QByteArray& declarations, const QByteArray& content)
{
    return "<?xml version=\"1.0\"?><!DOCTYPE r [" + declarations + "]><r>" + content + "</r>";
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
        // What a document type declares: defaults join the element's own attributes.
        {"defaults and own at the limit", WithSubset(AttributeList("e", 200), "<e" + Attributes(most - 200) + "/>"),
         false},
        {"defaults and own over it", WithSubset(AttributeList("e", 200), "<e" + Attributes(most - 199) + "/>"), true},
        {"fixed defaults count", WithSubset(AttributeList("e", 200, "#FIXED 'x'"), "<e" + Attributes(57) + "/>"), true},
        {"implied and required add nothing",
         WithSubset(AttributeList("e", 128, "#IMPLIED") + AttributeList("e", 128, "#REQUIRED"),
                    "<e" + Attributes(most) + "/>"),
         false},
        {"another element's defaults", WithSubset(AttributeList("f", 200), "<e" + Attributes(most) + "/>"), false},
        {"declared for no element present", WithSubset(AttributeList("f", most + 1), "<e/>"), true},
        {"spread over many elements",
         WithSubset(
             [] {
                 QByteArray lists;
                 for (int i = 0; i <= XmlAttributeCount::MaxDeclared; ++i)
                     lists += AttributeList("e" + QByteArray::number(i), 1, "#IMPLIED");
                 return lists;
             }(),
             "<e/>"),
         true},
        {"the issue's hundred thousand", WithSubset(AttributeList("FRAME", 100000), "<FRAME/>"), true},
        {"a bracket in a default",
         WithSubset("<!ATTLIST e a CDATA \"]>\">" + AttributeList("e", 200), "<e" + Attributes(56) + "/>"), true},
        {"declarations in a comment",
         WithSubset("<!-- " + AttributeList("e", 200) + " -->", "<e" + Attributes(most) + "/>"), false},
        {"a parameter entity at each reference",
         WithSubset("<!ENTITY % p '" + AttributeList("e", 100) + "'>%p;%p;", "<e" + Attributes(57) + "/>"), true},
        {"a parameter entity declared, never used",
         WithSubset("<!ENTITY % p '" + AttributeList("e", 200) + "'>", "<e" + Attributes(most) + "/>"), false},
        {"markup by character references",
         WithSubset("<!ENTITY % p '&#60;!ATTLIST e a CDATA \"x\" b CDATA \"y\"&#x3E;'>%p;",
                    "<e" + Attributes(most - 1) + "/>"),
         true},
        {"defaults added in all at the bound", WithSubset(AttributeList("e", most), QByteArray("<e/>").repeated(most)),
         false},
        {"defaults added in all past it", WithSubset(AttributeList("e", most), QByteArray("<e/>").repeated(most + 1)),
         true},
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
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    CXmlFile file;
    EXPECT_FALSE(file.LoadFromData(crowded));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("crowded.xml")), crowded));
    EXPECT_FALSE(file.Load(dir.filePath(QStringLiteral("crowded.xml"))));
    EXPECT_EQ(file.GetLoadError(),
              QStringLiteral("has more than 256 attributes on an element, counting the defaults its document type "
                             "declares, or a document type that declares or adds too many"));
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

    // Defaults of the document type and the element's own, at the limit together: the element ends with all.
    const QByteArray declaredFull = WithSubset(AttributeList("e", 200), "<e" + Attributes(56) + "/>");
    ASSERT_TRUE(file.LoadFromData(declaredFull));
    CXmlRootChildren declared(declaredFull);
    ASSERT_TRUE(declared.ReadRoot());
    ASSERT_TRUE(declared.ReadChild());
    EXPECT_EQ(declared.Child().attributes.size(), XmlAttributeCount::MaxPerElement);
    CLanguageResources::Load(QString());
}

} // namespace
