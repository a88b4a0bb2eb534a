#pragma once
// The synthesiser's 16/32-bit fixed-point operators. Every arithmetic operator
// obeys a process-wide mode: 0 wraps (two's complement), 1 saturates; one flag
// governs additions, subtractions and negations, the other left shifts. Any
// other mode value is reported as a broken invariant and gives 0.
//
// Everything is computed in 64-bit or unsigned arithmetic and narrowed, so
// that wrapping never rests on signed overflow.
#include "Util/Assert.h"

#include <cstdint>

namespace FixedPoint {
enum Mode : int16_t
{
    Wrap = 0,
    Saturate = 1
};

inline int16_t g_AddMode = Wrap;
inline int16_t g_ShiftMode = Wrap;
// Set by add16 and sub16 when the exact result left the 16-bit range.
inline int16_t g_Overflow = 0;

// Where an operator reads its mode: the process-wide flags (the default), or a
// mode fixed when the code is compiled, for loops that set the mode once and
// would otherwise read it again at every operation.
struct GlobalModes
{
    static int16_t Add() { return g_AddMode; }
    static int16_t Shift() { return g_ShiftMode; }
};
template <Mode M>
struct FixedModes
{
    static constexpr int16_t Add() { return M; }
    static constexpr int16_t Shift() { return M; }
};
using Wrapping = FixedModes<Wrap>;
using Saturating = FixedModes<Saturate>;

inline void set_wrap()
{
    g_AddMode = Wrap;
    g_ShiftMode = Wrap;
}

inline void set_saturate()
{
    g_AddMode = Saturate;
    g_ShiftMode = Saturate;
}

namespace Detail {
// An invalid saturation_mode: reported as a failed check of "FALSE", as the
// operators have always done; the caller then gets 0.
inline void ReportInvalidMode()
{
    ASSERT_TEXT(false, "FALSE");
}

inline int16_t Wrap16(int64_t v)
{
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v)));
}
inline int32_t Wrap32(int64_t v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

inline int16_t Clamp16(int64_t v)
{
    return v > INT16_MAX ? INT16_MAX : v < INT16_MIN ? INT16_MIN : static_cast<int16_t>(v);
}
inline int32_t Clamp32(int64_t v)
{
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

// Narrows an exact result by the given mode (0 for an invalid mode).
inline int16_t Narrow16(int64_t exact, int16_t mode)
{
    if (mode == Wrap)
        return Wrap16(exact);
    if (mode == Saturate)
        return Clamp16(exact);
    ReportInvalidMode();
    return 0;
}

inline int32_t Narrow32(int64_t exact, int16_t mode)
{
    if (mode == Wrap)
        return Wrap32(exact);
    if (mode == Saturate)
        return Clamp32(exact);
    ReportInvalidMode();
    return 0;
}

// A shift count is a 7-bit signed number: bit 6 makes it negative.
inline int ShiftCount(int count)
{
    return ((count & 0x7F) ^ 0x40) - 0x40;
}

// Arithmetic right shift; counts past the width give the sign.
inline int64_t ShiftRight(int64_t a, int count)
{
    return a >> (count > 62 ? 62 : count);
}
} // namespace Detail

template <class Modes = GlobalModes>
inline int16_t add16(int16_t a, int16_t b)
{
    const int64_t exact = int64_t(a) + b;
    g_Overflow = (exact > INT16_MAX || exact < INT16_MIN) ? 1 : 0;
    return Detail::Narrow16(exact, Modes::Add());
}

template <class Modes = GlobalModes>
inline int16_t sub16(int16_t a, int16_t b)
{
    const int64_t exact = int64_t(a) - b;
    g_Overflow = (exact > INT16_MAX || exact < INT16_MIN) ? 1 : 0;
    return Detail::Narrow16(exact, Modes::Add());
}

template <class Modes = GlobalModes>
inline int32_t add32(int32_t a, int32_t b)
{
    return Detail::Narrow32(int64_t(a) + b, Modes::Add());
}
template <class Modes = GlobalModes>
inline int32_t sub32(int32_t a, int32_t b)
{
    return Detail::Narrow32(int64_t(a) - b, Modes::Add());
}
template <class Modes = GlobalModes>
inline int16_t neg16(int16_t a)
{
    return Detail::Narrow16(-int64_t(a), Modes::Add());
}
template <class Modes = GlobalModes>
inline int32_t neg32(int32_t a)
{
    return Detail::Narrow32(-int64_t(a), Modes::Add());
}

template <class Modes = GlobalModes>
inline int16_t shl16(int16_t a, int count)
{
    const int n = Detail::ShiftCount(count);
    if (n < 0)
        return static_cast<int16_t>(Detail::ShiftRight(a, -n));
    const int16_t mode = Modes::Shift();
    if (mode == Wrap)
        return n >= 16 ? 0 : Detail::Wrap16(int64_t(uint64_t(uint16_t(a)) << n));
    if (mode == Saturate)
        return a == 0 ? 0 : Detail::Clamp16(n >= 16 ? (a < 0 ? INT16_MIN : INT16_MAX) : int64_t(a) * (int64_t(1) << n));
    Detail::ReportInvalidMode();
    return 0;
}

template <class Modes = GlobalModes>
inline int16_t shr16(int16_t a, int count)
{
    if (count < 0)
        return shl16<Modes>(a, -count);
    return static_cast<int16_t>(Detail::ShiftRight(a, count));
}

template <class Modes = GlobalModes>
inline int32_t shl32(int32_t a, int count)
{
    const int n = Detail::ShiftCount(count);
    if (n < 0)
        return static_cast<int32_t>(Detail::ShiftRight(a, -n));
    const int16_t mode = Modes::Shift();
    if (mode == Wrap)
        return n >= 32 ? 0 : Detail::Wrap32(int64_t(uint64_t(uint32_t(a)) << n));
    if (mode == Saturate)
        return a == 0 ? 0 : Detail::Clamp32(n >= 32 ? (a < 0 ? INT32_MIN : INT32_MAX) : int64_t(a) * (int64_t(1) << n));
    Detail::ReportInvalidMode();
    return 0;
}

template <class Modes = GlobalModes>
inline int32_t shr32(int32_t a, int count)
{
    if (count < 0)
        return shl32<Modes>(a, -count);
    return static_cast<int32_t>(Detail::ShiftRight(a, count));
}

// Logical shifts: left for positive counts, right for negative ones.
inline uint16_t lsh16(uint16_t a, int count)
{
    const int n = Detail::ShiftCount(count);
    if (n >= 16 || n <= -16)
        return 0;
    return n >= 0 ? static_cast<uint16_t>(a << n) : static_cast<uint16_t>(a >> -n);
}

inline uint32_t lsh32(uint32_t a, int count)
{
    const int n = Detail::ShiftCount(count);
    if (n >= 32 || n <= -32)
        return 0;
    return n >= 0 ? a << n : a >> -n;
}

// 2ab; the one product that does not fit, (-1) x (-1), stops just short of 1.
inline int32_t mul32(int16_t a, int16_t b)
{
    if (a == INT16_MIN && b == INT16_MIN)
        return 0x7FFFFFFE;
    return static_cast<int32_t>(2 * int64_t(a) * b);
}

inline int16_t high16(int32_t a)
{
    return static_cast<int16_t>(a >> 16);
}
inline int16_t mul16(int16_t a, int16_t b)
{
    return high16(mul32(a, b));
}

// The high half, one up when bit 15 is set, short of 32768: no branch, as
// it sits in the filters' feedback loops.
inline int16_t round16(int32_t a)
{
    const int32_t rounded = (a >> 16) + ((a >> 15) & 1);
    return static_cast<int16_t>(rounded > INT16_MAX ? INT16_MAX : rounded);
}

inline int32_t deposit_low(int32_t high, int16_t low)
{
    return static_cast<int32_t>((uint32_t(high) & 0xFFFF0000u) | uint16_t(low));
}

// Left shifts that bring bit 15 apart from bit 14; 0 gives 31.
inline int norm16(int16_t a)
{
    if (a == 0)
        return 31;
    uint16_t v = uint16_t(a);
    int count = 0;
    while (count < 15 && ((v >> 15) & 1) == ((v >> 14) & 1)) {
        v = uint16_t(v << 1);
        ++count;
    }
    return count;
}

inline int norm32(int32_t a)
{
    if (a == 0)
        return 31;
    uint32_t v = uint32_t(a);
    int count = 0;
    while (count < 31 && ((v >> 31) & 1) == ((v >> 30) & 1)) {
        v <<= 1;
        ++count;
    }
    return count;
}

// Fractional a / b by 16 steps of restoring division; the remainder is kept
// on 32 bits (wrapping) rather than cut back to 16.
inline int16_t div16(int16_t a, int16_t b)
{
    int32_t remainder = a;
    uint16_t quotient = 0;
    for (int step = 0; step < 16; ++step) {
        quotient = uint16_t(quotient << 1);
        if (remainder >= b) {
            quotient = uint16_t(quotient + 1);
            remainder = Detail::Wrap32(int64_t(remainder) - b);
        }
        remainder = Detail::Wrap32(int64_t(remainder) * 2);
    }
    return static_cast<int16_t>(quotient);
}
} // namespace FixedPoint
