#pragma once
// Bit operations shared by the frame adaptors. A bit array holds one 0/1
// value per element; a payload word holds its first bit in bit 0.
#include <cstdint>

// n bits into words: every whole group of 16 becomes one word, the rest fills
// the low bits of one more word.
void PackBits(int n, const uint8_t* bits, uint16_t* words);
uint16_t PackWord(const uint8_t* bits);
// The inverse of PackBits.
void UnpackBits(int n, const uint16_t* words, uint8_t* bits);
void UnpackWord(uint8_t* bits, uint16_t word);
// n bits read as an unsigned number, the first one most significant.
uint32_t BitsToValue(int n, const uint8_t* bits);
// The inverse: bits[0] is the most significant of the n low bits of value.
void ValueToBits(uint32_t value, int n, uint8_t* bits);
