#include "ParameterTestUtil.h"
#include "Parameters/CParameters.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <gtest/gtest.h>

using namespace ParameterTest;

namespace {
QDomDocument ReadDom(const QString& path)
{
    QDomDocument document;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        document.setContent(&file);
    return document;
}

// Every difference between two element trees, as "path@attribute: old -> new".
void Diff(const QDomElement& before, const QDomElement& after, const QString& path, QStringList& out)
{
    const QString here = path + S("/") + before.tagName();
    if (before.tagName() != after.tagName()) {
        out << here + S(" tag differs");
        return;
    }
    const QDomNamedNodeMap a = before.attributes();
    const QDomNamedNodeMap b = after.attributes();
    if (a.count() != b.count())
        out << here + S(" attribute count differs");
    for (int i = 0; i < a.count(); ++i) {
        const QString name = a.item(i).nodeName();
        if (before.attribute(name) != after.attribute(name))
            out << here + S("@") + name + S(": ") + before.attribute(name) + S(" -> ") + after.attribute(name);
    }
    QDomNode x = before.firstChild();
    QDomNode y = after.firstChild();
    for (; !x.isNull() && !y.isNull(); x = x.nextSibling(), y = y.nextSibling()) {
        if (x.nodeType() != y.nodeType())
            out << here + S(" child kind differs");
        else if (x.isElement())
            Diff(x.toElement(), y.toElement(), here, out);
        else if (x.isComment() && x.nodeValue() != y.nodeValue())
            out << here + S(" comment differs");
    }
    if (!x.isNull() || !y.isNull())
        out << here + S(" child count differs");
}

QStringList DiffFiles(const QString& before, const QString& after)
{
    QStringList out;
    Diff(ReadDom(before).documentElement(), ReadDom(after).documentElement(), QString(), out);
    return out;
}
} // namespace

TEST(ParametersSave, UnchangedSetWritesTheSameTree)
{
    TempFiles files;
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    const QString out = files.Path("same.xml");
    ASSERT_TRUE(set.Save(out));
    EXPECT_EQ(DiffFiles(FixturePath("Converter.xml"), out), QStringList());
}

TEST(ParametersSave, OnlyTheChangedValuesAreRewritten)
{
    TempFiles files;
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    set.GetIntParameter(S("Tempo"))->mValue = 70;
    set.GetBoolParameter(S("Keep1"))->mValue = true;
    set.GetFloatParameter(S("Volume1"))->mValue = 1.0f / 3.0f;
    set.GetStringParameter(S("Title"))->mValue = S("A \"new\" <title> & more");
    ASSERT_TRUE(set.GetEnumParameter(S("Style"))->SetValue(S("Staccato")));
    const QString out = files.Path("changed.xml");
    ASSERT_TRUE(set.Save(out));

    QStringList expected = {
        S("/ConverterParameters/PSECTION/DATA@VALUE: 63 -> 70"),
        S("/ConverterParameters/PSECTION/DATA@VALUE: Untitled tune -> A \"new\" <title> & more"),
        S("/ConverterParameters/PSECTION/DATA@VALUE: Continuous -> Staccato"),
        S("/ConverterParameters/PSECTION/VECTOR/DATA@VALUE: false -> true"),
        S("/ConverterParameters/PSECTION/VECTOR/DATA@VALUE: 0.25 -> 0.333333"),
    };
    EXPECT_EQ(DiffFiles(FixturePath("Converter.xml"), out), expected);

    // The saved file loads again to the same values; limits and flags are as declared.
    CParameters again;
    ASSERT_TRUE(again.Load(out));
    EXPECT_EQ(again.GetIntParameter(S("Tempo"))->mValue, 70);
    EXPECT_EQ(again.GetIntParameter(S("Tempo"))->mMax, 900);
    EXPECT_TRUE(again.GetBoolParameter(S("Keep1"))->mValue);
    EXPECT_FLOAT_EQ(again.GetFloatParameter(S("Volume1"))->mValue, 0.333333f);
    EXPECT_EQ(again.GetStringParameter(S("Title"))->GetValue(), S("A \"new\" <title> & more"));
    EXPECT_EQ(again.GetEnumParameter(S("Style"))->GetValue(), S("Staccato"));
    EXPECT_TRUE(again.GetIntParameter(S("Locked"))->mIsConst);
    EXPECT_EQ(again.GetInterfaceNodes().size(), 5);
}

TEST(ParametersSave, GoToDataElementSearchesDirectDataThenVectors)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    ASSERT_TRUE(set.GoToDataElement(S("Volume1")));
    QString name;
    ASSERT_TRUE(set.GetStringAttribute(S("NAME"), name));
    EXPECT_EQ(name, S("Volume1"));
    EXPECT_EQ(set.GetPath(), S("PSECTION.VECTOR.DATA."));
    ASSERT_TRUE(set.GoToDataElement(S("Tempo")));
    EXPECT_EQ(set.GetPath(), S("PSECTION.DATA."));
    EXPECT_FALSE(set.GoToDataElement(S("Nothing")));
}

TEST(ParametersSave, UnwritableDestinationFails)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    EXPECT_FALSE(set.Save(S("/nonexistent-folder/params.xml")));
}
