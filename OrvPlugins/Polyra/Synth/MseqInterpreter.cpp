#include "MseqInterpreter.h"

#include "MseqFormat.h"
#include "SynthTables.h"
#include "VoicePool.h"

#include <algorithm>

namespace {
// The time to the next command never grows past this (about 4,000 years of
// samples), so that any run of delays adds up without overflow.
constexpr int64_t MaxTime = int64_t(1) << 50;
constexpr int MinTrackWords = 4; // open word, size and fill word
} // namespace

CMseqInterpreter::CMseqInterpreter(const uchar* data, uint32_t size, uint32_t atb, CVoicePool* pool,
                                   CConversionLog* log)
    : m_pData(data), m_Size(size), m_Position(Mseq::HeaderSize), m_Atb(atb), m_pPool(pool), m_pLog(log)
{
    for (int c = 0; c < ChannelCount; ++c) {
        m_Channels[c] = MseqChannel{0, 0, 127};
        m_Volumes[c] = 127;
    }
}

bool CMseqInterpreter::ReadWord(uint16_t& word)
{
    if (!m_pData || m_Position > m_Size || m_Size - m_Position < 2)
        return false;
    word = uint16_t(m_pData[m_Position] | (m_pData[m_Position + 1] << 8));
    m_Position += 2;
    return true;
}

bool CMseqInterpreter::Advance(int64_t& timeToNext)
{
    while (timeToNext < 1) {
        uint16_t word = 0;
        if (!ReadWord(word) || !Interpret(word, timeToNext)) {
            m_Position = m_Size; // the rest cannot be read: the sequence ends here
            return false;
        }
    }
    return true;
}

bool CMseqInterpreter::Interpret(uint16_t word, int64_t& timeToNext)
{
    const auto wait = [&](int64_t ticks) { timeToNext = std::min(timeToNext + TicksToSamples(ticks), MaxTime); };
    const int channel = (word >> Mseq::ChannelShift) & Mseq::ChannelMask;
    uint16_t second = 0;
    switch (Mseq::CommandCode(word)) {
    case Mseq::CmdNote:
        return Note(word);
    case Mseq::CmdInstrument:
        m_Channels[channel].ambiance = (word >> Mseq::AmbianceShift) & Mseq::AmbianceMask;
        m_Channels[channel].instrumentClass = (word >> Mseq::ClassShift) & Mseq::ClassMask;
        return true;
    case Mseq::CmdVolume:
        m_Channels[channel].volume = int16_t((word >> Mseq::VolumeShift) & Mseq::VolumeMask);
        m_Volumes[channel] = m_Channels[channel].volume;
        return true;
    case Mseq::CmdTwoWord:
        return ReadWord(second);
    case Mseq::CmdDelay:
        wait(Mseq::Field(word));
        return true;
    case Mseq::CmdExtDelay:
        if (!ReadWord(second))
            return false;
        wait(int64_t(second) * 2048 + Mseq::Field(word));
        return true;
    case Mseq::CmdRtbDelay:
        wait(int64_t(Mseq::Field(word)) * m_Rtb);
        return true;
    case Mseq::CmdRtb:
        m_Rtb = Mseq::Field(word);
        return true;
    case Mseq::CmdTrack:
        return Track(word);
    default:
        return true; // SYNCHRO, END and anything unknown take no part in the sound
    }
}

bool CMseqInterpreter::Note(uint16_t word)
{
    uint16_t second = 0;
    if (!ReadWord(second))
        return false;
    const int channel = (word >> Mseq::ChannelShift) & Mseq::ChannelMask;
    int pitch = (word >> Mseq::PitchShift) & Mseq::PitchMask;
    const int velocity = second & Mseq::VelocityMask;
    const int duration = second >> Mseq::DurationShift;
    if (velocity == 0 || duration == 0 || !m_pPool)
        return true;
    uint16_t presetWord = 0;
    if (channel == SynthTables::DrumChannel) {
        presetWord = SynthTables::DrumPresetWord(pitch);
        pitch = SynthTables::PresetPitch(presetWord);
    } else {
        presetWord = SynthTables::ClassPresets[m_Channels[channel].instrumentClass];
        pitch += SynthTables::PresetPitch(presetWord);
    }
    m_pPool->Start(channel, pitch, velocity, presetWord, TicksToSamples(int64_t(duration) * m_Rtb), m_pLog);
    return true;
}

bool CMseqInterpreter::Track(uint16_t word)
{
    if (word & Mseq::TrackCloseBit)
        return true; // the end of a track: reading goes on with the next word
    const uint32_t openPosition = m_Position - 2;
    uint16_t sizeLow = 0, sizeHigh = 0, fill = 0;
    if (!ReadWord(sizeLow) || !ReadWord(sizeHigh) || !ReadWord(fill))
        return false;
    const uint32_t size = uint32_t(sizeLow) | (uint32_t(sizeHigh) << 16);
    if ((size & 0xFF) == Mseq::Tracks[Mseq::TrackNote].kind)
        return true; // a note track is played
    // Any other track is skipped whole, to the word after its close word. A
    // length that does not cover its own opening, or runs past the end of
    // the sequence, ends it.
    const uint64_t words = size >> 8;
    if (words < MinTrackWords || openPosition + 2 * words > m_Size)
        return false;
    m_Position = uint32_t(openPosition + 2 * words);
    return true;
}
