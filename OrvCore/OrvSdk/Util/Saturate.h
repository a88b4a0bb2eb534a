#pragma once
// The integer part of a floating-point value (truncated toward zero), held
// within [low, high]; NaN gives 0, so no out-of-range float-to-integer
// conversion ever happens.
#include <climits>
#include <cmath>

inline int TruncateSaturated(double value, int low = INT_MIN, int high = INT_MAX)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(high))
        return high;
    if (value <= double(low))
        return low;
    return static_cast<int>(value);
}
