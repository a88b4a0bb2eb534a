#pragma once
// The resonator banks' partials turned in vector lanes, up to four partials
// of one bank to a group. Narrow lanes hold one group to a register; wide
// ones, built in a file of their own for the processors that have them,
// hold two. Both give the same samples.
#include "VoiceAlgorithms.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace VoiceAlgorithms {
constexpr int GroupLanes = 4;

// Up to four partials of one bank from first on; the sum is the bank's.
struct LaneGroup
{
    ResonatorState* bank;
    int32_t* sum;
    int first;
};

#if defined(__SSE2__)
// A group's partials as registers: (x, y), (c, -s) and (s, c) pairs side by
// side, zero past the bank's last partial. A turn is then two multiply-adds:
// c x - s y and s x + c y for all four at once.
struct GroupRegisters
{
    __m128i v, tx, ty;
};
GroupRegisters LoadGroup(const LaneGroup& group);
// The turned (x, y) pairs back into the bank.
void StoreGroup(const LaneGroup& group, __m128i v);

// Every group turned for one block in the wide lanes, each sample's partials
// added into its bank's sum; false, with nothing turned, where the program
// was built without them.
bool TurnInWideLanes(const LaneGroup groups[], int count);
#endif
} // namespace VoiceAlgorithms
