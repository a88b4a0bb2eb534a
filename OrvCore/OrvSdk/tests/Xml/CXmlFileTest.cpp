#include "Xml/CXmlFile.h"
#include "tests/SdkTestSupport.h"

#include <QDomElement>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cfloat>

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
// A file that lets its document go when told, as parameter sets do once read.
class ReleasingXmlFile : public CXmlFile
{
public:
    using CXmlFile::ReleaseDocument;
};

QByteArray Saved(CXmlFile& file, const QTemporaryDir& dir, const char* name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!file.Save(path))
        return QByteArray();
    QFile saved(path);
    return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
}
} // namespace

// A document let go and read again answers as if it had been held all along:
// the cursor where it was, every read and write, and what is saved.
TEST(XmlFileDocument, ADocumentLetGoIsReadAgainWithTheCursorInPlace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ReleasingXmlFile released;
    CXmlFile held;
    for (CXmlFile* file : {static_cast<CXmlFile*>(&released), &held}) {
        ASSERT_TRUE(file->LoadFromData(QByteArray(kTree)));
        ASSERT_TRUE(file->GoToElement(S("A"), false, 1));
        ASSERT_TRUE(file->GoToChild(1));
    }
    released.ReleaseDocument();
    EXPECT_TRUE(released.HasDocument());
    EXPECT_EQ(released.GetPath(), held.GetPath());
    EXPECT_EQ(Attribute(released, "id"), QStringLiteral("b11"));
    EXPECT_TRUE(released.GoToParent());
    EXPECT_EQ(Attribute(released, "id"), QStringLiteral("a1"));

    // Once changed, the document is held: letting it go again keeps the change.
    for (CXmlFile* file : {static_cast<CXmlFile*>(&released), &held}) {
        ASSERT_TRUE(file->GoToElement(S("C"), true));
        ASSERT_TRUE(file->SetStringAttribute(S("t"), S("changed")));
    }
    released.ReleaseDocument();
    EXPECT_EQ(Attribute(released, "t"), QStringLiteral("changed"));
    EXPECT_EQ(Saved(released, dir, "released.xml"), Saved(held, dir, "held.xml"));
    EXPECT_FALSE(Saved(held, dir, "held.xml").isEmpty());

    // A document let go and saved untouched writes what the held one writes.
    ReleasingXmlFile untouched;
    ASSERT_TRUE(untouched.LoadFromData(QByteArray(kTree)));
    CXmlFile twin;
    ASSERT_TRUE(twin.LoadFromData(QByteArray(kTree)));
    untouched.ReleaseDocument();
    EXPECT_EQ(Saved(untouched, dir, "untouched.xml"), Saved(twin, dir, "twin.xml"));
}
