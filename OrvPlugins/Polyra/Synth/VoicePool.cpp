#include "VoicePool.h"

#include "FixedPoint.h"
#include "Plugin/CConversionLog.h"

using namespace FixedPoint;
using namespace VoiceAlgorithms;

namespace {
int VoiceCostA(int preset)
{
    return 2 * SynthTables::CostA[preset];
}
int VoiceCostB(int preset)
{
    return SynthTables::CostB[preset];
}
} // namespace

void MixVoice(int16_t mix[BlockSize], const int16_t samples[BlockSize], int16_t gain)
{
    // Saturating sums; only the last one's overflow flag outlives the block.
    for (int i = 0; i < BlockSize - 1; ++i)
        mix[i] = Detail::Clamp16(int32_t(mix[i]) + mul16(samples[i], gain));
    mix[BlockSize - 1] = add16<Saturating>(mix[BlockSize - 1], mul16(samples[BlockSize - 1], gain));
}

void CVoicePool::Reset()
{
    m_Count = 0;
    m_CostA = 0;
    m_CostB = 0;
}

void CVoicePool::EndVoice(int index)
{
    m_CostA -= VoiceCostA(m_Voices[index].preset);
    m_CostB -= VoiceCostB(m_Voices[index].preset);
    for (int i = index + 1; i < m_Count; ++i)
        m_Voices[i - 1] = m_Voices[i];
    --m_Count;
}

void CVoicePool::Start(int channel, int pitch, int velocity, uint16_t presetWord, int64_t durationSamples,
                       CConversionLog* log)
{
    const int preset = SynthTables::PresetNumber(presetWord);
    const int algorithm = SynthTables::PresetAlgorithm(presetWord);
    if (preset >= SynthTables::PresetCount || algorithm == 0)
        return;
    const int costA = VoiceCostA(preset);
    const int costB = VoiceCostB(preset);
    while (m_Count > 0
           && (m_CostA + costA >= CostABudget || m_Count + 1 >= VoiceBudget || m_CostB + costB >= CostBBudget)) {
        int shortest = 0;
        for (int i = 1; i < m_Count; ++i)
            if (m_Voices[i].remaining < m_Voices[shortest].remaining)
                shortest = i;
        if (log)
            log->AddText(CConversionLog::SUMMARY,
                         QString::asprintf("Destroy note %d preset_id %d timer %ld\n", m_Voices[shortest].pitch,
                                           m_Voices[shortest].preset, long(m_Voices[shortest].remaining)));
        EndVoice(shortest);
    }

    SynthVoice& voice = m_Voices[m_Count++];
    voice.remaining = durationSamples + ReleaseTail;
    voice.state = StateNew;
    voice.channel = channel;
    voice.pitch = pitch;
    voice.velocity = velocity;
    voice.algorithm = algorithm;
    voice.preset = preset;
    m_CostA += costA;
    m_CostB += costB;
}

void CVoicePool::RenderBlock(int16_t mix[BlockSize], const int16_t channelVolume[16], const int16_t* noiseTable)
{
    for (int v = 0; v < m_Count; ++v) {
        SynthVoice& voice = m_Voices[v];
        const SynthPresets::Preset& preset = SynthPresets::PresetData(voice.preset);
        if (voice.state == StateNew) {
            // The first block sets the algorithm up; the voice sounds from the next.
            if (preset.oscillator && voice.algorithm == SynthTables::AlgorithmOscillator)
                OscillatorStart(voice.oscillator, *preset.oscillator, voice.pitch, voice.velocity, voice.remaining);
            else if (preset.resonator && voice.algorithm == SynthTables::AlgorithmResonator)
                ResonatorStart(voice.resonator, *preset.resonator, voice.pitch, voice.velocity);
            else if (preset.noise && voice.algorithm == SynthTables::AlgorithmNoise)
                NoiseStart(voice.noise, *preset.noise, voice.velocity);
            else
                voice.state = StateEnded; // a preset without data for this algorithm plays nothing
            if (voice.state == StateNew)
                voice.state = StateSounding;
        } else if (voice.state != StateEnded) {
            int16_t samples[BlockSize];
            if (voice.algorithm == SynthTables::AlgorithmOscillator)
                voice.state = OscillatorRender(voice.oscillator, voice.remaining, samples);
            else if (voice.algorithm == SynthTables::AlgorithmResonator)
                voice.state = ResonatorRender(voice.resonator, voice.remaining, samples);
            else
                voice.state = NoiseRender(voice.noise, *preset.noise, noiseTable, voice.remaining, samples);
            if (voice.remaining >= 0 && voice.remaining < BlockSize)
                voice.state = StateEnded;

            set_saturate();
            const int16_t gain = mul16(0x7F00, int16_t(channelVolume[voice.channel & 0x0F] * 256));
            MixVoice(mix, samples, gain);
            set_wrap();
        }
        voice.remaining -= BlockSize;
    }
    for (int v = m_Count - 1; v >= 0; --v)
        if (m_Voices[v].state == StateEnded)
            EndVoice(v);
}
