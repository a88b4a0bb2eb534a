#include "Xml/CXmlFile.h"
#include "tests/SdkTestSupport.h"

#include <QDomElement>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cfloat>
#include <random>

namespace {
// Root R with two A children (the first holding one B, the second two),
// comments and text between elements, and a C with a few attributes.
const char kTree[] =
    "<?xml version=\"1.0\"?>\n"
    "<R>\n"
    "  <!-- first A -->\n"
    "  <A id=\"a0\"><B id=\"b00\"/>some text</A>\n"
    "  <A id=\"a1\"><B id=\"b10\"/><B id=\"b11\"/></A>\n"
    "  <C n=\"12abc\" i=\"42\" f=\"1.5\" t=\"text\" e=\"\" big=\"2147483648\" neg=\"-2147483648\"/>\n"
    "  <F max=\"3.40282347e+38\" near=\"-3.4028235e+38\" over=\"3.4028236e+38\" huge=\"1e39\" exp=\"2.5E-3\"/>\n"
    "</R>\n";

QString Attribute(const CXmlFile& file, const char* name)
{
    QString value;
    file.GetStringAttribute(QString::fromLatin1(name), value);
    return value;
}

class XmlTree : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(mFile.LoadFromData(QByteArray(kTree))); }
    CXmlFile mFile;
};

QString S(const char* text)
{
    return QString::fromLatin1(text);
}
} // namespace

