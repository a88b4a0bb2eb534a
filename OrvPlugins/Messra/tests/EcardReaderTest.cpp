// The e-card reader: our own decoding of the bytes, prolog and root checks, items.
#include "Import/CEcardDocument.h"
#include "Text/EcardText.h"
#include <gtest/gtest.h>

namespace {
QByteArray Utf16(const QString& text, bool littleEndian, bool byteOrderMark)
{
    QByteArray bytes;
    if (byteOrderMark)
        bytes.append(littleEndian ? "\xFF\xFE" : "\xFE\xFF", 2);
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high);
        bytes.append(littleEndian ? high : low);
    }
    return bytes;
}

struct ReadCard
{
    bool wellFormed = false;
    bool checked = false;
    QString message;
    int encoding = -1;
    std::vector<std::pair<bool, CEcardItem>> items;
};

ReadCard Read(const QByteArray& bytes, const char* root = "ECARD")
{
    ReadCard card;
    CEcardDocument document{QString::fromLatin1(root)};
    card.wellFormed = document.SetContent(bytes);
    if (!card.wellFormed)
        return card;
    card.checked = document.Check(card.message);
    card.encoding = document.GetTextEncoding().GetCode();
    if (!card.checked)
        return card;
    do {
        CEcardItem item;
        const bool read = document.ReadCurrentItem(item);
        card.items.emplace_back(read, item);
    } while (document.Next());
    EXPECT_TRUE(document.IsAtEnd());
    return card;
}
} // namespace

TEST(EcardText, EightBitBytesStayOneCharacterEach)
{
    QByteArray bytes;
    for (int value = 1; value < 256; ++value)
        bytes.append(char(value));
    const QString text = DecodeEcardBytes(bytes);
    ASSERT_EQ(text.size(), 255);
    for (int i = 0; i < text.size(); ++i)
        EXPECT_EQ(text.at(i).unicode(), i + 1);
}

TEST(EcardText, Utf16ByMarkOrByUcs2Prolog)
{
    const QString card = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-10146-UCS-2\"?><ECARD>A\u03B2</ECARD>");
    EXPECT_EQ(DecodeEcardBytes(Utf16(card, true, true)), card);
    EXPECT_EQ(DecodeEcardBytes(Utf16(card, false, true)), card);
    EXPECT_EQ(DecodeEcardBytes(Utf16(card, true, false)), card);
    EXPECT_EQ(DecodeEcardBytes(Utf16(card, false, false)), card);

    // Without the UCS-2 name a "<" followed by a zero octet is not taken for UTF-16.
    const QString other = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>A</ECARD>");
    EXPECT_EQ(DecodeEcardBytes(Utf16(other, true, false)).size(), Utf16(other, true, false).size());

    // An odd number of UTF-16 octets is no text.
    QByteArray odd = Utf16(card, true, true);
    odd.chop(1);
    EXPECT_TRUE(DecodeEcardBytes(odd).isNull());
}

TEST(EcardReader, EncodingFromTheProlog)
{
    struct Case
    {
        const char* declaration;
        int encoding;
    } cases[] = {
        {"encoding=\"ISO-8859-1\"", 0},
        {"encoding=\"ISO-8859-15\"", 0},
        {"encoding=\"ISO-8859-7\"", 1},
        {"encoding=\"UTF-8\"", 3},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = QByteArray("<?xml version=\"1.0\" ") + c.declaration + "?><ECARD>x</ECARD>";
        const ReadCard card = Read(bytes);
        EXPECT_TRUE(card.wellFormed) << c.declaration;
        EXPECT_TRUE(card.checked) << c.declaration;
        EXPECT_EQ(card.encoding, c.encoding) << c.declaration;
    }
    const QString ucs2 = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-10146-UCS-2\"?><ECARD>x</ECARD>");
    const ReadCard card = Read(Utf16(ucs2, true, true));
    EXPECT_TRUE(card.checked);
    EXPECT_EQ(card.encoding, 2);
}

