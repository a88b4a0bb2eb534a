#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>

// Little-endian PCM sample access and the saturating truncation that every
// writer of samples shares.
namespace WaveSamples {

inline int16_t ReadInt16(const unsigned char* p)
{
    return int16_t(uint16_t(p[0] | (p[1] << 8)));
}

inline void WriteInt16(unsigned char* p, int16_t value)
{
    const uint16_t bits = uint16_t(value);
    p[0] = static_cast<unsigned char>(bits & 0xFF);
    p[1] = static_cast<unsigned char>(bits >> 8);
}

// The integer part of value (truncated toward zero), held within [low, high];
// NaN gives 0, so no out-of-range float-to-integer conversion ever happens.
inline int TruncateSaturated(double value, int low, int high)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(high))
        return high;
    if (value <= double(low))
        return low;
    return static_cast<int>(value);
}

} // namespace WaveSamples
