#include "MseqWriter.h"

#include "PolyraTrace.h"

#include "Util/CMemFile.h"

#include <algorithm>

using namespace Mseq;

MseqWriter::MseqWriter()
{
    for (auto& buffer : mBuffers)
        buffer.assign(TrackBufferSize, 0);
}

void MseqWriter::Reset()
{
    mLength.fill(0);
    mOpen.fill(false);
    mPendingDelay = 0;
    mTrackCount = 1;
}

bool MseqWriter::HasRoom(int track, uint64_t bytes) const
{
    return track >= 0 && track < MaxTrackCount && bytes <= uint64_t(TrackBufferSize - mLength[track]);
}

void MseqWriter::Put16(int track, uint16_t word)
{
    uint8_t* at = mBuffers[track].data() + mLength[track];
    at[0] = uint8_t(word & 0xFF);
    at[1] = uint8_t(word >> 8);
    mLength[track] += 2;
}

bool MseqWriter::Write16(int track, uint16_t word)
{
    if (!HasRoom(track, 2))
        return false;
    Put16(track, word);
    return true;
}

bool MseqWriter::Write32(int track, uint32_t value)
{
    if (!HasRoom(track, 4))
        return false;
    Put16(track, uint16_t(value & 0xFFFF));
    Put16(track, uint16_t(value >> 16));
    return true;
}

bool MseqWriter::OpenTrack(int track)
{
    if (track < 0 || track >= MaxTrackCount)
        return false;
    mLength[track] = 0;
    mOpen[track] = true;
    Put16(track, Tracks[track].openWord);
    Put16(track, 0);
    Put16(track, 0);
    Put16(track, TrackFillWord);
    return true;
}

bool MseqWriter::CloseTrack(int track)
{
    if (!Write16(track, Tracks[track].closeWord))
        return false;
    const uint32_t size = (uint32_t(mLength[track] / 2) << 8) | Tracks[track].kind;
    uint8_t* at = mBuffers[track].data() + 2;
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(size >> (8 * i));
    return true;
}

bool MseqWriter::FlushDelay()
{
    const uint64_t delay = mPendingDelay;
    if (delay == 0)
        return true;
    if (delay <= FieldMax) {
        if (!Write16(TrackNote, uint16_t((delay << FieldShift) | CmdDelay)))
            return false;
    } else {
        const uint64_t pairs = (delay + MaxExtendedDelay - 1) / MaxExtendedDelay;
        if (!HasRoom(TrackNote, pairs * 4))
            return false;
        for (uint64_t left = delay; left > 0;) {
            const uint64_t part = std::min(left, MaxExtendedDelay);
            Put16(TrackNote, uint16_t(((part & FieldMax) << FieldShift) | CmdExtDelay));
            Put16(TrackNote, uint16_t(part >> 11));
            left -= part;
        }
    }
    mPendingDelay = 0;
    return true;
}

bool MseqWriter::WriteNote(int channel, int pitch, unsigned velocity, unsigned duration, PolyraTrace* trace)
{
    if (duration == 0)
        return true;
    if (!HasRoom(TrackNote, 4))
        return false;
    unsigned written = velocity >> 1;
    if (velocity >= 128) {
        written = VelocityMask;
        if (trace)
            trace->Line(PolyraTrace::UserLine, "\nUSAGER : velocite > 127 (DATA INCOHERENTE), reduite a 63\n");
    }
    Put16(TrackNote,
          uint16_t(((pitch & PitchMask) << PitchShift) | ((channel & ChannelMask) << ChannelShift) | CmdNote));
    Put16(TrackNote, uint16_t((std::min<unsigned>(duration, DurationMax) << DurationShift) | (written & VelocityMask)));
    return true;
}

bool MseqWriter::WriteInstrument(int channel, int instrumentClass, int ambiance)
{
    return Write16(TrackNote,
                   uint16_t(((instrumentClass & ClassMask) << ClassShift) | ((ambiance & AmbianceMask) << AmbianceShift)
                            | ((channel & ChannelMask) << ChannelShift) | CmdInstrument));
}

bool MseqWriter::WriteVolume(int channel, int volume)
{
    return Write16(TrackNote, uint16_t(((volume & VolumeMask) << VolumeShift)
                                       | ((channel & ChannelMask) << ChannelShift) | CmdVolume));
}

bool MseqWriter::WriteSynchro(int track, int tag)
{
    return Write16(track, uint16_t(((tag & 0xFF) << FieldShift) | CmdSynchro));
}

bool MseqWriter::WriteRtb(unsigned rtb)
{
    return Write16(TrackNote, uint16_t(((rtb & FieldMax) << FieldShift) | CmdRtb));
}

bool MseqWriter::WriteLongText(int track, const char* text, int length)
{
    const int count = std::clamp(length, 0, TextMaxCharacters);
    const int words = 1 + (count + 1) / 2;
    if (!HasRoom(track, uint64_t(words) * 2))
        return false;
    Put16(track, uint16_t((count << TextCountShift) | CmdLongText));
    auto byteAt = [&](int i) -> uint16_t {
        if (i >= count)
            return TextPadByte;
        const uint8_t c = uint8_t(text[i]);
        return c == '\\' ? TextBackslashCode : c;
    };
    for (int i = 0; i < count; i += 2)
        Put16(track, uint16_t(byteAt(i) | (byteAt(i + 1) << 8)));
    return true;
}

bool MseqWriter::WriteUseObject(int track, uint16_t object)
{
    if (!HasRoom(track, 6))
        return false;
    Put16(track, CmdUseObject);
    Put16(track, object);
    Put16(track, 0);
    return true;
}

uint32_t MseqWriter::GetTracksSize() const
{
    uint32_t size = 0;
    for (int track = 0; track < mTrackCount && track < MaxTrackCount; ++track)
        if (mOpen[track])
            size += uint32_t(mLength[track]);
    return size;
}

bool MseqWriter::WriteFile(CMemFile& out, uint32_t atb, int booster, int equalizer) const
{
    const uint32_t words = GetTracksSize() / 2 + FixedWordCount;
    const uint8_t flags = uint8_t(SoundFlagsBase | uint8_t((booster - 1) * 8) | uint8_t(equalizer & 0xFF));
    const uint8_t header[HeaderSize] = {'.',
                                        'S',
                                        'E',
                                        'Q',
                                        HeaderVersionByte,
                                        uint8_t(words),
                                        uint8_t(words >> 8),
                                        uint8_t(words >> 16),
                                        0,
                                        0,
                                        0x1C,
                                        0,
                                        0,
                                        0,
                                        0x1C,
                                        0,
                                        0,
                                        0,
                                        uint8_t(atb),
                                        uint8_t(atb >> 8),
                                        uint8_t(atb >> 16),
                                        flags,
                                        uint8_t(mTrackCount),
                                        0xFF};
    if (out.Seek(0, 0) != 0 || out.Write(header, 1, HeaderSize) != HeaderSize)
        return false;
    for (int track = 0; track < mTrackCount && track < MaxTrackCount; ++track) {
        const uint32_t length = mOpen[track] ? uint32_t(mLength[track]) : 0;
        if (length && out.Write(mBuffers[track].data(), 1, length) != length)
            return false;
    }
    const uint8_t end[2] = {uint8_t(EndWord & 0xFF), uint8_t(EndWord >> 8)};
    return out.Write(end, 1, 2) == 2;
}
