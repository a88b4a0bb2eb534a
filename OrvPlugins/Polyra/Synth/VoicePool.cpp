#include "VoicePool.h"

#include "FixedPoint.h"
#include "FixedPointLanes.h"
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
    // Saturating sums; only the last one's overflow flag outlives the block,
    // so the last sample is added again by the operator itself.
    const int16_t lastMix = mix[BlockSize - 1];
#if defined(__SSE2__)
    // Eight at a time: mul16 of each sample, added with saturation.
    const __m128i g = _mm_set1_epi16(gain);
    static_assert(BlockSize % 8 == 0, "the mix takes eight samples at a time");
    for (int i = 0; i < BlockSize; i += 8) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i));
        __m128i* const m = reinterpret_cast<__m128i*>(mix + i);
        _mm_storeu_si128(m, _mm_adds_epi16(_mm_loadu_si128(m), Mul16Lanes(s, g)));
    }
#else
    for (int i = 0; i < BlockSize - 1; ++i)
        mix[i] = Detail::Clamp16(int32_t(mix[i]) + mul16(samples[i], gain));
#endif
    mix[BlockSize - 1] = add16<Saturating>(lastMix, mul16(samples[BlockSize - 1], gain));
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

void CVoicePool::StartAlgorithm(SynthVoice& voice)
{
    const SynthPresets::Preset& preset = SynthPresets::PresetData(voice.preset);
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
}

void CVoicePool::RenderBlock(int16_t mix[BlockSize], const int16_t channelVolume[16], const int16_t* noiseTable)
{
    // Every voice renders its block first, then the blocks are mixed in the
    // voices' order: the voices share nothing while they render, so the mix
    // saturates as it would voice by voice. Resonator voices render as one set.
    int16_t samples[VoiceBudget][BlockSize];
    bool rendered[VoiceBudget] = {};
    ResonatorJob resonators[VoiceBudget];
    int resonatorVoices[VoiceBudget];
    int resonatorCount = 0;
    for (int v = 0; v < m_Count; ++v) {
        SynthVoice& voice = m_Voices[v];
        if (voice.state == StateNew) {
            // The first block sets the algorithm up; the voice sounds from the next.
            StartAlgorithm(voice);
            continue;
        }
        if (voice.state == StateEnded)
            continue;
        rendered[v] = true;
        if (voice.algorithm == SynthTables::AlgorithmOscillator)
            voice.state = OscillatorRender(voice.oscillator, voice.remaining, samples[v]);
        else if (voice.algorithm == SynthTables::AlgorithmNoise)
            voice.state = NoiseRender(voice.noise, *SynthPresets::PresetData(voice.preset).noise, noiseTable,
                                      voice.remaining, samples[v]);
        else {
            resonators[resonatorCount] = {&voice.resonator, voice.remaining, samples[v], voice.state};
            resonatorVoices[resonatorCount++] = v;
        }
    }
    ResonatorRenderSet(resonators, resonatorCount);
    for (int r = 0; r < resonatorCount; ++r)
        m_Voices[resonatorVoices[r]].state = resonators[r].next;

    for (int v = 0; v < m_Count; ++v) {
        SynthVoice& voice = m_Voices[v];
        if (rendered[v]) {
            if (voice.remaining >= 0 && voice.remaining < BlockSize)
                voice.state = StateEnded;
            set_saturate();
            const int16_t gain = mul16(0x7F00, int16_t(channelVolume[voice.channel & 0x0F] * 256));
            MixVoice(mix, samples[v], gain);
            set_wrap();
        }
        voice.remaining -= BlockSize;
    }
    for (int v = m_Count - 1; v >= 0; --v)
        if (m_Voices[v].state == StateEnded)
            EndVoice(v);
}