TEST(XmlFileDocument, EmptyObjectFailsEverything)
{
    CXmlFile file;
    EXPECT_FALSE(file.HasDocument());
    EXPECT_TRUE(file.GetRootElement().isNull());
    EXPECT_TRUE(file.GetCurrentNode().isNull());
    EXPECT_FALSE(file.GoToElement(QString(), true, 0));
    EXPECT_FALSE(file.FindElement(S("A"), false, 0));
    EXPECT_FALSE(file.GoToChild(0));
    EXPECT_FALSE(file.GoToParent());
    EXPECT_EQ(file.CountElements(), 0);
    EXPECT_EQ(file.CountAttributes(), 0);
    EXPECT_FALSE(file.AddElement(S("A")));
    EXPECT_FALSE(file.SetIntAttribute(S("x"), 1));
    EXPECT_FALSE(file.SetFloatAttribute(S("x"), 1.0f));
    EXPECT_FALSE(file.SetStringAttribute(S("x"), S("y")));
    EXPECT_TRUE(file.WriteIntAttribute(S("x"), 1));
    EXPECT_TRUE(file.WriteStringAttribute(S("x"), S("y")));
    long value = 7;
    EXPECT_FALSE(file.GetLongAttribute(S("x"), value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(file.GetPath().isEmpty());
    EXPECT_TRUE(file.GetTagName().isEmpty());
    EXPECT_FALSE(file.Save(S("/nonexistent/never.xml")));
}

TEST(XmlFileDocument, MalformedInputLeavesNoDocument)
{
    const char* const inputs[] = {
        "",
        "<R>",
        "<R></S>",
        "not xml at all",
        "<R a=\"1\" a=\"2\"/>",
        "<R/><S/>",
        "\xff\xfe<\0R\0/\0>\0",
        "<?xml version=\"1.0\" encoding=\"UCS-2\"?><R/>",
    };
    for (const char* input : inputs) {
        CXmlFile file;
        ASSERT_TRUE(file.CreateDocument(S("Old")));
        EXPECT_FALSE(file.LoadFromData(QByteArray(input))) << input;
        EXPECT_FALSE(file.HasDocument()) << input;
        EXPECT_TRUE(file.GetCurrentNode().isNull()) << input;
        EXPECT_FALSE(file.Save(S("unused.xml"))) << input;
    }
}

TEST(XmlFileDocument, DocumentNestedPastAllReasonIsRefusedQuickly)
{
    // 300,000 levels keep the DOM busy for minutes; the depth check refuses them at once, from memory and
    // from a file, while a document at the allowed depth still loads.
    QByteArray deep;
    for (int i = 0; i < 300000; ++i)
        deep += "<a>";
    CXmlFile file;
    EXPECT_FALSE(file.LoadFromData(deep));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteFileBytes(dir.filePath(S("deep.xml")), deep));
    EXPECT_FALSE(file.Load(dir.filePath(S("deep.xml"))));
    EXPECT_FALSE(file.HasDocument());

    QByteArray allowed;
    for (int i = 0; i < 256; ++i)
        allowed += "<a>";
    for (int i = 0; i < 256; ++i)
        allowed += "</a>";
    EXPECT_TRUE(file.LoadFromData(allowed));
}

TEST(XmlFileDocument, LoadOfMissingOrMalformedFileFailsAndSaveThenFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bad = dir.filePath(S("bad.xml"));
    ASSERT_TRUE(WriteFileBytes(bad, "<R><unclosed></R>"));

    CXmlFile file;
    EXPECT_FALSE(file.Load(bad));
    EXPECT_FALSE(file.Save(dir.filePath(S("out.xml"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(S("out.xml"))));
    EXPECT_FALSE(file.Load(dir.filePath(S("missing.xml"))));
    EXPECT_FALSE(file.Load(dir.path()));
    EXPECT_FALSE(file.Load(QString()));
    EXPECT_FALSE(file.HasDocument());
}

TEST(XmlFileDocument, CreateSaveAndLoadRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(S("settings.xml"));

    CXmlFile file;
    ASSERT_TRUE(file.CreateDocument(S("Settings")));
    EXPECT_EQ(file.GetRootElement().toElement().tagName(), S("Settings"));
    EXPECT_EQ(file.GetCurrentNode(), file.GetRootElement());
    EXPECT_TRUE(file.SetIntAttribute(S("x"), -12));
    EXPECT_TRUE(file.SetFloatAttribute(S("f"), 0.1f));
    EXPECT_TRUE(file.SetStringAttribute(S("s"), QString::fromUtf8("\xc3\xa9t\xc3\xa9 <&>\"")));
    EXPECT_TRUE(file.AddElement(S("Child")));
    ASSERT_TRUE(file.Save(path));
    EXPECT_FALSE(file.Save(dir.filePath(S("no/such/folder.xml"))));

    CXmlFile again;
    ASSERT_TRUE(again.Load(path));
    long x = 0;
    float f = 0;
    EXPECT_TRUE(again.GetLongAttribute(S("x"), x));
    EXPECT_EQ(x, -12);
    EXPECT_TRUE(again.GetFloatAttribute(S("f"), f));
    EXPECT_FLOAT_EQ(f, 0.1f);
    EXPECT_EQ(Attribute(again, "s"), QString::fromUtf8("\xc3\xa9t\xc3\xa9 <&>\""));
    EXPECT_EQ(again.CountElements(S("Child")), 1);
}

TEST(XmlFileDocument, LoadReplacesThePreviousDocument)
{
    CXmlFile file;
    ASSERT_TRUE(file.LoadFromData(QByteArray("<First><X/></First>")));
    ASSERT_TRUE(file.GoToElement(S("X")));
    ASSERT_TRUE(file.LoadFromData(QByteArray("<Second/>")));
    EXPECT_EQ(file.GetCurrentNode().toElement().tagName(), S("Second"));
    EXPECT_EQ(file.CountElements(), 0);
}

TEST_F(XmlTree, SecondMatchCountsOnlyUnderTheFirstInnerMatch)
{
    // The first A has only one B: the search does not go on into the second A.
    EXPECT_FALSE(mFile.GoToElement(S("A.B"), true, 1));
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());
    ASSERT_TRUE(mFile.GoToElement(S("A.B"), true, 0));
    EXPECT_EQ(Attribute(mFile, "id"), S("b00"));
    ASSERT_TRUE(mFile.GoToElement(S("A"), true, 1));
    ASSERT_TRUE(mFile.GoToElement(S("B"), false, 1));
    EXPECT_EQ(Attribute(mFile, "id"), S("b11"));
    EXPECT_EQ(mFile.GetPath(), S("A.B."));
}

TEST_F(XmlTree, TrailingSeparatorIgnoresTheIndex)
{
    ASSERT_TRUE(mFile.GoToElement(S("A."), true, 1));
    EXPECT_EQ(Attribute(mFile, "id"), S("a0"));
    ASSERT_TRUE(mFile.GoToElement(S("A"), true, 1));
    EXPECT_EQ(Attribute(mFile, "id"), S("a1"));
    EXPECT_FALSE(mFile.GoToElement(S("A"), true, 2));
    EXPECT_FALSE(mFile.GoToElement(S("A"), true, -1));
}

TEST_F(XmlTree, EmptyPathFromRootAndRootTag)
{
    ASSERT_TRUE(mFile.GoToElement(S("A.B"), true, 0));
    EXPECT_TRUE(mFile.GoToElement(QString(), true, 0));
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());
    EXPECT_TRUE(mFile.FindElement(S(""), false, 5));
    // The start element never matches the first component.
    EXPECT_FALSE(mFile.FindElement(S("R"), true, 0));
    EXPECT_FALSE(mFile.FindElement(S("A..B"), true, 0));
    EXPECT_FALSE(mFile.FindElement(S("a"), true, 0));
}

TEST_F(XmlTree, TagPathAndParent)
{
    EXPECT_TRUE(mFile.GetTagName().isEmpty());
    EXPECT_TRUE(mFile.GetPath().isEmpty());
    EXPECT_FALSE(mFile.GoToParent());
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());

    ASSERT_TRUE(mFile.GoToElement(S("A"), true, 1));
    EXPECT_EQ(mFile.GetTagName(), S("A"));
    EXPECT_EQ(mFile.GetPath(), S("A."));
    EXPECT_TRUE(mFile.GoToParent());
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());
}

