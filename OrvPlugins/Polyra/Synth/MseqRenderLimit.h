#pragma once
#include <cstdint>

// The longest sound a render writes: 30 minutes at 8000 Hz. A sequence that
// asks for more (one long delay is enough) stops there with a log line of its
// own. The fuzz target lowers it to keep each run short.
constexpr int64_t MseqDefaultRenderLimit = 14400000;
int64_t MseqRenderLimit();
void MseqSetRenderLimit(int64_t samples);
