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

// The byte limit of an XML file, which no case of the counts comes near.
constexpr qint64 kLimit = qint64(16) * 1024 * 1024;

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
         WithSubset("<!ENTITY % p '" + AttributeList("e", 100) + "'>%p;%p;%p;", "<e/>"), true},
        // Declared again, an attribute is still one: the first declaration binds.
        {"a parameter entity's defaults once",
         WithSubset("<!ENTITY % p '" + AttributeList("e", 100) + "'>%p;%p;", "<e" + Attributes(most - 100) + "/>"),
         false},
        {"a parameter entity's defaults once, past the limit",
         WithSubset("<!ENTITY % p '" + AttributeList("e", 100) + "'>%p;%p;", "<e" + Attributes(most - 99) + "/>"),
         true},
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
        const auto expected = c.exceeds ? XmlAttributeCount::TooManyAttributes : XmlAttributeCount::Fits;
        EXPECT_EQ(XmlAttributeCount::Check(c.document, kLimit), expected) << c.name;
        EXPECT_EQ(XmlAttributeCount::Check(QString::fromUtf8(c.document), kLimit), expected) << c.name;
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
        CXmlRootChildren xml =
            asText ? CXmlRootChildren(QString::fromUtf8(crowded), kLimit) : CXmlRootChildren(crowded, kLimit);
        EXPECT_FALSE(xml.ReadRoot() && xml.ReadChild()) << asText;
        EXPECT_TRUE(xml.IsCrowded()) << asText;
    }

    const QByteArray full = Element(XmlAttributeCount::MaxPerElement);
    ASSERT_TRUE(file.LoadFromData(full));
    CXmlRootChildren xml(full, kLimit);
    ASSERT_TRUE(xml.ReadRoot());
    ASSERT_TRUE(xml.ReadChild());
    EXPECT_EQ(xml.Child().attributes.size(), XmlAttributeCount::MaxPerElement);
    EXPECT_FALSE(xml.IsCrowded());

    // Defaults of the document type and the element's own, at the limit together: the element ends with all.
    const QByteArray declaredFull = WithSubset(AttributeList("e", 200), "<e" + Attributes(56) + "/>");
    ASSERT_TRUE(file.LoadFromData(declaredFull));
    CXmlRootChildren declared(declaredFull, kLimit);
    ASSERT_TRUE(declared.ReadRoot());
    ASSERT_TRUE(declared.ReadChild());
    EXPECT_EQ(declared.Child().attributes.size(), XmlAttributeCount::MaxPerElement);
    CLanguageResources::Load(QString());
}

// Each default an element does not write adds its name, its value (entities expanded) and the four characters
// of ="" and a blank: in all they may add no more than the file's limit, here 10,000 bytes.
TEST(XmlAttributeCount, DefaultsMayAddNoMoreBytesThanTheFileMayHold)
{
    const qint64 limit = 10000;
    // A default of name "d" adding 1 + 995 + 4 = 1000 bytes to each element of name "e" that does not write it.
    const QByteArray thousand = "<!ATTLIST e d CDATA \"" + QByteArray(995, 'x') + "\">";
    const QByteArray entity = "<!ENTITY a \"" + QByteArray(1000, 'x') + "\">";
    const struct
    {
        const char* name;
        QByteArray document;
        XmlAttributeCount::Verdict verdict;
    } cases[] = {
        {"at the limit", WithSubset(thousand, QByteArray("<e/>").repeated(10)), XmlAttributeCount::Fits},
        {"one element past it", WithSubset(thousand, QByteArray("<e/>").repeated(11)),
         XmlAttributeCount::DefaultsTooLarge},
        {"one byte past it",
         WithSubset("<!ATTLIST e d CDATA \"" + QByteArray(996, 'x') + "\">", QByteArray("<e/>").repeated(10)),
         XmlAttributeCount::DefaultsTooLarge},
        {"the root counts too", "<!DOCTYPE e [" + thousand + "]><e>" + QByteArray("<e/>").repeated(10) + "</e>",
         XmlAttributeCount::DefaultsTooLarge},
        {"written, it adds nothing", WithSubset(thousand, QByteArray("<e d='1'/>").repeated(100)),
         XmlAttributeCount::Fits},
        {"implied, it adds nothing",
         WithSubset("<!ATTLIST e d CDATA #IMPLIED e2 CDATA #IMPLIED>", QByteArray("<e/>").repeated(100)),
         XmlAttributeCount::Fits},
        {"the first declaration binds",
         WithSubset("<!ATTLIST e d CDATA #IMPLIED>" + thousand, QByteArray("<e/>").repeated(100)),
         XmlAttributeCount::Fits},
        {"through a parameter entity",
         WithSubset("<!ENTITY % p '" + thousand + "'>%p;", QByteArray("<e/>").repeated(11)),
         XmlAttributeCount::DefaultsTooLarge},
        // 1 + 3 x 1000 + 4 bytes each from a declaration of 1,045 bytes: four elements are past the limit.
        {"entities expanded", WithSubset(entity + "<!ATTLIST e d CDATA \"&a;&a;&a;\">", QByteArray("<e/>").repeated(4)),
         XmlAttributeCount::DefaultsTooLarge},
        {"entities of entities expanded",
         WithSubset(entity + "<!ENTITY b \"&a;&a;&a;\"><!ATTLIST e d CDATA \"&b;\">", QByteArray("<e/>").repeated(4)),
         XmlAttributeCount::DefaultsTooLarge},
        {"entities within it",
         WithSubset(entity + "<!ATTLIST e d CDATA \"&a;&a;&a;\">", QByteArray("<e/>").repeated(3)),
         XmlAttributeCount::Fits},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlAttributeCount::Check(c.document, limit), c.verdict) << c.name;
        EXPECT_EQ(XmlAttributeCount::Check(QString::fromUtf8(c.document), limit), c.verdict) << c.name;
    }
}

