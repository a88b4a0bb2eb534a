#pragma once
// Reads the command words of an MSEQ sequence in time order and plays them
// onto the channel states and the voice pool. Every read is checked against
// the end of the sequence: a command that would run past it ends the
// sequence there.
#include <QtGlobal>
#include <cstdint>

class CConversionLog;
class CVoicePool;

struct MseqChannel
{
    int ambiance;
    int instrumentClass;
    int16_t volume;
};

class CMseqInterpreter
{
public:
    static constexpr int ChannelCount = 16;

    // data and size: the whole sequence, header included; atb: microseconds per
    // tick. Without a pool the notes are read and start no voice.
    CMseqInterpreter(const uchar* data, uint32_t size, uint32_t atb, CVoicePool* pool, CConversionLog* log);

    // Interprets commands until the time to the next one (samples) is
    // positive again. False when the words ran out first.
    bool Advance(int64_t& timeToNext);

    // Samples of a number of ticks: ticks x ATB x 131 / 16384 (131/16384
    // standing for 8000 samples a second over 1000000 microseconds).
    int64_t TicksToSamples(int64_t ticks) const { return ticks * m_Atb * 131 / 16384; }

    uint32_t Position() const { return m_Position; }
    const int16_t* ChannelVolumes() const { return m_Volumes; }

private:
    bool ReadWord(uint16_t& word);
    // Interprets one command; false when its words ran past the end.
    bool Interpret(uint16_t word, int64_t& timeToNext);
    bool Note(uint16_t word);
    bool Track(uint16_t word);

    const uchar* m_pData;
    uint32_t m_Size;
    uint32_t m_Position;
    int64_t m_Atb;
    int64_t m_Rtb = 1;
    CVoicePool* m_pPool;
    CConversionLog* m_pLog;
    MseqChannel m_Channels[ChannelCount];
    int16_t m_Volumes[ChannelCount];
};