TEST_F(XmlTree, FindDoesNotMoveTheCursor)
{
    ASSERT_TRUE(mFile.FindElement(S("C"), false, 0));
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());
}

TEST_F(XmlTree, ChildrenCountElementsOnly)
{
    EXPECT_EQ(mFile.CountElements(), 4);
    EXPECT_EQ(mFile.CountElements(QString()), 4);
    EXPECT_EQ(mFile.CountElements(S("")), 0);
    EXPECT_EQ(mFile.CountElements(S("A")), 2);
    EXPECT_EQ(mFile.CountElements(S("Z")), 0);

    ASSERT_TRUE(mFile.GoToChild(2));
    EXPECT_EQ(mFile.GetTagName(), S("C"));
    EXPECT_EQ(mFile.CountAttributes(), 7);
    EXPECT_FALSE(mFile.GoToChild(0));
    EXPECT_TRUE(mFile.GoToParent());
    EXPECT_FALSE(mFile.GoToChild(4));
    EXPECT_FALSE(mFile.GoToChild(-1));
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());
    ASSERT_TRUE(mFile.GoToChild(0));
    EXPECT_EQ(mFile.CountElements(), 1); // text and comments are skipped
}

TEST_F(XmlTree, AddElementOnlyWhenAbsent)
{
    EXPECT_FALSE(mFile.AddElement(S("A")));
    EXPECT_EQ(mFile.CountElements(S("A")), 2);
    EXPECT_TRUE(mFile.AddElement(S("D")));
    EXPECT_EQ(mFile.GetCurrentNode(), mFile.GetRootElement());
    ASSERT_TRUE(mFile.GoToChild(4));
    EXPECT_EQ(mFile.GetTagName(), S("D"));
    EXPECT_FALSE(mFile.AddElement(QString()));
}

TEST_F(XmlTree, RemoveElementTellsWhetherOneWentAway)
{
    EXPECT_TRUE(mFile.RemoveElement(S("A")));
    EXPECT_EQ(mFile.CountElements(S("A")), 1);
    ASSERT_TRUE(mFile.GoToElement(S("A")));
    EXPECT_EQ(Attribute(mFile, "id"), S("a1"));
    EXPECT_FALSE(mFile.RemoveElement(S("Z")));
    EXPECT_FALSE(mFile.RemoveElement(QString()));
}

