#pragma once
#include <cstdint>

// The 32-bit boolean of signal and slot signatures.
typedef int32_t B32;
