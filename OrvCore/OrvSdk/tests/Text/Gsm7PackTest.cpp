#include "Text/CGsm7Coder.h"
#include "tests/SdkTestSupport.h"

#include <QString>
#include <gtest/gtest.h>

namespace {
// Reads septets back from packed octets: the inverse of the packing rule.
QByteArray UnpackSeptets(uint shift, const QByteArray& packed, int count)
{
    QByteArray septets;
    uint bit = shift;
    for (int i = 0; i < count; ++i) {
        int value = 0;
        for (int b = 0; b < 7; ++b, ++bit)
            if ((uchar(packed.at(int(bit / 8))) >> (bit % 8)) & 1)
                value |= 1 << b;
        septets.append(char(value));
    }
    return septets;
}
} // namespace

TEST(Gsm7Pack, HelloPacksToKnownOctets)
{
    QByteArray packed;
    EXPECT_EQ(CGsm7Coder::PackSeptets(0, QByteArray("hello"), packed), 5u);
    EXPECT_EQ(packed, Bytes({0xE8, 0x32, 0x9B, 0xFD, 0x06}));
}

TEST(Gsm7Pack, ShiftMovesEveryBitUp)
{
    QByteArray packed;
    EXPECT_EQ(CGsm7Coder::PackSeptets(1, QByteArray("hello"), packed), 5u);
    // hello shifted left by one bit: each octet doubled plus the carry below.
    EXPECT_EQ(packed, Bytes({0xD0, 0x65, 0x36, 0xFB, 0x0D}));
}

TEST(Gsm7Pack, OctetCountFollowsTheFormula)
{
    struct Case
    {
        int septets;
        uint shift;
        uint octets;
    };
    const Case cases[] = {
        {1, 0, 1}, {1, 1, 1}, {1, 2, 2}, {7, 0, 7}, {8, 0, 7}, {8, 1, 8}, {9, 0, 8}, {160, 0, 140}, {153, 7, 135},
    };
    for (const Case& c : cases) {
        QByteArray packed;
        const QByteArray septets(c.septets, 0x7F);
        EXPECT_EQ(CGsm7Coder::PackSeptets(c.shift, septets, packed), c.octets)
            << c.septets << " septets, shift " << c.shift;
        EXPECT_EQ(uint(packed.size()), c.octets);
    }
}

TEST(Gsm7Pack, EightSeptetsFillSevenOctets)
{
    // Eight septets of all ones leave no spare bit in seven octets.
    QByteArray packed;
    CGsm7Coder::PackSeptets(0, QByteArray(8, 0x7F), packed);
    EXPECT_EQ(packed, QByteArray(7, char(0xFF)));
}

TEST(Gsm7Pack, OnlyTheLowSevenBitsCount)
{
    QByteArray a, b;
    CGsm7Coder::PackSeptets(3, Bytes({0x80 | 0x41, 0xFF}), a);
    CGsm7Coder::PackSeptets(3, Bytes({0x41, 0x7F}), b);
    EXPECT_EQ(a, b);
}

TEST(Gsm7Pack, RoundTripsForEveryShift)
{
    QByteArray septets;
    for (int i = 0; i < 200; ++i)
        septets.append(char((i * 37 + 11) & 0x7F));
    for (uint shift = 0; shift < 8; ++shift) {
        for (int length : {1, 2, 7, 8, 9, 15, 16, 200}) {
            const QByteArray source = septets.left(length);
            QByteArray packed;
            const uint octets = CGsm7Coder::PackSeptets(shift, source, packed);
            ASSERT_EQ(octets, uint(((length + 1) * 7 + int(shift)) / 8));
            EXPECT_EQ(UnpackSeptets(shift, packed, length), source) << "shift " << shift << ", length " << length;
            // The bits below the shift stay free for the header's fill bits.
            EXPECT_EQ(uchar(packed.at(0)) & ((1u << shift) - 1), 0u);
        }
    }
}

TEST(Gsm7Pack, NoSeptetsGiveNoOctets)
{
    QByteArray packed;
    EXPECT_EQ(CGsm7Coder::PackSeptets(0, QByteArray(), packed), 0u);
    EXPECT_TRUE(packed.isEmpty());
}

TEST(Gsm7Pack, RefusesAShiftOfEightOrMore)
{
    MessageCapture catcher;
    QByteArray packed;
    EXPECT_EQ(CGsm7Coder::PackSeptets(8, QByteArray("abc"), packed), 0u);
    EXPECT_TRUE(packed.isEmpty());
    ASSERT_EQ(catcher.Messages().size(), 1);
    EXPECT_TRUE(catcher.Messages().first().contains(QStringLiteral("InitialBitShift < 8")));
}

TEST(Gsm7Pack, WarnsWhenTheOutputIsNotEmptyAndStartsAfresh)
{
    MessageCapture catcher;
    QByteArray packed("junk");
    EXPECT_EQ(CGsm7Coder::PackSeptets(0, QByteArray("hello"), packed), 5u);
    EXPECT_EQ(packed, Bytes({0xE8, 0x32, 0x9B, 0xFD, 0x06}));
    ASSERT_EQ(catcher.Messages().size(), 1);
    EXPECT_TRUE(catcher.Messages().first().contains(QStringLiteral("PackedChar.size() == 0")));
}
