#pragma once
// The AMR-NB bit allocation, as data from the standards: per mode, the widths
// of the codec parameters in their encoding order (TS 26.090), the order in
// which a storage frame carries those bits (TS 26.101 Annex B), and the
// decoder homing frame (TS 26.073).
#include <cstdint>

namespace PlexaAmr {
constexpr int kModeCount = 8; // speech modes 0 (4.75) .. 7 (12.2)
constexpr int kModeSid = 8;   // the comfort-noise parameter set
constexpr int kModeNoData = 15;
constexpr int kMaxBits = 244;
constexpr int kMaxParameters = 57;
constexpr int kSidBits = 35;

struct AmrModeTable
{
    int bits;               // coded bits of a frame
    int parameters;         // codec parameters of a frame
    int firstSubframe;      // parameters up to the end of the first subframe
    int payloadWords;       // VOX payload words, flag word included
    const uint8_t* widths;  // bits of each parameter
    const uint8_t* sort;    // storage bit i carries parameter-order bit sort[i]
    const uint16_t* homing; // the decoder homing frame
};

// mode 0..7, or kModeSid (no sort table and no homing frame).
const AmrModeTable& ModeTable(int mode);
} // namespace PlexaAmr