TEST(EcardReader, GreekBytesReachTheItemUnchanged)
{
    const ReadCard card = Read("<?xml version=\"1.0\" encoding=\"ISO-8859-7\"?><ECARD>\xC4\xE1</ECARD>");
    ASSERT_TRUE(card.checked);
    ASSERT_EQ(card.items.size(), 1u);
    EXPECT_EQ(card.items[0].second.getRef(), QString::fromLatin1("\xC4\xE1"));
}

TEST(EcardReader, CheckMessages)
{
    struct Case
    {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"<!-- note --><ECARD>x</ECARD>", "Can't find 'xml' node in prolog\n"},
        {"<?xml version=\"1.0\"?><ECARD>x</ECARD>", "Can't find 'encoding' attribute in prolog\n"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><TEMPLATE>x</TEMPLATE>", "Root element tag name is invalid\n"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD/>", "Can't find child element\n"},
    };
    for (const Case& c : cases) {
        const ReadCard card = Read(c.bytes);
        EXPECT_TRUE(card.wellFormed) << c.bytes;
        EXPECT_FALSE(card.checked) << c.bytes;
        EXPECT_EQ(card.message, QString::fromLatin1(c.message)) << c.bytes;
    }
    EXPECT_FALSE(Read("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>").wellFormed);
    EXPECT_FALSE(Read("").wellFormed);
}

TEST(EcardReader, NestingIsBoundedBeforeTheDomReadsIt)
{
    const auto nested = [](int depth) {
        return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>" + QByteArray("<a>").repeated(depth - 1)
               + QByteArray("</a>").repeated(depth - 1) + "</ECARD>";
    };
    CEcardDocument deepest(QStringLiteral("ECARD"));
    EXPECT_TRUE(deepest.SetContent(nested(256)));
    EXPECT_FALSE(deepest.IsNestedTooDeeply());
    CEcardDocument tooDeep(QStringLiteral("ECARD"));
    EXPECT_FALSE(tooDeep.SetContent(nested(257)));
    EXPECT_TRUE(tooDeep.IsNestedTooDeeply());
    // The flag is about the last content only.
    EXPECT_FALSE(tooDeep.SetContent(QByteArray("<ECARD>")));
    EXPECT_FALSE(tooDeep.IsNestedTooDeeply());
}

TEST(EcardReader, ItemsInDocumentOrder)
{
    const ReadCard card = Read("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<ECARD>Hi "
                               "<IE TYPE=\"EMP\" STYPE=\"SML\" REF=\"a.emp\"/> there"
                               "<IE TYPE=\"IMY\" STYPE=\"\" REF=\"b.imy\"/>"
                               "<IE TYPE=\"IMY\" REF=\"b.imy\"/>"
                               "<PIC TYPE=\"PIC\" STYPE=\"USR\" REF=\"c.pic\"/>"
                               "<!-- comment -->"
                               "<IE TYPE=\"EMA\" STYPE=\"PRE\" REF=\"3\"/></ECARD>");
    ASSERT_TRUE(card.checked);
    ASSERT_EQ(card.items.size(), 8u);
    const auto& items = card.items;
    EXPECT_TRUE(items[0].first);
    EXPECT_EQ(items[0].second.getType(), QStringLiteral("TXT"));
    EXPECT_EQ(items[0].second.getRef(), QStringLiteral("Hi "));
    EXPECT_TRUE(items[1].first);
    EXPECT_EQ(items[1].second.getSType(), QStringLiteral("SML"));
    EXPECT_EQ(items[1].second.getRef(), QStringLiteral("a.emp"));
    EXPECT_TRUE(items[2].first);
    EXPECT_EQ(items[2].second.getRef(), QStringLiteral(" there"));
    EXPECT_FALSE(items[3].first); // empty STYPE
    EXPECT_FALSE(items[4].first); // missing STYPE
    EXPECT_FALSE(items[5].first); // not an IE element
    EXPECT_FALSE(items[6].first); // comment
    EXPECT_TRUE(items[7].first);
    EXPECT_EQ(items[7].second.getType(), QStringLiteral("EMA"));
}
