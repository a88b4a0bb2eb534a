// The fixed-point primitives at the edges of their ranges, worked out from
// their definitions: saturation, shift counts of 16, 32 and beyond, negative
// counts, normalisation of 0, -1 and -32768, division and rounding ties.
#include "GsmHrArith.h"

#include <gtest/gtest.h>

using namespace fx;

namespace {
struct Op16
{
    int16_t a, b, expected;
};
struct Op32
{
    int32_t a, b, expected;
};
struct Shift16
{
    int16_t v, n, expected;
};
struct Shift32
{
    int32_t v;
    int16_t n;
    int32_t expected;
};
} // namespace

TEST(GsmHrArith, SixteenBitSumsSaturate)
{
    const Op16 add[] = {{32767, 1, 32767}, {-32768, -1, -32768}, {32000, 767, 32767}, {-200, 100, -100}};
    for (const auto& c : add)
        EXPECT_EQ(Add(c.a, c.b), c.expected) << c.a << " + " << c.b;
    const Op16 sub[] = {{-32768, 1, -32768}, {32767, -1, 32767}, {0, -32768, 32767}, {5, 7, -2}};
    for (const auto& c : sub)
        EXPECT_EQ(Sub(c.a, c.b), c.expected) << c.a << " - " << c.b;
    EXPECT_EQ(Abs(-32768), 32767);
    EXPECT_EQ(Neg(-32768), 32767);
    EXPECT_EQ(Neg(32767), -32767);
}

TEST(GsmHrArith, ProductsOfMinusOneSaturate)
{
    EXPECT_EQ(LMul(-32768, -32768), INT32_MAX);
    EXPECT_EQ(LMul(-32768, 32767), -2147418112);
    EXPECT_EQ(Mul(-32768, -32768), 32767);
    EXPECT_EQ(MulR(-32768, -32768), 32767);
    // rounding ties go up: 0x4000 * 1 * 2 = 0x8000, exactly half
    EXPECT_EQ(MulR(0x4000, 1), 1);
    EXPECT_EQ(MulR(-0x4000, 1), 0);
    EXPECT_EQ(Round(0x7fff8000), 32767);
    EXPECT_EQ(Round(-0x8000), 0);
    EXPECT_EQ(LMac(INT32_MAX - 1, 1, 1), INT32_MAX);
    EXPECT_EQ(LMsu(INT32_MIN + 1, 1, 1), INT32_MIN);
    EXPECT_EQ(MacR(0, -32768, -32768), 32767);
    EXPECT_EQ(MsuR(0, 16384, 16384), -8192);
}

TEST(GsmHrArith, ThirtyTwoBitSumsSaturate)
{
    const Op32 add[] = {{INT32_MAX, 1, INT32_MAX}, {INT32_MIN, -1, INT32_MIN}, {-5, 3, -2}};
    for (const auto& c : add)
        EXPECT_EQ(LAdd(c.a, c.b), c.expected);
    const Op32 sub[] = {{INT32_MIN, 1, INT32_MIN},
                        {INT32_MAX, -1, INT32_MAX},
                        {1, INT32_MIN, INT32_MAX},
                        // the one case the codec's subtraction wraps
                        {0, INT32_MIN, INT32_MIN}};
    for (const auto& c : sub)
        EXPECT_EQ(LSub(c.a, c.b), c.expected) << c.a << " - " << c.b;
    EXPECT_EQ(LNeg(INT32_MIN), INT32_MAX);
    EXPECT_EQ(LAbs(INT32_MIN), INT32_MAX);
}

