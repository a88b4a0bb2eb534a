// The fixed-point operators against a wide-integer model, in both modes,
// overflow flag included.
#include "FixedPoint.h"
#include "MessageCapture.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace FixedPoint;

namespace {
using Wide = __int128;

int16_t Model16(Wide exact, int mode)
{
    if (mode == Saturate)
        return int16_t(exact > 32767 ? 32767 : exact < -32768 ? -32768 : exact);
    return int16_t(uint16_t(uint64_t(exact & 0xFFFF)));
}

int32_t Model32(Wide exact, int mode)
{
    if (mode == Saturate)
        return int32_t(exact > INT32_MAX ? INT32_MAX : exact < INT32_MIN ? INT32_MIN : exact);
    return int32_t(uint32_t(uint64_t(exact & 0xFFFFFFFF)));
}

// A 7-bit signed shift count.
int Count7(int count)
{
    return ((count + 64) % 128 + 128) % 128 - 64;
}

// a x 2^n for any n: a floor division for negative n.
Wide Scale(Wide a, int n)
{
    if (n >= 0)
        return n > 100 ? (a == 0 ? 0 : a * (Wide(1) << 100)) : a * (Wide(1) << n);
    const Wide divisor = Wide(1) << (-n > 100 ? 100 : -n);
    Wide q = a / divisor;
    if (a % divisor != 0 && a < 0)
        --q;
    return q;
}

const std::vector<int16_t> Corners16 = {0,       1,      -1,      2,       -2,     0x4000, -0x4000, 0x3FFF,
                                        -0x4001, 0x7FFF, -0x7FFF, -0x8000, 0x7FFE, 123,    -321};
const std::vector<int32_t> Corners32 = {
    0,          1,          -1,          0x7FFF,    -0x8000,    0x8000,        0x10000,
    -0x10000,   0x40000000, -0x40000000, INT32_MAX, INT32_MIN,  INT32_MAX - 1, INT32_MIN + 1,
    0x7FFF0000, 0x7FFF8000, 0x7FFE8000,  -0x8001,   0x12345678, -0x1234568};

std::vector<int32_t> Values32()
{
    std::vector<int32_t> values = Corners32;
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i)
        values.push_back(int32_t(random()));
    return values;
}

struct ModeGuard
{
    ~ModeGuard() { set_wrap(); }
};

class FixedPointTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        g_AddMode = int16_t(GetParam());
        g_ShiftMode = int16_t(GetParam());
    }
    ModeGuard m_Guard;
};
} // namespace

TEST_P(FixedPointTest, SixteenBitOneArgumentOperatorsOverEveryInput)
{
    const int mode = GetParam();
    for (int v = -32768; v <= 32767; ++v) {
        const int16_t a = int16_t(v);
        ASSERT_EQ(neg16(a), Model16(-Wide(a), mode)) << v;
        int norm = 0;
        if (a == 0)
            norm = 31;
        else
            while (norm < 15 && !(Scale(a, norm) >= 0x4000 || Scale(a, norm) < -0x4000))
                ++norm;
        ASSERT_EQ(norm16(a), norm) << v;
    }
}

TEST_P(FixedPointTest, ThirtyTwoBitOneArgumentOperators)
{
    const int mode = GetParam();
    for (int32_t a : Values32()) {
        ASSERT_EQ(neg32(a), Model32(-Wide(a), mode)) << a;
        ASSERT_EQ(high16(a), int16_t(Scale(a, -16))) << a;
        const bool roundUp = (a & 0x8000) && a < 0x7FFF0000;
        ASSERT_EQ(round16(a), int16_t(Scale(a, -16) + (roundUp ? 1 : 0))) << a;
        int norm = 0;
        if (a == 0)
            norm = 31;
        else
            while (norm < 31 && !(Scale(a, norm) >= 0x40000000 || Scale(a, norm) < -0x40000000))
                ++norm;
        ASSERT_EQ(norm32(a), norm) << a;
    }
}

