// Audible previews of iMelody and one-line events, appended to a 16-bit mono
// wave document as a tone for the sounding part of each note and silence
// for the rest of its length.
#include "Melody/IBrimselEvent.h"
#include "Melody/IMYNote.h"
#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"

namespace {
const int kTopLevel = 15;
const int kShortSilenceMs = 40;

// Share of a note's length that sounds, by style: Natural, Continuous, Staccato.
double StyleFactor(int style)
{
    switch (style) {
    case 1:
        return 1.0;
    case 2:
        return 0.33;
    default:
        return 0.5;
    }
}

// Levels above the top level exist (the volume mapping can overshoot); the
// amplitude saturates so the samples never wrap.
double LevelAmplitude(int level)
{
    const double amplitude = level * (1.0 / kTopLevel);
    return amplitude < 0.0 ? 0.0 : (amplitude > 1.0 ? 1.0 : amplitude);
}

unsigned NonNegative(int ms)
{
    return ms > 0 ? static_cast<unsigned>(ms) : 0u;
}

int AppendNote(CDocumentWave* wave, const MidiNote& note, int level, int style, int tempo)
{
    ASSERT(wave);
    if (!wave)
        return 0;
    const int ms = note.GetDurationMs(tempo);
    if (note.IsSilence())
        return static_cast<int>(wave->AppendSilence(NonNegative(ms)));
    const int tone = static_cast<int>(ms * StyleFactor(style));
    unsigned samples = wave->AppendTone(note.GetFrequency(), LevelAmplitude(level), NonNegative(tone));
    samples += wave->AppendSilence(NonNegative(ms - tone));
    return static_cast<int>(samples);
}
} // namespace

int IMYNote::GeneratePreview(CDocumentWave* wave, int tempo) const
{
    return AppendNote(wave, m_Note, m_nVolumeLevel, m_nStyle, tempo);
}

int IBrimselNote::GeneratePreview(CDocumentWave* wave, int beat)
{
    return AppendNote(wave, m_Note, m_nVolume, m_nStyle, beat);
}

int ShortSilence::GeneratePreview(CDocumentWave* wave, int beat)
{
    ASSERT(wave);
    if (!wave)
        return 0;
    const int samples = static_cast<int>(wave->AppendSilence(kShortSilenceMs));
    return samples + IBrimselNote::GeneratePreview(wave, beat);
}

int UserSilence::GeneratePreview(CDocumentWave* wave, int beat)
{
    ASSERT(wave);
    if (!wave)
        return 0;
    return static_cast<int>(wave->AppendSilence(NonNegative(m_Note.GetDurationMs(beat))));
}
