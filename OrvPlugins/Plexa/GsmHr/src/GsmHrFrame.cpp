#include "GsmHrFrame.h"

#include <algorithm>

const int16_t kGsmHrDecoderHomingFrame[kGsmHrSpeechParams] = {0, 881, 350, 195, 1, 0, 71, 74, 0,
                                                              9, 38,  7,   0,   0, 0, 0,  0,  0};

const uint8_t kGsmHrUnvoicedWidths[kGsmHrSpeechParams] = {5, 11, 9, 8, 1, 2, 7, 7, 5, 7, 7, 5, 7, 7, 5, 7, 7, 5};
const uint8_t kGsmHrVoicedWidths[kGsmHrSpeechParams] = {5, 11, 9, 8, 1, 2, 8, 9, 5, 4, 9, 5, 4, 9, 5, 4, 9, 5};

const uint16_t kGsmHrSidMask[2][kGsmHrSpeechParams] = {
    {1, 239, 62, 127, 1, 3, 31, 114, 18, 63, 127, 8, 127, 127, 8, 127, 127, 12},
    {0, 0, 0, 0, 1, 3, 255, 511, 31, 15, 511, 31, 15, 511, 31, 15, 511, 31},
};

const uint16_t kGsmHrClass2Mask[2][kGsmHrSpeechParams] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 127, 127, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 511, 0},
};

// Frame bit orders, one (parameter, bit) pair per frame bit.
const BitSlot kUnvoicedOrder[112] = {
    {0, 1},  {3, 7},  {8, 2},  {11, 2}, {14, 2}, {17, 2}, {1, 0},  {2, 5},  {2, 4},  {2, 3},  {2, 2},  {2, 1},  {3, 6},
    {3, 5},  {3, 4},  {3, 3},  {3, 2},  {3, 1},  {9, 0},  {10, 6}, {10, 5}, {10, 4}, {10, 3}, {10, 2}, {10, 1}, {10, 0},
    {12, 6}, {12, 5}, {12, 4}, {12, 3}, {12, 2}, {12, 1}, {12, 0}, {13, 6}, {13, 5}, {13, 4}, {13, 3}, {3, 0},  {0, 0},
    {4, 0},  {9, 1},  {9, 2},  {9, 3},  {9, 4},  {9, 5},  {9, 6},  {7, 0},  {7, 1},  {7, 2},  {7, 3},  {7, 4},  {7, 5},
    {7, 6},  {6, 0},  {6, 1},  {6, 2},  {6, 3},  {6, 4},  {6, 5},  {6, 6},  {17, 0}, {14, 0}, {11, 0}, {8, 0},  {2, 0},
    {17, 1}, {14, 1}, {11, 1}, {8, 1},  {1, 1},  {1, 2},  {1, 3},  {1, 4},  {1, 5},  {17, 3}, {14, 3}, {11, 3}, {8, 3},
    {2, 6},  {2, 7},  {2, 8},  {17, 4}, {14, 4}, {11, 4}, {8, 4},  {1, 6},  {1, 7},  {1, 8},  {1, 9},  {0, 2},  {1, 10},
    {0, 3},  {0, 4},  {5, 0},  {5, 1},  {16, 0}, {16, 1}, {16, 2}, {16, 3}, {16, 4}, {16, 5}, {16, 6}, {15, 0}, {15, 1},
    {15, 2}, {15, 3}, {15, 4}, {15, 5}, {15, 6}, {13, 0}, {13, 1}, {13, 2},
};