TEST_P(FixedPointTest, ShiftsWithEveryCount)
{
    const int mode = GetParam();
    std::vector<int16_t> values16 = Corners16;
    std::vector<int32_t> values32 = Values32();
    values32.resize(200);
    std::mt19937 random(99);
    for (int i = 0; i < 100; ++i)
        values16.push_back(int16_t(random()));
    for (int count = -64; count <= 63; ++count) {
        const int n = Count7(count);
        for (int16_t a : values16) {
            ASSERT_EQ(shl16(a, count), Model16(Scale(a, n), n < 0 ? Saturate : mode)) << a << " << " << count;
            const int right = count >= 0 ? -count : Count7(-count);
            ASSERT_EQ(shr16(a, count), Model16(Scale(a, right), right < 0 ? Saturate : mode)) << a << " >> " << count;
            const uint16_t u = uint16_t(a);
            const uint16_t logical = n >= 16 || n <= -16 ? 0 : n >= 0 ? uint16_t(u << n) : uint16_t(u >> -n);
            ASSERT_EQ(lsh16(u, count), logical) << u << " lsh " << count;
        }
        for (int32_t a : values32) {
            ASSERT_EQ(shl32(a, count), Model32(Scale(a, n), n < 0 ? Saturate : mode)) << a << " << " << count;
            const int right = count >= 0 ? -count : Count7(-count);
            ASSERT_EQ(shr32(a, count), Model32(Scale(a, right), right < 0 ? Saturate : mode)) << a << " >> " << count;
            const uint32_t u = uint32_t(a);
            const uint32_t logical = n >= 32 || n <= -32 ? 0 : n >= 0 ? u << n : u >> -n;
            ASSERT_EQ(lsh32(u, count), logical) << u << " lsh " << count;
        }
    }
}

