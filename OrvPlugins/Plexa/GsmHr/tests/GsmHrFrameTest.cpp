// The half-rate frame layout: both bit orders, the SID classification and
// the homing patterns.
#include "GsmHrFrame.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace {
int16_t AllSidOnes(int16_t* params, bool voiced)
{
    for (int p = 0; p < kGsmHrSpeechParams; ++p)
        params[p] = static_cast<int16_t>(kGsmHrSidMask[voiced ? 1 : 0][p]);
    return params[5];
}

// Clears `count` bits of the SID code word chosen by `accept` (param, bit).
template <typename Accept>
int ClearSidBits(int16_t* params, bool voiced, int count, Accept accept)
{
    int cleared = 0;
    for (int p = 0; p < kGsmHrSpeechParams && cleared < count; ++p) {
        for (int b = 0; b < 16 && cleared < count; ++b) {
            if (((kGsmHrSidMask[voiced][p] >> b) & 1) && accept(p, b)) {
                params[p] = static_cast<int16_t>(params[p] & ~(1 << b));
                ++cleared;
            }
        }
    }
    return cleared;
}

bool IsClass2(bool voiced, int p, int b)
{
    return (kGsmHrClass2Mask[voiced][p] >> b) & 1;
}
} // namespace

TEST(GsmHrFrame, EachOrderIsAPermutationOfItsLayout)
{
    const std::pair<const BitSlot*, const uint8_t*> layouts[] = {{kUnvoicedOrder, kGsmHrUnvoicedWidths},
                                                                 {kVoicedOrder, kGsmHrVoicedWidths}};
    for (const auto& [order, widths] : layouts) {
        std::set<std::pair<int, int>> expected, seen;
        for (int p = 0; p < kGsmHrSpeechParams; ++p)
            for (int b = 0; b < widths[p]; ++b)
                expected.insert({p, b});
        for (int i = 0; i < kGsmHrFrameBits; ++i)
            seen.insert({order[i].param, order[i].bit});
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(expected.size(), size_t(kGsmHrFrameBits));
        // the voicing mode where a reader can find it before knowing the layout
        EXPECT_EQ(order[93].param, 5);
        EXPECT_EQ(order[93].bit, 0);
        EXPECT_EQ(order[94].param, 5);
        EXPECT_EQ(order[94].bit, 1);
    }
}

TEST(GsmHrFrame, LastSeventeenBitsAreTheClassTwoBits)
{
    for (int voiced = 0; voiced < 2; ++voiced) {
        const BitSlot* order = voiced ? kVoicedOrder : kUnvoicedOrder;
        int class2 = 0;
        for (int p = 0; p < kGsmHrSpeechParams; ++p)
            class2 += __builtin_popcount(kGsmHrClass2Mask[voiced][p]);
        EXPECT_EQ(class2, 17);
        for (int i = 0; i < kGsmHrFrameBits; ++i)
            EXPECT_EQ(IsClass2(voiced, order[i].param, order[i].bit), i >= 95) << voiced << " bit " << i;
    }
}

TEST(GsmHrFrame, BothSidMasksMarkTheSameSeventyNineFrameBits)
{
    std::set<int> frameBits[2];
    for (int voiced = 0; voiced < 2; ++voiced) {
        const BitSlot* order = voiced ? kVoicedOrder : kUnvoicedOrder;
        for (int i = 0; i < kGsmHrFrameBits; ++i)
            if ((kGsmHrSidMask[voiced][order[i].param] >> order[i].bit) & 1)
                frameBits[voiced].insert(i);
    }
    EXPECT_EQ(frameBits[0].size(), 79u);
    EXPECT_EQ(frameBits[0], frameBits[1]);
}

