#include "VoxBits.h"

uint16_t PackWord(const uint8_t* bits)
{
    uint16_t word = 0;
    for (int i = 0; i < 16; ++i)
        word = uint16_t(word | ((bits[i] & 1u) << i));
    return word;
}

void PackBits(int n, const uint8_t* bits, uint16_t* words)
{
    int i = 0;
    for (; i + 16 <= n; i += 16)
        *words++ = PackWord(bits + i);
    if (i < n) {
        uint16_t word = 0;
        for (int b = 0; i + b < n; ++b)
            word = uint16_t(word | ((bits[i + b] & 1u) << b));
        *words = word;
    }
}

void UnpackWord(uint8_t* bits, uint16_t word)
{
    for (int i = 0; i < 16; ++i)
        bits[i] = uint8_t((word >> i) & 1u);
}

void UnpackBits(int n, const uint16_t* words, uint8_t* bits)
{
    int i = 0;
    for (; i + 16 <= n; i += 16)
        UnpackWord(bits + i, *words++);
    for (int b = 0; i + b < n; ++b)
        bits[i + b] = uint8_t((*words >> b) & 1u);
}

uint32_t BitsToValue(int n, const uint8_t* bits)
{
    uint32_t value = 0;
    for (int i = 0; i < n; ++i)
        value = (value << 1) | (bits[i] & 1u);
    return value;
}

void ValueToBits(uint32_t value, int n, uint8_t* bits)
{
    for (int i = 0; i < n; ++i)
        bits[i] = uint8_t((value >> (n - 1 - i)) & 1u);
}
