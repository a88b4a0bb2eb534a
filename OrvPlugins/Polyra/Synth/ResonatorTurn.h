#pragma once
// The loop that turns resonator groups, for either width of lanes. A file
// that turns groups includes it and gives it its registers as a class L:
//   Vector, Groups (groups to a register), Width (32-bit lanes to a register);
//   Set32, Madd, Add, Shift15 (arithmetic), Interleave (the x and y halves
//   back into (x, y) pairs, saturated to 16 bits), Store;
//   Load (a register's groups into v, tx, ty) and Finish (its lanes into the
//   banks' sums, its pairs back into the banks), each told how many groups
//   of the share are left from that register on.
// It lies in an unnamed namespace, and calls nothing of the standard library,
// so that each file keeps a copy of its own, built with that file's
// instructions, and never lends a wide one to a narrow file.
#include "ResonatorLanes.h"

namespace VoiceAlgorithms {
namespace {
// Each turn waits on the last, so a register alone leaves the processor
// idle most of the time; this many side by side keep it busy.
constexpr int MaxRegistersSideBySide = 4;

// Up to four partials to a group, (x, y) pairs side by side: one multiply-add
// gives c x - s y for all of them, another s x + c y. The count is fixed
// here so that every register stays a register.
template <class L, int Registers>
void TurnRegisters(const LaneGroup groups[], int count)
{
    const typename L::Vector half = L::Set32(0x4000), firstOfPairs = L::Set32(1);
    typename L::Vector v[Registers], tx[Registers], ty[Registers];
    for (int r = 0; r < Registers; ++r)
        L::Load(groups + r * L::Groups, count - r * L::Groups, v[r], tx[r], ty[r]);
    alignas(32) int32_t lanes[Registers][BlockSize][L::Width];
    for (int i = 0; i < BlockSize; ++i) {
        // Unrolled, so that no turn waits on a trip of its partials through memory.
#pragma GCC unroll 4
        for (int r = 0; r < Registers; ++r) {
            const typename L::Vector nx = L::Shift15(L::Add(L::Madd(v[r], tx[r]), half));
            const typename L::Vector ny = L::Shift15(L::Add(L::Madd(v[r], ty[r]), half));
            v[r] = L::Interleave(nx, ny);
            L::Store(lanes[r][i], L::Madd(v[r], firstOfPairs));
        }
    }
    for (int r = 0; r < Registers; ++r)
        L::Finish(groups + r * L::Groups, count - r * L::Groups, lanes[r], v[r]);
}

// Every group, a few registers side by side at a time, in even shares: five
// registers' worth are turned as three and two rather than four and one.
template <class L>
void TurnInShares(const LaneGroup groups[], int count)
{
    static_assert(MaxRegistersSideBySide == 4, "one turning routine for each share size");
    for (int done = 0; done < count;) {
        const int registers = (count - done + L::Groups - 1) / L::Groups;
        const int shares = (registers + MaxRegistersSideBySide - 1) / MaxRegistersSideBySide;
        const int size = (registers + shares - 1) / shares;
        const int inShare = count - done < size * L::Groups ? count - done : size * L::Groups;
        if (size == 1)
            TurnRegisters<L, 1>(groups + done, inShare);
        else if (size == 2)
            TurnRegisters<L, 2>(groups + done, inShare);
        else if (size == 3)
            TurnRegisters<L, 3>(groups + done, inShare);
        else
            TurnRegisters<L, 4>(groups + done, inShare);
        done += inShare;
    }
}
} // namespace
} // namespace VoiceAlgorithms