// Declared defaults that an element writes itself are one attribute each, not two: an element ends with 256
// distinct attributes and is read, with 257 it is refused, whether what it writes is among the declared or not.
TEST(XmlAttributeCount, AnAttributeWrittenAndDeclaredCountsOnce)
{
    const int most = XmlAttributeCount::MaxPerElement;
    // REF and DELAY declared with 254 others, as a description would.
    const QByteArray declared =
        "<!ATTLIST FRAME REF CDATA \"f.png\" DELAY CDATA \"100\">" + AttributeList("FRAME", most - 2);
    const QByteArray written = "<FRAME REF=\"g.png\" DELAY=\"200\"";
    const struct
    {
        const char* name;
        QByteArray document;
        bool read;
    } cases[] = {
        {"written among the declared, 256", WithSubset(declared, written + "/>"), true},
        {"written among the declared, 257", WithSubset(declared, written + " extra=\"1\"/>"), false},
        {"written beside the declared, 256",
         WithSubset(AttributeList("FRAME", most - 2), "<FRAME" + Attributes(2) + "/>"), true},
        {"written beside the declared, 257",
         WithSubset(AttributeList("FRAME", most - 2), "<FRAME" + Attributes(3) + "/>"), false},
    };
    for (const auto& c : cases) {
        const auto expected = c.read ? XmlAttributeCount::Fits : XmlAttributeCount::TooManyAttributes;
        EXPECT_EQ(XmlAttributeCount::Check(c.document, kLimit), expected) << c.name;
        EXPECT_EQ(XmlAttributeCount::Check(QString::fromUtf8(c.document), kLimit), expected) << c.name;
        CXmlFile file;
        EXPECT_EQ(file.LoadFromData(c.document), c.read) << c.name;
        CXmlRootChildren xml(c.document, kLimit);
        ASSERT_EQ(xml.ReadRoot() && xml.ReadChild(), c.read) << c.name;
        if (c.read) {
            EXPECT_EQ(xml.Child().attributes.size(), most) << c.name;
        }
    }
}

// What to say of a document a reader refused: it declares an entity longer than the readers expand (nested ones
// expanded), which the readers refuse to expand though the document is well-formed.
TEST(XmlAttributeCount, FindsAnEntityLongerThanTheReadersExpand)
{
    const int limit = XmlAttributeCount::EntityExpansionLimit();
    ASSERT_EQ(limit, 4096);
    const auto entity = [](const char* name, const QByteArray& text) {
        return "<!ENTITY " + QByteArray(name) + " \"" + text + "\">";
    };
    const struct
    {
        const char* name;
        QByteArray document;
        bool past;
    } cases[] = {
        {"none", "<r/>", false},
        {"at the limit", WithSubset(entity("a", QByteArray(limit, 'x')), "&a;"), false},
        {"past it", WithSubset(entity("a", QByteArray(limit + 1, 'x')), "&a;"), true},
        {"past it through another", WithSubset(entity("a", QByteArray(3000, 'x')) + entity("b", "&a;&a;"), "&b;"),
         true},
        {"a parameter entity is none", WithSubset("<!ENTITY % p '" + QByteArray(limit + 1, 'x') + "'>", ""), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlAttributeCount::DeclaresEntityPastExpansionLimit(c.document), c.past) << c.name;
        EXPECT_EQ(XmlAttributeCount::DeclaresEntityPastExpansionLimit(QString::fromUtf8(c.document)), c.past) << c.name;
    }
}

} // namespace