TEST_F(XmlTree, TypedReads)
{
    ASSERT_TRUE(mFile.GoToElement(S("C")));
    // A failed read leaves the value as it was; a 32-bit reader does not
    // convert one past the largest int.
    struct LongCase
    {
        const char* name;
        bool found;
        long value;
    };
    const LongCase longs[] = {
        {"n", true, 0}, {"missing", false, 99}, {"i", true, 42}, {"big", true, 0}, {"neg", true, -2147483647L - 1},
    };
    for (const LongCase& c : longs) {
        long value = 99;
        EXPECT_EQ(mFile.GetLongAttribute(S(c.name), value), c.found) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
    struct FloatCase
    {
        const char* name;
        bool found;
        float value;
    };
    const FloatCase floats[] = {{"f", true, 1.5f}, {"t", true, 0.0f}, {"missing", false, 5.0f}};
    for (const FloatCase& c : floats) {
        float value = 5;
        EXPECT_EQ(mFile.GetFloatAttribute(S(c.name), value), c.found) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }

    QString text = S("untouched");
    EXPECT_FALSE(mFile.GetStringAttribute(S("missing"), text));
    EXPECT_EQ(text, S("untouched"));
    EXPECT_TRUE(mFile.GetStringAttribute(S("e"), text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(text.isNull());
    EXPECT_TRUE(mFile.HasAttribute(S("e")));
    EXPECT_FALSE(mFile.HasAttribute(S("E")));
}

TEST_F(XmlTree, FloatTextsRoundToTheNearestFloat)
{
    ASSERT_TRUE(mFile.GoToElement(S("F")));
    struct Case
    {
        const char* name;
        float value;
    };
    const Case cases[] = {
        {"max", FLT_MAX}, {"near", -FLT_MAX}, {"over", 0.0f}, {"huge", 0.0f}, {"exp", 0.0025f},
    };
    for (const Case& c : cases) {
        float value = 1.0f;
        EXPECT_TRUE(mFile.GetFloatAttribute(S(c.name), value));
        EXPECT_EQ(value, c.value) << c.name;
    }
    int kind = -1;
    EXPECT_TRUE(mFile.GetAttributeType(S("max"), kind));
    EXPECT_EQ(kind, 1);
    EXPECT_TRUE(mFile.GetAttributeType(S("huge"), kind));
    EXPECT_EQ(kind, 2);
}

TEST_F(XmlTree, AttributeKinds)
{
    ASSERT_TRUE(mFile.GoToElement(S("C")));
    // An integer text is a float text too; a missing one leaves the kind alone.
    struct Case
    {
        const char* name;
        bool found;
        int kind;
    };
    const Case cases[] = {{"f", true, 1}, {"i", true, 1}, {"t", true, 2}, {"missing", false, -1}};
    for (const Case& c : cases) {
        int kind = -1;
        EXPECT_EQ(mFile.GetAttributeType(S(c.name), kind), c.found) << c.name;
        EXPECT_EQ(kind, c.kind) << c.name;
    }
}

TEST_F(XmlTree, NumberWritesUseTheToolkitTexts)
{
    struct Case
    {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.1f, "0.1"},         {1234567.0f, "1.23457e+06"}, {-2.5f, "-2.5"},     {0.0f, "0"},
        {100000.0f, "100000"}, {0.0001f, "0.0001"},         {0.00001f, "1e-05"},
    };
    ASSERT_TRUE(mFile.GoToElement(S("C")));
    for (const Case& c : cases) {
        ASSERT_TRUE(mFile.SetFloatAttribute(S("w"), c.value));
        EXPECT_EQ(Attribute(mFile, "w"), S(c.text));
    }
    ASSERT_TRUE(mFile.SetIntAttribute(S("i"), -2147483647 - 1));
    EXPECT_EQ(Attribute(mFile, "i"), S("-2147483648"));
    ASSERT_TRUE(mFile.WriteStringAttribute(S("i"), S("x")));
    EXPECT_EQ(Attribute(mFile, "i"), S("x"));
    EXPECT_EQ(mFile.CountAttributes(), 8);
}

namespace {
QByteArray SavedText(CXmlFile& file, const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (!file.Save(path))
        return QByteArray();
    QFile saved(path);
    return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
}
} // namespace

// A plain document is read into a light element tree and its DOM built only
// when something needs it. The tree must answer every read of the cursor as
// the DOM does: the same random walks over several documents, one file on its
// tree, its twin on its DOM (built at once by handing out the cursor node),
// then the same change saved by both.
TEST(XmlFileDocument, TheElementTreeAnswersEveryReadAsTheDomDoes)
{
    const QByteArray documents[] = {
        kTree,
        "<P><!-- c --><TSECTION><TYPE NAME=\"Integer\"/></TSECTION>text<PSECTION><DATA NAME=\"a\" VALUE=\"1\"/>"
        "<VECTOR NAME=\"v\"><DATA NAME=\"b\" VALUE=\"2.5\"/><DATA NAME=\"c\" VALUE=\"x\"/></VECTOR>"
        "<DATA NAME=\"d\" VALUE=\"\"/></PSECTION><ISECTION><GROUP><INPUT REF=\"a\"/></GROUP></ISECTION></P>",
        // Left to the toolkit's reader (character data): both twins use the DOM.
        "<R><A id=\"1\"><![CDATA[x]]></A><A id=\"2\"/></R>",
    };
    const QStringList tags = {S("A"),
                              S("B"),
                              S("C"),
                              S("F"),
                              S("R"),
                              S("DATA"),
                              S("PSECTION"),
                              S("VECTOR"),
                              S("A.B"),
                              S("PSECTION.VECTOR.DATA"),
                              S("ISECTION.GROUP"),
                              S("X"),
                              S("")};
    const QStringList names = {S("id"), S("n"), S("i"), S("f"), S("e"), S("big"), S("NAME"), S("VALUE"), S("zz")};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::mt19937 random(7);
    int round = 0;
    for (const QByteArray& document : documents) {
        for (int walk = 0; walk < 40; ++walk, ++round) {
            CXmlFile tree;
            CXmlFile dom;
            ASSERT_TRUE(tree.LoadFromData(document));
            ASSERT_TRUE(dom.LoadFromData(document));
            ASSERT_FALSE(dom.GetCurrentNode().isNull());
            for (int step = 0; step < 30; ++step) {
                const QString& tag = tags[random() % tags.size()];
                const QString& name = names[random() % names.size()];
                const int index = int(random() % 3);
                const bool fromRoot = random() % 2;
                const QString someTag = random() % 4 == 0 ? QString() : tag;
                SCOPED_TRACE(testing::Message() << "round " << round << " step " << step);
                switch (random() % 9) {
                case 0:
                    EXPECT_EQ(tree.GoToElement(tag, fromRoot, index), dom.GoToElement(tag, fromRoot, index));
                    break;
                case 1:
                    EXPECT_EQ(tree.FindElement(tag, fromRoot, index), dom.FindElement(tag, fromRoot, index));
                    break;
                case 2:
                    EXPECT_EQ(tree.GoToChild(index - 1), dom.GoToChild(index - 1));
                    break;
                case 3:
                    EXPECT_EQ(tree.GoToLastChildElement(someTag), dom.GoToLastChildElement(someTag));
                    break;
                case 4:
                    EXPECT_EQ(tree.GoToPreviousSiblingElement(someTag), dom.GoToPreviousSiblingElement(someTag));
                    break;
                case 5:
                    EXPECT_EQ(tree.GoToParent(), dom.GoToParent());
                    break;
                case 6:
                    EXPECT_EQ(tree.CountElements(someTag), dom.CountElements(someTag));
                    EXPECT_EQ(tree.CountAttributes(), dom.CountAttributes());
                    break;
                default: {
                    QString treeText = S("-");
                    QString domText = S("-");
                    EXPECT_EQ(tree.HasAttribute(name), dom.HasAttribute(name));
                    EXPECT_EQ(tree.GetStringAttribute(name, treeText), dom.GetStringAttribute(name, domText));
                    EXPECT_EQ(treeText, domText);
                    EXPECT_EQ(treeText.isNull(), domText.isNull());
                    long treeLong = -7;
                    long domLong = -7;
                    float treeFloat = -7;
                    float domFloat = -7;
                    int treeKind = -7;
                    int domKind = -7;
                    EXPECT_EQ(tree.GetLongAttribute(name, treeLong), dom.GetLongAttribute(name, domLong));
                    EXPECT_EQ(tree.GetFloatAttribute(name, treeFloat), dom.GetFloatAttribute(name, domFloat));
                    EXPECT_EQ(tree.GetAttributeType(name, treeKind), dom.GetAttributeType(name, domKind));
                    EXPECT_EQ(treeLong, domLong);
                    EXPECT_EQ(treeFloat, domFloat);
                    EXPECT_EQ(treeKind, domKind);
                    break;
                }
                }
                ASSERT_EQ(tree.GetPath(), dom.GetPath());
                ASSERT_EQ(tree.GetTagName(), dom.GetTagName());
            }
            // A change builds the tree file's DOM with its cursor in place.
            EXPECT_EQ(tree.SetStringAttribute(S("changed"), S("yes")), dom.SetStringAttribute(S("changed"), S("yes")));
            EXPECT_EQ(tree.AddElement(S("Added")), dom.AddElement(S("Added")));
            EXPECT_EQ(tree.GetPath(), dom.GetPath());
            const QString name = QString::number(round);
            EXPECT_EQ(SavedText(tree, dir, name + S("t.xml")), SavedText(dom, dir, name + S("d.xml")));
        }
    }
}