TEST(GsmHrFrame, RandomParametersSurvivePackAndUnpack)
{
    std::mt19937 random(21);
    for (int round = 0; round < 400; ++round) {
        const bool voiced = round % 2;
        int16_t params[kGsmHrSpeechParams];
        for (int p = 0; p < kGsmHrSpeechParams; ++p) {
            const int width = voiced ? kGsmHrVoicedWidths[p] : kGsmHrUnvoicedWidths[p];
            params[p] = static_cast<int16_t>(random() & ((1u << width) - 1));
        }
        params[5] = voiced ? static_cast<int16_t>(1 + random() % 3) : int16_t(0);
        uint16_t words[kGsmHrPayloadWords];
        GsmHrPackFrame(params, words);
        int16_t back[kGsmHrSpeechParams];
        GsmHrUnpackFrame(words, back);
        for (int p = 0; p < kGsmHrSpeechParams; ++p)
            ASSERT_EQ(back[p], params[p]) << "round " << round << " parameter " << p;
    }
}

TEST(GsmHrFrame, DecoderHomingFrameByHand)
{
    uint16_t words[kGsmHrPayloadWords];
    GsmHrPackFrame(kGsmHrDecoderHomingFrame, words);
    const uint16_t expected[kGsmHrPayloadWords] = {0x1F4A, 0x0196, 0x84A0, 0x48F2, 0x4308, 0x01A1, 0x0000};
    for (int i = 0; i < kGsmHrPayloadWords; ++i)
        EXPECT_EQ(words[i], expected[i]) << i;
    EXPECT_TRUE(GsmHrDecoderHomingTest(kGsmHrDecoderHomingFrame, kGsmHrSpeechParams));
    int16_t other[kGsmHrSpeechParams];
    std::copy(kGsmHrDecoderHomingFrame, kGsmHrDecoderHomingFrame + kGsmHrSpeechParams, other);
    other[17] = 1;
    EXPECT_TRUE(GsmHrDecoderHomingTest(other, 9));
    EXPECT_FALSE(GsmHrDecoderHomingTest(other, kGsmHrSpeechParams));
    // bits beyond a parameter's unvoiced width are not compared
    other[17] = 0;
    other[0] = 0x20;
    EXPECT_TRUE(GsmHrDecoderHomingTest(other, kGsmHrSpeechParams));

    int16_t samples[160];
    std::fill(samples, samples + 160, kGsmHrHomingSample);
    EXPECT_TRUE(GsmHrEncoderHomingTest(samples));
    samples[159] = 9;
    EXPECT_FALSE(GsmHrEncoderHomingTest(samples));
}

TEST(GsmHrFrame, SidClassFromTheZerosOfTheCodeWord)
{
    auto notMode = [](int p, int) { return p != 5; };
    const struct
    {
        const char* what;
        bool voiced;
        int class1Zeros;
        int class2Zeros;
        int expected;
    } cases[] = {
        {"all ones", true, 0, 0, 2},
        {"two class-1 zeros", true, 2, 0, 2},
        {"three class-1 zeros", true, 3, 0, 1},
        {"ten class-1 zeros", true, 10, 0, 1},
        {"eleven class-1 zeros", true, 11, 0, 0},
        {"class-2 zeros only", true, 0, 17, 2},
        {"class-2 zeros and two class-1", true, 2, 9, 2},
        {"unvoiced layout, no other zero", false, 0, 0, 1},
        {"unvoiced layout, eleven zeros", false, 9, 0, 0},
    };
    for (const auto& c : cases) {
        int16_t params[kGsmHrSpeechParams];
        AllSidOnes(params, c.voiced);
        if (!c.voiced)
            params[5] = 0; // voicing mode 0: the two mode bits are class-1 zeros
        const int voiced = c.voiced ? 1 : 0;
        ClearSidBits(params, c.voiced, c.class1Zeros,
                     [&](int p, int b) { return notMode(p, b) && !IsClass2(voiced, p, b); });
        ClearSidBits(params, c.voiced, c.class2Zeros, [&](int p, int b) { return IsClass2(voiced, p, b); });
        EXPECT_EQ(GsmHrSidClass(params), c.expected) << c.what;
    }
}