TEST(GsmHrArith, SixteenBitShiftsAtTheirEdges)
{
    const Shift16 shr[] = {{-1, 1, -1},        {-32768, 15, -1},     {-32768, 16, -1}, {32767, 16, 0},
                           {16384, -1, 32767}, {-16385, -1, -32768}, {3, -15, 32767},  {-3, -16, -32768},
                           {0, -20, 0},        {-7, 1, -4}};
    for (const auto& c : shr)
        EXPECT_EQ(Shr(c.v, c.n), c.expected) << c.v << " >> " << c.n;
    const Shift16 shl[] = {{1, 14, 16384},     {1, 15, 32767}, {-1, 15, -32768}, {-1, 16, -32768},
                           {0x4000, 1, 32767}, {-7, -1, -4},   {-7, -15, -1},    {7, -16, 0}};
    for (const auto& c : shl)
        EXPECT_EQ(Shl(c.v, c.n), c.expected) << c.v << " << " << c.n;
    // rounding right shift: the last bit out rounds, ties up
    const Shift16 round[] = {{5, -1, 3}, {-5, -1, -2}, {7, -16, 0}, {-32768, -15, -1}, {3, 1, 6}};
    for (const auto& c : round)
        EXPECT_EQ(ShrRound(c.v, c.n), c.expected) << c.v << " r>> " << -c.n;
}

TEST(GsmHrArith, ThirtyTwoBitShiftsAtTheirEdges)
{
    const Shift32 shr[] = {{-1, 31, -1},         {INT32_MIN, 32, -1},         {INT32_MAX, 40, 0}, {5, -31, INT32_MAX},
                           {-5, -31, INT32_MIN}, {0x40000000, -1, INT32_MAX}, {-9, 2, -3}};
    for (const auto& c : shr)
        EXPECT_EQ(LShr(c.v, c.n), c.expected) << c.v << " >> " << c.n;
    const Shift32 shl[] = {
        {1, 30, 0x40000000},         {1, 31, INT32_MAX}, {-1, 31, INT32_MIN}, {-0x40000000, 1, INT32_MIN},
        {-0x40000001, 1, INT32_MIN}, {9, -32, 0},        {-9, -32, -1}};
    for (const auto& c : shl)
        EXPECT_EQ(LShl(c.v, c.n), c.expected) << c.v << " << " << c.n;
    const Shift32 round[] = {{5, -1, 3}, {-5, -1, -2}, {5, -32, 0}, {1, 2, 4}};
    for (const auto& c : round)
        EXPECT_EQ(LShrRound(c.v, c.n), c.expected);
}

TEST(GsmHrArith, NormalisationCounts)
{
    const struct
    {
        int16_t v, expected;
    } n16[] = {{0, 0}, {-1, 15}, {-32768, 0}, {1, 14}, {16384, 0}, {-16384, 1}, {-16385, 0}, {8191, 2}};
    for (const auto& c : n16)
        EXPECT_EQ(Norm16(c.v), c.expected) << c.v;
    const struct
    {
        int32_t v;
        int16_t expected;
    } n32[] = {{0, 0}, {-1, 31}, {INT32_MIN, 0}, {1, 30}, {0x40000000, 0}, {-0x40000000, 1}};
    for (const auto& c : n32)
        EXPECT_EQ(Norm32(c.v), c.expected) << c.v;
}

TEST(GsmHrArith, DivisionOfFractions)
{
    const Op16 div[] = {{1, 2, 16384}, {7, 7, 32767}, {0, 5, 0}, {6, 5, 0}, {-1, 5, 0}, {1, 3, 10922}};
    for (const auto& c : div)
        EXPECT_EQ(Div(c.a, c.b), c.expected) << c.a << " / " << c.b;
}

TEST(GsmHrArith, DoublePrecisionProducts)
{
    // 0.5 x 0.5 in both forms
    EXPECT_EQ(LMul32x16(0x40000000, 0x4000), 0x20000000);
    EXPECT_EQ(LMul32x32(0x40000000, 0x40000000), 0x20000000);
    EXPECT_EQ(LMul32x32(INT32_MAX, INT32_MAX), 0x7ffffffc);
    EXPECT_TRUE(AtLimit16(-32768));
    EXPECT_TRUE(AtLimit16(32767));
    EXPECT_FALSE(AtLimit16(32766));
    EXPECT_TRUE(AtLimit32(INT32_MIN));
    EXPECT_FALSE(AtLimit32(0));
}