const BitSlot kVoicedOrder[112] = {
    {1, 2},  {1, 1},  {2, 6},  {2, 5},  {2, 4},  {8, 4},  {11, 4}, {14, 4}, {17, 4}, {8, 3},  {11, 3}, {14, 3}, {17, 3},
    {8, 2},  {11, 2}, {14, 2}, {17, 2}, {7, 8},  {7, 7},  {7, 6},  {7, 5},  {7, 4},  {7, 3},  {7, 2},  {7, 1},  {7, 0},
    {10, 8}, {10, 7}, {10, 6}, {10, 5}, {10, 2}, {10, 1}, {10, 0}, {13, 8}, {10, 4}, {10, 3}, {8, 1},  {11, 1}, {14, 1},
    {17, 1}, {8, 0},  {11, 0}, {14, 0}, {17, 0}, {4, 0},  {2, 0},  {3, 0},  {15, 0}, {3, 1},  {2, 1},  {15, 1}, {12, 0},
    {9, 0},  {6, 0},  {15, 2}, {12, 1}, {9, 1},  {6, 1},  {3, 2},  {3, 3},  {3, 4},  {2, 2},  {3, 5},  {3, 6},  {2, 3},
    {0, 0},  {3, 7},  {1, 0},  {15, 3}, {12, 2}, {9, 2},  {6, 2},  {0, 1},  {12, 3}, {9, 3},  {6, 3},  {6, 4},  {2, 7},
    {2, 8},  {1, 3},  {1, 4},  {1, 5},  {1, 6},  {0, 2},  {6, 5},  {6, 6},  {6, 7},  {1, 7},  {1, 8},  {1, 9},  {1, 10},
    {0, 3},  {0, 4},  {5, 0},  {5, 1},  {16, 0}, {16, 1}, {16, 2}, {16, 3}, {16, 4}, {16, 5}, {16, 6}, {16, 7}, {16, 8},
    {13, 0}, {13, 1}, {13, 2}, {13, 3}, {13, 4}, {13, 5}, {13, 6}, {13, 7},
};

int GsmHrSidClass(const int16_t* params)
{
    const int voiced = params[5] != 0 ? 1 : 0;
    int zeros = 0;
    int class2Zeros = 0;
    for (int p = 0; p < kGsmHrSpeechParams; ++p) {
        const unsigned value = static_cast<uint16_t>(params[p]);
        const unsigned missing = kGsmHrSidMask[voiced][p] & ~value;
        zeros += __builtin_popcount(missing);
        class2Zeros += __builtin_popcount(missing & kGsmHrClass2Mask[voiced][p]);
    }
    if (zeros - class2Zeros < 3)
        return voiced ? 2 : 1;
    return zeros < 11 ? 1 : 0;
}

void GsmHrPackFrame(const int16_t* params, uint16_t* words)
{
    const BitSlot* order = params[5] != 0 ? kVoicedOrder : kUnvoicedOrder;
    std::fill(words, words + kGsmHrPayloadWords, uint16_t(0));
    for (int i = 0; i < kGsmHrFrameBits; ++i) {
        if ((params[order[i].param] >> order[i].bit) & 1)
            words[i / 16] = static_cast<uint16_t>(words[i / 16] | (1u << (i % 16)));
    }
}

void GsmHrUnpackFrame(const uint16_t* words, int16_t* params)
{
    auto frameBit = [words](int i) { return (words[i / 16] >> (i % 16)) & 1; };
    const BitSlot* order = (frameBit(93) || frameBit(94)) ? kVoicedOrder : kUnvoicedOrder;
    std::fill(params, params + kGsmHrSpeechParams, int16_t(0));
    for (int i = 0; i < kGsmHrFrameBits; ++i) {
        if (frameBit(i))
            params[order[i].param] = static_cast<int16_t>(params[order[i].param] | (1 << order[i].bit));
    }
}

bool GsmHrEncoderHomingTest(const int16_t* samples)
{
    return std::all_of(samples, samples + 160, [](int16_t s) { return s == kGsmHrHomingSample; });
}

bool GsmHrDecoderHomingTest(const int16_t* params, int n)
{
    for (int i = 0; i < n && i < kGsmHrSpeechParams; ++i) {
        if ((params[i] & ((1 << kGsmHrUnvoicedWidths[i]) - 1)) != kGsmHrDecoderHomingFrame[i])
            return false;
    }
    return true;
}
