#pragma once
// The sounding voices of one render, within the phone's budgets: fewer than
// 17 voices, a cost A total below 2000 and a cost B total below 2400. A note
// that would reach a budget first ends the voices with the least time left.
#include "SynthTables.h"
#include "VoiceAlgorithms.h"

#include <cstdint>

class CConversionLog;

struct SynthVoice
{
    int64_t remaining; // samples
    int state;
    int channel;
    int pitch;
    int velocity;
    int algorithm;
    int preset;
    VoiceAlgorithms::OscillatorState oscillator;
    VoiceAlgorithms::ResonatorState resonator;
    VoiceAlgorithms::NoiseState noise;
};

// Adds a voice's block into the mix at a Q15 gain: mix += (sample x gain) >> 15,
// saturating, as add16 does in saturating mode (overflow flag included).
void MixVoice(int16_t mix[VoiceAlgorithms::BlockSize], const int16_t samples[VoiceAlgorithms::BlockSize], int16_t gain);

class CVoicePool
{
public:
    static constexpr int VoiceBudget = 17;
    static constexpr int CostABudget = 2000;
    static constexpr int CostBBudget = 2400;
    // Samples a voice sounds past its note, for its release.
    static constexpr int64_t ReleaseTail = 500;

    void Reset();
    // Starts a voice for a note of the given preset word; log may be null.
    void Start(int channel, int pitch, int velocity, uint16_t presetWord, int64_t durationSamples, CConversionLog* log);
    // Renders every voice for one block and adds it into the mix at its
    // channel's volume, then lets the ended voices go.
    void RenderBlock(int16_t mix[VoiceAlgorithms::BlockSize], const int16_t channelVolume[16],
                     const int16_t* noiseTable);

    int Count() const { return m_Count; }
    int CostATotal() const { return m_CostA; }
    int CostBTotal() const { return m_CostB; }

private:
    void EndVoice(int index);
    // Sets the voice's algorithm up from its preset (state 1), or ends it
    // when the preset has no data for that algorithm.
    static void StartAlgorithm(SynthVoice& voice);

    SynthVoice m_Voices[VoiceBudget] = {};
    int m_Count = 0;
    int m_CostA = 0;
    int m_CostB = 0;
};