TEST_P(FixedPointTest, TwoArgumentOperatorsOverCornersAndRandomPairs)
{
    const int mode = GetParam();
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int16_t a : Corners16)
        for (int16_t b : Corners16)
            pairs.emplace_back(a, b);
    for (int32_t a : Corners32)
        for (int32_t b : Corners32)
            pairs.emplace_back(a, b);
    std::mt19937 random(20261209);
    for (int i = 0; i < 1000000; ++i)
        pairs.emplace_back(int32_t(random()), int32_t(random()));

    for (const auto& [wideA, wideB] : pairs) {
        const int16_t a = int16_t(wideA), b = int16_t(wideB);
        const Wide sum = Wide(a) + b, difference = Wide(a) - b;
        ASSERT_EQ(add16(a, b), Model16(sum, mode)) << a << " + " << b;
        ASSERT_EQ(g_Overflow, sum > 32767 || sum < -32768 ? 1 : 0);
        ASSERT_EQ(sub16(a, b), Model16(difference, mode)) << a << " - " << b;
        ASSERT_EQ(g_Overflow, difference > 32767 || difference < -32768 ? 1 : 0);
        ASSERT_EQ(add32(wideA, wideB), Model32(Wide(wideA) + wideB, mode)) << wideA << " + " << wideB;
        ASSERT_EQ(sub32(wideA, wideB), Model32(Wide(wideA) - wideB, mode)) << wideA << " - " << wideB;
        const Wide product = 2 * Wide(a) * b;
        const int32_t expected = a == -32768 && b == -32768 ? 0x7FFFFFFE : int32_t(product);
        ASSERT_EQ(mul32(a, b), expected) << a << " x " << b;
        ASSERT_EQ(mul16(a, b), int16_t(Scale(expected, -16))) << a << " x " << b;
        ASSERT_EQ(deposit_low(wideA, b), int32_t((uint32_t(wideA) & 0xFFFF0000u) | uint16_t(b)));
        if (a >= 0 && b > a) {
            ASSERT_EQ(div16(a, b), int16_t(Wide(a) * 32768 / b)) << a << " / " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothModes, FixedPointTest, ::testing::Values(int(Wrap), int(Saturate)));

TEST(FixedPointEdges, TheNamedCases)
{
    ModeGuard guard;
    set_saturate();
    EXPECT_EQ(add16(32767, 1), 32767);
    EXPECT_EQ(g_Overflow, 1);
    EXPECT_EQ(add16(32766, 1), 32767);
    EXPECT_EQ(g_Overflow, 0);
    EXPECT_EQ(neg16(-32768), 32767);
    EXPECT_EQ(neg32(INT32_MIN), INT32_MAX);
    set_wrap();
    EXPECT_EQ(add16(32767, 1), -32768);
    EXPECT_EQ(g_Overflow, 1);
    EXPECT_EQ(neg16(-32768), -32768);

    EXPECT_EQ(mul32(-32768, -32768), 0x7FFFFFFE);
    EXPECT_EQ(mul16(-32768, -32768), 0x7FFF);
    EXPECT_EQ(norm16(0), 31);
    EXPECT_EQ(norm16(0x4000), 0);
    EXPECT_EQ(norm16(1), 14);
    EXPECT_EQ(norm16(-1), 15);
    EXPECT_EQ(norm32(0), 31);
    EXPECT_EQ(norm32(-1), 31);
    EXPECT_EQ(round16(0x7FFF8000), 0x7FFF);
    EXPECT_EQ(round16(0x7FFE8000), 0x7FFF);
    EXPECT_EQ(round16(-0x8000), 0);
    // Restoring division: a whole quotient spills into the sign, and the
    // remainder is doubled on 32 bits.
    EXPECT_EQ(div16(16384, 32767), 16384);
    EXPECT_EQ(div16(1000, 1000), -32768);
    EXPECT_EQ(div16(30000, 20000), -16384);
    EXPECT_EQ(div16(30000, 10000), -1);
    EXPECT_EQ(div16(0, 0), -1);
}

TEST(FixedPointEdges, AnInvalidModeGivesZeroWithAWarning)
{
    ModeGuard guard;
    MessageCapture messages;
    g_AddMode = 2;
    g_ShiftMode = 2;
    EXPECT_EQ(add16(32767, 1), 0);
    EXPECT_EQ(g_Overflow, 1);
    EXPECT_EQ(add16(1, 1), 0);
    EXPECT_EQ(g_Overflow, 0);
    EXPECT_EQ(sub16(-32768, 1), 0);
    EXPECT_EQ(g_Overflow, 1);
    EXPECT_EQ(add32(1, 2), 0);
    EXPECT_EQ(sub32(1, 2), 0);
    EXPECT_EQ(neg16(5), 0);
    EXPECT_EQ(neg32(5), 0);
    EXPECT_EQ(shl16(5, 1), 0);
    EXPECT_EQ(shl32(5, 1), 0);
    // Right shifts and products do not depend on the mode.
    EXPECT_EQ(shr16(8, 1), 4);
    EXPECT_EQ(mul16(16384, 16384), 8192);
    EXPECT_EQ(messages.Checks(), QStringList(9, QStringLiteral("FALSE")));
}

namespace {
// The operators with their mode fixed at compile time against the same
// operators reading the process-wide mode, set to that mode.
template <class Modes>
void ExpectFixedModeMatches(int mode)
{
    ModeGuard guard;
    g_AddMode = int16_t(mode);
    g_ShiftMode = int16_t(mode);
    std::vector<int32_t> values = Values32();
    for (int16_t a : Corners16)
        values.push_back(a);
    for (size_t i = 0; i < values.size(); ++i) {
        const int32_t a = values[i], b = values[(i * 7 + 3) % values.size()];
        const int16_t a16 = int16_t(a), b16 = int16_t(b);
        ASSERT_EQ(add16<Modes>(a16, b16), add16(a16, b16));
        const int16_t fixedFlag = g_Overflow;
        add16(a16, b16);
        ASSERT_EQ(fixedFlag, g_Overflow);
        ASSERT_EQ(sub16<Modes>(a16, b16), sub16(a16, b16));
        ASSERT_EQ(add32<Modes>(a, b), add32(a, b));
        ASSERT_EQ(sub32<Modes>(a, b), sub32(a, b));
        ASSERT_EQ(neg16<Modes>(a16), neg16(a16));
        ASSERT_EQ(neg32<Modes>(a), neg32(a));
        for (int count = -40; count <= 40; count += 3) {
            ASSERT_EQ(shl16<Modes>(a16, count), shl16(a16, count)) << a16 << " " << count;
            ASSERT_EQ(shr16<Modes>(a16, count), shr16(a16, count)) << a16 << " " << count;
            ASSERT_EQ(shl32<Modes>(a, count), shl32(a, count)) << a << " " << count;
            ASSERT_EQ(shr32<Modes>(a, count), shr32(a, count)) << a << " " << count;
        }
    }
}
} // namespace

TEST(FixedPointEdges, AModeFixedAtCompileTimeActsAsTheSameModeSetAtRunTime)
{
    ExpectFixedModeMatches<Wrapping>(Wrap);
    ExpectFixedModeMatches<Saturating>(Saturate);
}
