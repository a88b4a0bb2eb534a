#pragma once
#include <cstdint>

// The MSEQ sequence layout shared by the writer (Converter/) and the
// synthesiser's command interpreter: header offsets, track table and the
// command words with their bit fields. All values are little-endian.
namespace Mseq {
// Header: ".SEQ", 0x21, 24-bit word count, 00 00, 1C 00 00 00 twice,
// 24-bit ATB, sound flags, track count, 0xFF.
constexpr int HeaderSize = 24;
constexpr uint8_t HeaderVersionByte = 0x21;
constexpr int HeaderWordCountOffset = 5;
constexpr int HeaderAtbOffset = 18;
constexpr int HeaderSoundFlagsOffset = 21;
constexpr int HeaderTrackCountOffset = 22;
constexpr uint8_t SoundFlagsBase = 0x80;
// The 12 header words and the end word.
constexpr uint32_t FixedWordCount = 13;

constexpr uint16_t EndWord = 0x001F;
// A track is built in a buffer of at most this many bytes.
constexpr int TrackBufferSize = 65000;
constexpr int MaxTrackCount = 3;

enum TrackIndex
{
    TrackNote = 0, // the MISC track
    TrackText = 1,
    TrackPicture = 2
};

struct TrackInfo
{
    uint8_t kind;
    uint16_t openWord;
    uint16_t closeWord;
};

constexpr TrackInfo Tracks[MaxTrackCount] = {
    {0x01, 0x019E, 0x01FE},
    {0x10, 0x029E, 0x02FE},
    {0x20, 0x039E, 0x03FE},
};

// Open word, 32-bit size (length in words << 8 | kind), 0xFFFF.
constexpr int TrackOpenBytes = 8;
constexpr uint16_t TrackFillWord = 0xFFFF;
// Bit 5 of a TRACK word marks a close.
constexpr uint16_t TrackCloseBit = 0x0020;

enum Command : uint16_t
{
    CmdLongText = 1,
    CmdNote = 2,
    CmdInstrument = 3,
    CmdVolume = 4,
    CmdTwoWord = 6,
    CmdDelay = 22,
    CmdExtDelay = 23,
    CmdRtbDelay = 24,
    CmdSynchro = 25,
    CmdRtb = 27,
    CmdUseObject = 29,
    CmdTrack = 30,
    CmdEnd = 31
};

constexpr uint16_t CommandMask = 0x001F;
constexpr int FieldShift = 5; // the 11-bit field of DELAY, EXT_DELAY, RTB_DELAY, SYNCHRO, RTB
constexpr uint16_t FieldMax = 0x07FF;

// NOTE word 1: bits 5-8 channel, 9-15 pitch; word 2: bits 0-5 velocity, 6-15 duration.
constexpr int ChannelShift = 5;
constexpr uint16_t ChannelMask = 0x0F;
constexpr int PitchShift = 9;
constexpr uint16_t PitchMask = 0x7F;
constexpr uint16_t VelocityMask = 0x3F;
constexpr int DurationShift = 6;
constexpr uint16_t DurationMax = 1023;

// INSTRUMENT: bits 9-11 ambiance, 12-15 instrument class.
constexpr int AmbianceShift = 9;
constexpr uint16_t AmbianceMask = 0x07;
constexpr int ClassShift = 12;
constexpr uint16_t ClassMask = 0x0F;

// VOLUME: bits 9-15.
constexpr int VolumeShift = 9;
constexpr uint16_t VolumeMask = 0x7F;

// LONG_TEXT: bits 9-15 character count; a backslash is stored as 0x0D, an odd
// count padded with 0xFF.
constexpr int TextCountShift = 9;
constexpr int TextMaxCharacters = 127;
constexpr uint8_t TextBackslashCode = 0x0D;
constexpr uint8_t TextPadByte = 0xFF;

inline uint16_t CommandCode(uint16_t word)
{
    return word & CommandMask;
}
inline uint16_t Field(uint16_t word)
{
    return (word >> FieldShift) & FieldMax;
}
} // namespace Mseq
