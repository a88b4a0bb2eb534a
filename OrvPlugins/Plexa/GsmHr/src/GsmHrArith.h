#pragma once
// Saturating 16/32-bit fractional arithmetic of the half-rate codec. Every
// operation on speech values goes through these so that results match the
// codec's definition bit for bit; they are inline because the searches call
// them millions of times a second.
#include <climits>
#include <cstdint>

namespace fx {

constexpr int16_t kMax16 = INT16_MAX;
constexpr int16_t kMin16 = INT16_MIN;
constexpr int32_t kMax32 = INT32_MAX;
constexpr int32_t kMin32 = INT32_MIN;

inline int16_t Sat16(int32_t v)
{
    return v > kMax16 ? kMax16 : (v < kMin16 ? kMin16 : static_cast<int16_t>(v));
}

inline int16_t Add(int16_t a, int16_t b)
{
    return Sat16(int32_t(a) + b);
}
inline int16_t Sub(int16_t a, int16_t b)
{
    return Sat16(int32_t(a) - b);
}
inline int16_t Abs(int16_t a)
{
    return a == kMin16 ? kMax16 : (a < 0 ? int16_t(-a) : a);
}
inline int16_t Neg(int16_t a)
{
    return a == kMin16 ? kMax16 : int16_t(-a);
}

inline int16_t Hi(int32_t v)
{
    return static_cast<int16_t>(v >> 16);
}
inline int16_t Lo(int32_t v)
{
    return static_cast<int16_t>(v & 0xffff);
}
inline int32_t ToHi(int16_t v)
{
    return int32_t(v) * 65536;
}

inline int32_t LAdd(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        return a < 0 ? kMin32 : kMax32;
    return r;
}

inline int32_t LSub(int32_t a, int32_t b)
{
    // The codec's subtraction wraps in this one case instead of saturating.
    if (a == 0 && b == kMin32)
        return kMin32;
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        return a < 0 ? kMin32 : kMax32;
    return r;
}

inline int32_t LNeg(int32_t a)
{
    return a == kMin32 ? kMax32 : -a;
}
inline int32_t LAbs(int32_t a)
{
    return a == kMin32 ? kMax32 : (a < 0 ? -a : a);
}

// Fractional product: a*b*2, the one overflow (-1 x -1) saturating.
inline int32_t LMul(int16_t a, int16_t b)
{
    const int32_t p = int32_t(a) * b;
    return p == 0x40000000 ? kMax32 : p * 2; // only -1 x -1 reaches 2^30
}

inline int32_t LMac(int32_t acc, int16_t a, int16_t b)
{
    return LAdd(acc, LMul(a, b));
}
inline int32_t LMsu(int32_t acc, int16_t a, int16_t b)
{
    return LSub(acc, LMul(a, b));
}
inline int16_t Round(int32_t v)
{
    return Hi(LAdd(v, 0x8000));
}
inline int16_t Mul(int16_t a, int16_t b)
{
    return Hi(LMul(a, b));
}
inline int16_t MulR(int16_t a, int16_t b)
{
    return Round(LMul(a, b));
}
inline int16_t MacR(int32_t acc, int16_t a, int16_t b)
{
    return Round(LMac(acc, a, b));
}
inline int16_t MsuR(int32_t acc, int16_t a, int16_t b)
{
    return Round(LMsu(acc, a, b));
}

inline int16_t Shl(int16_t v, int16_t n);

// Arithmetic right shift; a negative count shifts left with saturation.
inline int16_t Shr(int16_t v, int16_t n)
{
    if (n == 0 || v == 0)
        return v;
    if (n < 0) {
        if (n <= -15)
            return v > 0 ? kMax16 : kMin16;
        return Shl(v, int16_t(-n));
    }
    if (n >= 15)
        return v < 0 ? int16_t(-1) : int16_t(0);
    return static_cast<int16_t>(v >> n);
}

// Left shift with saturation; a negative count shifts right.
inline int16_t Shl(int16_t v, int16_t n)
{
    if (n == 0 || v == 0)
        return v;
    if (n < 0) {
        if (n <= -15)
            return v < 0 ? int16_t(-1) : int16_t(0);
        return Shr(v, int16_t(-n));
    }
    if (n >= 15)
        return v > 0 ? kMax16 : kMin16;
    const int32_t r = int32_t(v) * (1 << n);
    if (r > kMax16 || r < kMin16)
        return v > 0 ? kMax16 : kMin16;
    return static_cast<int16_t>(r);
}

inline int32_t LShl(int32_t v, int16_t n);

inline int32_t LShr(int32_t v, int16_t n)
{
    if (n == 0 || v == 0)
        return v;
    if (n < 0) {
        if (n <= -31)
            return v > 0 ? kMax32 : kMin32;
        return LShl(v, int16_t(-n));
    }
    if (n >= 31)
        return v > 0 ? 0 : -1;
    return v >> n;
}

inline int32_t LShl(int32_t v, int16_t n)
{
    if (n == 0 || v == 0)
        return v;
    if (n < 0) {
        if (n <= -31)
            return v > 0 ? 0 : -1;
        return LShr(v, int16_t(-n));
    }
    if (n >= 31 || v > (kMax32 >> n) || v < (kMin32 >> n))
        return v > 0 ? kMax32 : kMin32;
    return static_cast<int32_t>(static_cast<uint32_t>(v) << n);
}

// Right shift rounding on the last bit shifted out (negative n); n >= 0 is Shl.
inline int16_t ShrRound(int16_t v, int16_t n)
{
    if (n >= 0)
        return Shl(v, n);
    if (n < -15)
        return 0;
    const int16_t roundBit = static_cast<int16_t>(Shl(v, int16_t(n + 1)) & 1);
    return Add(Shl(v, n), roundBit);
}

inline int32_t LShrRound(int32_t v, int16_t n)
{
    if (n < -31)
        return 0;
    if (n < 0)
        return LAdd(LShl(v, n), LShl(v, int16_t(n + 1)) & 1);
    return LShl(v, n);
}

// Left shifts that bring a non-zero value into [0.5, 1) or [-1, -0.5); 0 for 0.
inline int16_t Norm32(int32_t v)
{
    return v == 0 ? int16_t(0) : static_cast<int16_t>(__builtin_clrsb(v));
}
inline int16_t Norm16(int16_t v)
{
    return Norm32(ToHi(v));
}

// a/b for 0 <= a <= b as a fraction; equal operands give 0x7fff, invalid ones 0.
inline int16_t Div(int16_t a, int16_t b)
{
    if (a < 0 || b < 0 || a > b)
        return 0;
    if (a == b)
        return kMax16;
    return static_cast<int16_t>((int32_t(a) * 0x8000) / b);
}

// 32 x 16 product, the low word truncated to 15 bits first.
inline int32_t LMul32x16(int32_t l, int16_t s)
{
    const int16_t low = static_cast<int16_t>(Shr(Lo(l), 1) & 0x7fff);
    int32_t out = LShr(LMul(s, low), 15);
    return LMac(out, s, Hi(l));
}

// 31 x 31 product built from the halves.
inline int32_t LMul32x32(int32_t a, int32_t b)
{
    const int16_t lowA = static_cast<int16_t>(Shr(Lo(a), 1) & 0x7fff);
    const int16_t lowB = static_cast<int16_t>(Shr(Lo(b), 1) & 0x7fff);
    const int16_t highA = Hi(a);
    const int16_t highB = Hi(b);
    int32_t mid = LAdd(LShr(LMul(highA, lowB), 1), LShr(LMul(lowA, lowB), 16));
    mid = LAdd(mid, LShr(LMul(highB, lowA), 1));
    return LMac(LShr(mid, 14), highA, highB);
}

inline bool AtLimit16(int16_t v)
{
    return v == kMax16 || v == kMin16;
}
inline bool AtLimit32(int32_t v)
{
    return v == kMax32 || v == kMin32;
}

} // namespace fx
