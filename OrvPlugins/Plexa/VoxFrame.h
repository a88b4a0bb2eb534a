#pragma once
// One coded 20 ms frame on its way between PCM and a VOX message. A coding run
// (encode or decode of one file) keeps a single record and hands it to the
// reader, the writer and the vocoder's frame operations in turn.
#include <cstdint>

// Samples of one frame at 8000 Hz.
constexpr int kVoxFrameSamples = 160;
// A DATA_PLAY message holds at most this many 16-bit words, header included.
constexpr int kVoxMaxWords = 18;
// Message type of a coded frame, the low byte of word 0.
constexpr uint16_t kVoxDataPlay = 0x90;

struct VoxFrame
{
    int32_t count = 0; // frame counter of the run, 0 for the first frame
    int32_t dtx = 0;   // 1: discontinuous transmission on (the decoder sets 1)
    int16_t samples[kVoxFrameSamples] = {};
    // The message: word 0 is the header (type in the low byte, length L in the
    // high byte), words 1..L-1 the payload, word L-1 also the flag word.
    uint16_t words[kVoxMaxWords] = {};
    // bit 0 bfi, bit 1 taf, bit 2 ufi, bits 3-6 vocoder id, bits 7-9 RX type,
    // bits 10-15 kept as they are by the reader.
    uint16_t flags = 0;
    // The vocoder's per-run state, created by its Init and freed by its Release.
    void* state = nullptr;
};

// Field access on VoxFrame::flags and on the message header.
namespace VoxFlags {
constexpr uint16_t kBfi = 0x0001;
constexpr uint16_t kTaf = 0x0002;
constexpr uint16_t kUfi = 0x0004;
constexpr int kVocoderShift = 3;
constexpr uint16_t kVocoderMask = 0x000F << kVocoderShift;
constexpr int kRxShift = 7;
constexpr uint16_t kRxMask = 0x0007 << kRxShift;

inline int VocoderId(uint16_t flags)
{
    return (flags & kVocoderMask) >> kVocoderShift;
}
inline int RxType(uint16_t flags)
{
    return (flags & kRxMask) >> kRxShift;
}
inline bool Bfi(uint16_t flags)
{
    return (flags & kBfi) != 0;
}
inline bool Taf(uint16_t flags)
{
    return (flags & kTaf) != 0;
}
inline bool Ufi(uint16_t flags)
{
    return (flags & kUfi) != 0;
}
inline uint16_t WithVocoderId(uint16_t flags, int id)
{
    return uint16_t((flags & ~kVocoderMask) | ((id & 0x0F) << kVocoderShift));
}
inline uint16_t WithRxType(uint16_t flags, int rx)
{
    return uint16_t((flags & ~kRxMask) | ((rx & 0x07) << kRxShift));
}
} // namespace VoxFlags

inline int VoxMessageLength(const VoxFrame& frame)
{
    return frame.words[0] >> 8;
}
inline int VoxMessageType(const VoxFrame& frame)
{
    return frame.words[0] & 0xFF;
}
inline uint16_t VoxHeader(int length)
{
    return uint16_t((length << 8) | kVoxDataPlay);
}
