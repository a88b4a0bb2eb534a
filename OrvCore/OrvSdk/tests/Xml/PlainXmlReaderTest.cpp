// The plain reader must build exactly the toolkit's document, or decline.
#include "Xml/PlainXmlReader.h"
#include "FuzzSeed.h"
#include "PlainXmlComparison.h"
#include "Xml/XmlNesting.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

TEST(PlainXmlReader, BuildsTheToolkitsDocument)
{
    const QByteArray accepted[] = {
        "<a/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a x='1'>\n  <b>t &amp; u &#65;&#x42; v</b>\n  <!-- c -->\n</a>\n",
        "<?xml version='1.0'?><a/>",
        "<?xml version=\"1.0\" standalone=\"yes\"?><a/>",
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\" ?><a/>",
        // Line ends, and white space in values.
        "<a y=\"p\tq\nr\r\ns\">x\r\ny<b/>  z  </a>",
        "<a x='&#10;&#9;&#13;'/>",
        "<a>x\r\n<!--\r\n-->\r</a>",
        "<a>x\ry</a>",
        // Text is cut by comments; white space alone (in the toolkit's wide sense) is dropped.
        "<a>x<!--c-->y</a>",
        "<a>  x  <!--c-->  </a>",
        "<a> &#32; </a>",
        "<a> &#160; </a>",
        "<a>\xc2\x85</a>",
        "<a> &#65; </a>",
        "<a>&lt;&gt;&apos;&quot;&amp;</a>",
        "<!--pre--><a/><!--post-->\n\n",
        "<a><!----><!-- a-b --></a>",
        "<a>]]</a>",
        "<a x='a>b' y=\"'\" z='\"'/>",
        "<a  x = '1'\n y\t=\"2\" ></a >",
        // Beyond ASCII: two, three and four bytes, and a character reference above the BMP.
        "<a t='\xc3\xa9'>\xe2\x82\xac \xf0\x9f\x8e\xb5 &#x1F3B5; \xef\xb7\x90</a>",
        "<a.b-c_d/>",
    };
    for (const QByteArray& bytes : accepted) {
        SCOPED_TRACE(bytes.toStdString());
        EXPECT_EQ(PlainXmlComparison::Compare(bytes), PlainXmlComparison::Outcome::Same);
    }
}

TEST(PlainXmlReader, DeclinesWhatLiesOutsideThePlainPart)
{
    const QByteArray declined[] = {
        // Valid, but left to the toolkit.
        "<a><![CDATA[x]]></a>",
        "<!DOCTYPE a><a/>",
        "<a><?pi x?></a>",
        "<a:b xmlns:a='u'/>",
        "<a b:c='1'/>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xe9</a>",
        "\xef\xbb\xbf<a/>",
        "<\xc3\xa9/>",
        // Not well-formed.
        "",
        "   ",
        "<a>",
        "<a></b>",
        "<a x='1' x='2'/>",
        "<a x='1'y='2'/>",
        "<a x='<'/>",
        "<a x=1/>",
        "<a>]]></a>",
        "<a>\x01</a>",
        "<a>\xef\xbf\xbe</a>",
        "<a>\xc0\xaf</a>",
        "<a>\xed\xa0\x80</a>",
        "<a>\xf4\x90\x80\x80</a>",
        "<a>\xe2\x82</a>",
        "<a>&nbsp;</a>",
        "<a>&#0;</a>",
        "<a>&#xD800;</a>",
        "<a>&#xFFFE;</a>",
        "<a>&#x110000;</a>",
        "<a>&#;</a>",
        "<a>&#12a;</a>",
        "<a>& b</a>",
        "<a/><b/>",
        "<a/>x",
        "x<a/>",
        "\n<?xml version=\"1.0\"?><a/>",
        "<?xml version=\"1.1\"?><a/>",
        "<?xml encoding=\"UTF-8\"?><a/>",
        "<?xml version=\"1.0\"encoding=\"UTF-8\"?><a/>",
        "<?xml version=\"1.0\" standalone=\"maybe\"?><a/>",
        "<a><!-- x -- y --></a>",
        "<a><!-- x ---></a>",
        "<a><!--x</a>",
        "<a>< b/></a>",
        "<1a/>",
    };
    for (const QByteArray& bytes : declined) {
        SCOPED_TRACE(bytes.toStdString());
        EXPECT_EQ(PlainXmlComparison::Compare(bytes), PlainXmlComparison::Outcome::Declined);
    }
}

TEST(PlainXmlReader, DeclinesPastTheDepthLimit)
{
    const auto nested = [](int depth) {
        return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
    };
    QDomDocument document;
    EXPECT_TRUE(PlainXml::BuildDocument(nested(XmlNesting::MaxDepth), document, XmlNesting::MaxDepth));
    EXPECT_FALSE(PlainXml::BuildDocument(nested(XmlNesting::MaxDepth + 1), document, XmlNesting::MaxDepth));
}

// Every XML file the application folder ships takes the quick road, and gives
// the toolkit's document.
TEST(PlainXmlReader, TakesEveryShippedFile)
{
    QDirIterator files(QStringLiteral(ORV_APP_DIR), {QStringLiteral("*.xml")}, QDir::Files,
                       QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(PlainXmlComparison::Compare(bytes), PlainXmlComparison::Outcome::Same);
        SaveSeed(QFileInfo(path).fileName(), bytes);
        ++count;
    }
    EXPECT_GE(count, 14);
}

// Damaged copies of plain documents: whatever the plain reader accepts, the
// toolkit accepts too, with the same document.
TEST(PlainXmlReader, NeverDiffersFromTheToolkitOnDamagedDocuments)
{
    const QByteArray seeds[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r a='1' b=\"&amp;&#65;\">\n <c>t\xc3\xa9xt &lt; x</c><!-- n -->\r\n"
        " <d/>\n</r>\n",
        "<PARAMETERS><PARAMETER NAME=\"Tempo\" TYPE=\"INT\"><VALUE>120</VALUE></PARAMETER></PARAMETERS>",
    };
    const char alphabet[] = "<>/='\"&;#x!-?[] \t\r\n\xc3\xa9\xef\xbf\x01"
                            "ab:";
    QRandomGenerator random(20261209);
    int same = 0;
    for (const QByteArray& seed : seeds) {
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = seed;
            const int edits = 1 + int(random.bounded(3));
            for (int e = 0; e < edits; ++e) {
                const int at = int(random.bounded(bytes.size() + 1));
                const char c = alphabet[random.bounded(int(sizeof(alphabet) - 1))];
                switch (random.bounded(3)) {
                case 0:
                    if (at < bytes.size())
                        bytes[at] = c;
                    break;
                case 1:
                    bytes.insert(at, c);
                    break;
                default:
                    bytes.remove(at, 1);
                    break;
                }
            }
            const PlainXmlComparison::Outcome outcome = PlainXmlComparison::Compare(bytes);
            ASSERT_NE(outcome, PlainXmlComparison::Outcome::Differs) << bytes.toStdString();
            same += outcome == PlainXmlComparison::Outcome::Same;
        }
    }
    // Many damaged copies are still plain documents: the comparison did compare.
    EXPECT_GT(same, 500);
}

} // namespace
