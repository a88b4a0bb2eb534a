#pragma once
// Builds the tracks of an MSEQ sequence in their fixed buffers and writes the
// whole file. Every write checks the buffer's room first: a track that would
// pass its size fails the write and leaves the buffer as it was, so nothing
// is ever written half or past the end.
#include "MseqFormat.h"

#include <array>
#include <cstdint>
#include <vector>

class CMemFile;
class PolyraTrace;

class MseqWriter
{
public:
    // The largest delay one EXT_DELAY pair holds: 11 bits in the first word,
    // 16 in the second.
    static constexpr uint64_t MaxExtendedDelay = (uint64_t(1) << 27) - 1;

    MseqWriter();

    // Empties every track and the pending delay; one track counted.
    void Reset();

    // Raw words into a track (low byte first); false when it would not fit.
    bool Write16(int track, uint16_t word);
    bool Write32(int track, uint32_t value);

    // Open word, size placeholder 0 and 0xFFFF; close word, then the size
    // (length in words << 8 | kind) over the placeholder.
    bool OpenTrack(int track);
    bool CloseTrack(int track);

    // Delay in ticks waiting to be written before the next MISC command.
    void AddDelay(uint64_t ticks) { mPendingDelay += ticks; }
    uint64_t GetPendingDelay() const { return mPendingDelay; }
    void ClearDelay() { mPendingDelay = 0; }
    // Writes the pending delay into the MISC track and clears it: nothing for
    // 0, one DELAY up to 2047, else EXT_DELAY pairs of at most MaxExtendedDelay.
    bool FlushDelay();

    // One NOTE command at the current time, its duration in RTB units held
    // to the field's 1023 (several commands at one instant would sound
    // together, not one after another); duration 0 writes nothing.
    bool WriteNote(int channel, int pitch, unsigned velocity, unsigned duration, PolyraTrace* trace);
    bool WriteInstrument(int channel, int instrumentClass, int ambiance);
    bool WriteVolume(int channel, int volume);
    bool WriteSynchro(int track, int tag);
    bool WriteRtb(unsigned rtb);
    // Cut to 127 characters; a backslash is stored as 0x0D.
    bool WriteLongText(int track, const char* text, int length);
    bool WriteUseObject(int track, uint16_t object);

    // Header, the counted tracks' bytes, the end word; from the file's start.
    bool WriteFile(CMemFile& out, uint32_t atb, int booster, int equalizer) const;

    void SetTrackCount(int count) { mTrackCount = count; }
    int GetTrackCount() const { return mTrackCount; }
    bool IsOpen(int track) const { return mOpen[track]; }
    int GetTrackLength(int track) const { return mLength[track]; }
    const uint8_t* GetTrackBytes(int track) const { return mBuffers[track].data(); }
    // The bytes of every counted track.
    uint32_t GetTracksSize() const;

private:
    bool HasRoom(int track, uint64_t bytes) const;
    void Put16(int track, uint16_t word);

    std::array<std::vector<uint8_t>, Mseq::MaxTrackCount> mBuffers;
    std::array<int, Mseq::MaxTrackCount> mLength{};
    std::array<bool, Mseq::MaxTrackCount> mOpen{};
    uint64_t mPendingDelay = 0;
    int mTrackCount = 1;
};
