#include "Text/CGsm7Coder.h"
#include "Text/CSourceEncodingType.h"
#include "tests/SdkTestSupport.h"

#include <QString>
#include <gtest/gtest.h>

namespace {
const uchar* Latin1()
{
    return CGsm7Coder::GetConversionTable(0);
}
const uchar* Greek()
{
    return CGsm7Coder::GetConversionTable(1);
}

// The default alphabet written out as text, code by code (0x1B, the escape, as a blank).
QString DefaultAlphabet()
{
    return QString::fromUtf8(
        "@\xC2\xA3$\xC2\xA5\xC3\xA8\xC3\xA9\xC3\xB9\xC3\xAC\xC3\xB2\xC3\x87\n\xC3\x98\xC3\xB8\r\xC3\x85\xC3\xA5"
        "\xCE\x94_\xCE\xA6\xCE\x93\xCE\x9B\xCE\xA9\xCE\xA0\xCE\xA8\xCE\xA3\xCE\x98\xCE\x9E \xC3\x86\xC3\xA6\xC3\x9F\xC3\x89"
        " !\"#\xC2\xA4%&'()*+,-./0123456789:;<=>?"
        "\xC2\xA1"
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC3\x84\xC3\x96\xC3\x91\xC3\x9C\xC2\xA7"
        "\xC2\xBF"
        "abcdefghijklmnopqrstuvwxyz\xC3\xA4\xC3\xB6\xC3\xB1\xC3\xBC\xC3\xA0");
}
} // namespace

TEST(Gsm7Table, AlphabetTextHasOneCharacterPerCode)
{
    ASSERT_EQ(DefaultAlphabet().size(), 128);
}

TEST(Gsm7Table, Latin1CharactersWithAGlyphGetTheirCode)
{
    const QString alphabet = DefaultAlphabet();
    int mapped = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const uchar entry = Latin1()[byte];
        if (CGsm7Coder::IsExtensionCharacter(entry))
            continue;
        ASSERT_LT(entry, 0x80);
        if (entry == 0x20 && byte != 0x20)
            continue; // no glyph: blank
        if (byte == 0x1A || byte == 0x1D)
            continue; // control bytes mapped to line breaks, checked below
        EXPECT_EQ(alphabet.at(entry).unicode(), byte) << "byte " << byte;
        ++mapped;
    }
    // Printable ASCII less the backtick and the eight escaped ones, plus the accented letters.
    EXPECT_GT(mapped, 110);
}

TEST(Gsm7Table, Latin1Examples)
{
    struct Case
    {
        int byte;
        int entry;
    };
    const Case cases[] = {
        {'@', 0x00},
        {0xA3, 0x01},
        {'$', 0x02},
        {0xA5, 0x03},
        {0xE8, 0x04},
        {0xE9, 0x05},
        {0x0A, 0x0A},
        {0x0D, 0x0D},
        {'_', 0x11},
        {0xC4, 0x5B},
        {0xE0, 0x7F},
        {0xA4, 0x24},
        {0xA7, 0x5F},
        {0xA1, 0x40},
        {0xBF, 0x60},
        {0xC7, 0x09},
        {0xC9, 0x1F},
        {0xF8, 0x0C},
        {'0', '0'},
        {'9', '9'},
        {'A', 'A'},
        {'z', 'z'},
        {' ', 0x20},
        // No glyph in the alphabet: blank.
        {'`', 0x20},
        {0x7F, 0x20},
        {0x00, 0x20},
        {0x09, 0x20},
        {0x85, 0x20},
        {0xA0, 0x20},
        {0xE7, 0x20},
        {0xFF, 0x20},
        {0xA2, 0x20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Latin1()[c.byte], c.entry) << "byte " << c.byte;
}

TEST(Gsm7Table, EscapeTableInBothEncodings)
{
    struct Case
    {
        char character;
        int entry;
    };
    const Case cases[] = {
        {'^', 0x94}, {'{', 0xA8}, {'}', 0xA9}, {'\\', 0xAF}, {'[', 0xBC}, {'~', 0xBD}, {']', 0xBE}, {'|', 0xC0},
    };
    for (const uchar* table : {Latin1(), Greek()}) {
        int extensions = 0;
        for (int byte = 0; byte < 256; ++byte)
            extensions += CGsm7Coder::IsExtensionCharacter(table[byte]) ? 1 : 0;
        EXPECT_EQ(extensions, 8);
        for (const Case& c : cases)
            EXPECT_EQ(table[uchar(c.character)], c.entry) << c.character;
    }
}

TEST(Gsm7Table, DeparturesSharedByBothTables)
{
    for (const uchar* table : {Latin1(), Greek()}) {
        EXPECT_EQ(table[0x0C], 0x20); // form feed: blank, not an escape
        EXPECT_EQ(table[0x1A], 0x0A);
        EXPECT_EQ(table[0x1B], 0x20); // a raw escape never reaches the output
        EXPECT_EQ(table[0x1D], 0x0D);
    }
}

TEST(Gsm7Table, Latin1OnlyDepartures)
{
    EXPECT_EQ(Latin1()[0xD8], 0x20); // Ø
    EXPECT_EQ(Latin1()[0xDF], 0x20); // ß
    EXPECT_EQ(Greek()[0xD8], 0x17);  // Ψ in ISO-8859-7
    EXPECT_EQ(Greek()[0xDF], 0x20);  // ί has no glyph
}

TEST(Gsm7Table, GreekLowHalfEqualsLatin1)
{
    for (int byte = 0; byte < 0x80; ++byte)
        EXPECT_EQ(Greek()[byte], Latin1()[byte]) << "byte " << byte;
}

TEST(Gsm7Table, GreekHighHalf)
{
    struct Case
    {
        int byte;
        int entry;
    };
    const Case mapped[] = {
        {0xA3, 0x01}, {0xA4, 0x24}, {0xA5, 0x03}, {0xA7, 0x5F}, {0xC4, 0x10},
        {0xD6, 0x12}, {0xC3, 0x13}, {0xCB, 0x14}, {0xD9, 0x15},               // Δ Φ Γ Λ Ω
        {0xD0, 0x16}, {0xD8, 0x17}, {0xD3, 0x18}, {0xC8, 0x19}, {0xCE, 0x1A}, // Π Ψ Σ Θ Ξ
    };
    for (int byte = 0x80; byte < 0x100; ++byte) {
        int expected = 0x20; // Latin-looking capitals, small letters and the rest
        for (const Case& c : mapped)
            if (c.byte == byte)
                expected = c.entry;
        EXPECT_EQ(Greek()[byte], expected) << "byte " << byte;
    }
}

TEST(Gsm7Table, EncodingNames)
{
    struct Case
    {
        const char* name;
        int code;
    };
    const Case cases[] = {
        {"ISO-8859-1", 0},
        {"ISO-8859-15", 0},
        {"text/plain; charset=ISO-8859-1", 0},
        {"ISO-8859-7", 1},
        {"ISO-10146-UCS-2", 2},
        {"iso-8859-1", 3},
        {"UTF-8", 3},
        {"", 3},
        {"ISO-8859-1 ISO-8859-1", 3},
        {"ISO-8859-1 ISO-8859-1 ISO-8859-7", 1},
    };
    for (const Case& c : cases) {
        CSourceEncodingType type;
        EXPECT_TRUE(type.SetFromCharsetName(QString::fromLatin1(c.name)));
        EXPECT_EQ(type.GetCode(), c.code) << c.name;
    }
}
