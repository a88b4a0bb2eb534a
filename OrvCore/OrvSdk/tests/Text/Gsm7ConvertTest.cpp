#include "Text/CGsm7Coder.h"
#include "tests/SdkTestSupport.h"

#include <QString>
#include <gtest/gtest.h>

TEST(Gsm7Convert, ExtensionCharacterGetsAnEscape)
{
    CGsm7Coder coder;
    QByteArray out;
    EXPECT_EQ(coder.ConvertToGsm7(QByteArray("a~b"), out), 4u);
    EXPECT_EQ(out, Bytes({0x61, 0x1B, 0x3D, 0x62}));
    EXPECT_EQ(coder.GetGsm7Length(QByteArray("a~b")), 4u);
}

TEST(Gsm7Convert, CountsCharactersAfterEscapes)
{
    CGsm7Coder coder;
    EXPECT_EQ(coder.GetGsm7LengthOfText(QString(160, QLatin1Char('x'))), 160u);
    EXPECT_EQ(coder.GetGsm7LengthOfText(QString(150, QLatin1Char('x')) + QString(5, QLatin1Char('['))
                                        + QString(5, QLatin1Char(']'))),
              170u);
    EXPECT_EQ(coder.GetGsm7Length(QByteArray()), 0u);
    EXPECT_EQ(coder.GetGsm7LengthOfText(QString()), 0u);
}

TEST(Gsm7Convert, CountingLeavesTheNextConversionWhole)
{
    // A count must not turn the following call into a count as well.
    CGsm7Coder coder;
    EXPECT_EQ(coder.GetGsm7Length(QByteArray("{}")), 4u);
    QByteArray out;
    EXPECT_EQ(coder.ConvertToGsm7(QByteArray("{}"), out), 4u);
    EXPECT_EQ(out, Bytes({0x1B, 0x28, 0x1B, 0x29}));
}

TEST(Gsm7Convert, LowByteOfEachCharacter)
{
    CGsm7Coder coder;
    // U+0141 has the low byte 0x41 ('A'); U+20AC the low byte 0xAC (no glyph).
    EXPECT_EQ(coder.GetGsm7LengthOfText(QString(QChar(0x0141)) + QChar(0x20AC) + QLatin1Char('^')), 4u);
    QByteArray out;
    EXPECT_TRUE(coder.TextToSmBytes(QString(QChar(0x0141)) + QChar(0x20AC) + QLatin1Char('^'), out));
    EXPECT_EQ(out, Bytes({0x41, 0x20, 0x1B, 0x14}));
}

TEST(Gsm7Convert, GreekTextUsesTheGreekTable)
{
    CGsm7Coder coder;
    coder.SetEncodingType(1);
    QByteArray out;
    // ΔΑ£¤ in ISO-8859-7: Δ has a glyph, Α looks Latin and becomes a blank.
    EXPECT_EQ(coder.ConvertToGsm7(Bytes({0xC4, 0xC1, 0xA3, 0xA4}), out), 4u);
    EXPECT_EQ(out, Bytes({0x10, 0x20, 0x01, 0x24}));
}

TEST(Gsm7Convert, TextRoundTripsThroughTheAlphabet)
{
    // Every character of the default alphabet that ISO-8859-1 holds comes back
    // when the codes are read through the alphabet again.
    const QString text = QString::fromUtf8("@£$¥èéùìòÇ\nøÅåÆæÉ !\"#¤%&'()*+,-./09:;<=>?¡AZÄÖÑÜ§¿azäöñüà{}[]~^|\\");
    CGsm7Coder coder;
    QByteArray sm;
    ASSERT_TRUE(coder.TextToSmBytes(text, sm));
    const QString alphabet = QString::fromUtf8("@£$¥èéùìòÇ\nØø\rÅåΔ_ΦΓΛΩΠΨΣΘΞ\x1bÆæßÉ !\"#¤%&'()*+,-./0123456789:;<=>?"
                                               "¡ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÑÜ§¿abcdefghijklmnopqrstuvwxyzäöñüà");
    const QString extension = QString::fromUtf8("^{}\\[~]|");
    const QByteArray extensionCodes = Bytes({0x14, 0x28, 0x29, 0x2F, 0x3C, 0x3D, 0x3E, 0x40});
    QString decoded;
    for (int i = 0; i < sm.size(); ++i) {
        if (sm.at(i) == 0x1B && i + 1 < sm.size()) {
            const int index = extensionCodes.indexOf(sm.at(++i));
            ASSERT_GE(index, 0);
            decoded += extension.at(index);
        } else {
            decoded += alphabet.at(uchar(sm.at(i)));
        }
    }
    EXPECT_EQ(decoded, text);
}

TEST(Gsm7Convert, NonEightBitEncodingConvertsNothing)
{
    MessageCapture catcher;
    CGsm7Coder coder;
    coder.SetEncodingType(2);
    QByteArray out("keep");
    EXPECT_EQ(coder.ConvertToGsm7(QByteArray("abc"), out), 0u);
    EXPECT_EQ(out, QByteArray("keep"));
    ASSERT_EQ(catcher.Messages().size(), 1);
    EXPECT_TRUE(catcher.Messages().first().contains(QStringLiteral("(1) == is8bitSourceEncodingType()")));
}

TEST(Gsm7Convert, Ucs2TextIsLowByteFirst)
{
    CGsm7Coder coder;
    coder.SetEncodingType(2);
    QByteArray out;
    EXPECT_TRUE(coder.TextToSmBytes(QStringLiteral("Ab"), out));
    EXPECT_EQ(out, Bytes({0x41, 0x00, 0x62, 0x00}));
    QByteArray greek;
    EXPECT_TRUE(coder.TextToSmBytes(QString(QChar(0x03A9)), greek));
    EXPECT_EQ(greek, Bytes({0xA9, 0x03}));
}

TEST(Gsm7Convert, EmptyTextLeavesTheOutput)
{
    CGsm7Coder coder;
    QByteArray out("keep");
    EXPECT_TRUE(coder.TextToSmBytes(QString(), out));
    EXPECT_EQ(out, QByteArray("keep"));
}

TEST(Gsm7Convert, PacksConvertedText)
{
    CGsm7Coder coder;
    QByteArray septets, packed;
    ASSERT_TRUE(coder.TextToSmBytes(QStringLiteral("hello"), septets));
    EXPECT_EQ(CGsm7Coder::PackSeptets(0, septets, packed), 5u);
    EXPECT_EQ(packed, Bytes({0xE8, 0x32, 0x9B, 0xFD, 0x06}));
}
