#include "Melody/MidiNote.h"

#include "Util/Assert.h"
#include "Util/Saturate.h"

#include <QtDebug>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {
int g_nShortestDurationIndex = 5;

const double kModifierFactors[MidiNote::ModifierCount] = {1.0, 1.5, 1.75, 1.6666666666666667};
// The same factors in twelfths.
const int kModifierTwelfths[MidiNote::ModifierCount] = {12, 18, 21, 20};
// Family numerators of the candidate lengths: plain, dotted, double dotted, ";".
const double kFamilyNumerators[MidiNote::ModifierCount] = {4.0, 6.0, 7.0, 6.666666666666667};
const double kDivisors[MidiNote::DurationCount] = {1.0, 2.0, 4.0, 8.0, 16.0, 32.0};

const double kBaseFrequencies[13] = {261.3, 277.18, 293.67, 311.13, 329.63, 349.23, 369.99,
                                     392.0, 415.31, 440.0,  466.16, 493.88, 0.0};
const char* const kNoteNames[13] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B", "Silence"};
const char* const kModifierTexts[MidiNote::ModifierCount] = {"", ".", ":", ";"};

// iMelody's valid beat range.
const int kMinBeat = 25;
const int kMaxBeat = 900;
} // namespace

void MelodyNoteList::AppendCopies(const MelodyNoteList& other)
{
    reserve(count() + other.count());
    for (const MelodyElement* element : other)
        append(element->Clone());
}

void MidiNote::SetVolume(int velocity, int channelVolume)
{
    const double volume = (channelVolume & 255) * (1.0 / 127) * (velocity & 255);
    // Out-of-range MIDI data bytes can push the product past one byte.
    m_ucVolume = static_cast<uint8_t>(volume > 255.0 ? 255 : static_cast<int>(volume));
}

void MidiNote::SetMidiKey(int key)
{
    m_nOctave = key / 12 - 2;
    m_nValue = key >= 1 ? key % 12 : Silence;
}

int MidiNote::GetMidiKey() const
{
    if (m_nValue == Silence)
        return -1;
    return m_nValue + (m_nOctave + 2) * 12;
}

void MidiNote::Transpose(int semitones)
{
    if (m_nValue == Silence)
        return;
    SetMidiKey(GetMidiKey() + semitones);
}

bool MidiNote::FitInBandwidth(unsigned low, unsigned high)
{
    if (m_nValue == Silence)
        return true;
    if (low > high || high - low < 12)
        return false;
    // Whole octaves are counted out at once, so a far-away band costs no loop
    // and a key can never wrap.
    const int64_t lo = low;
    const int64_t hi = high;
    int64_t key = static_cast<int64_t>(m_nValue) + (static_cast<int64_t>(m_nOctave) + 2) * 12;
    if (key > hi)
        key -= 12 * ((key - hi + 11) / 12);
    if (key < lo)
        key += 12 * ((lo - key + 11) / 12);
    if (key > std::numeric_limits<int>::max() - 36)
        return false;
    if (key != GetMidiKey()) {
        m_nOctave = static_cast<int>(key / 12) - 2;
        m_nValue = static_cast<int>(key % 12);
    }
    return true;
}

void MidiNote::FillCandidates(double* table) const
{
    const double q = m_usTicksPerQuarter;
    for (int family = 0; family < ModifierCount; ++family)
        for (int d = 0; d < DurationCount; ++d)
            table[family * DurationCount + d] = q * kFamilyNumerators[family] / kDivisors[d];
}

int MidiNote::SetDurationFromTicks(int ticks, int ticksPerQuarter)
{
    m_usTicksPerQuarter = static_cast<uint16_t>(ticksPerQuarter);
    double table[CandidateCount];
    FillCandidates(table);

    const int threshold = TruncateSaturated(table[g_nShortestDurationIndex] * 0.5);
    if (ticks < threshold) {
        m_nDuration = 5;
        m_nDurationModifier = 0;
        return TruncateSaturated(static_cast<double>(ticks) - threshold);
    }

    double best = std::fabs(static_cast<double>(ticks)) + 6.0 * m_usTicksPerQuarter;
    int nMinRestIndex = -1;
    for (int i = 0; i < CandidateCount; ++i) {
        const double distance = std::fabs(table[i] - ticks);
        if (distance < best) {
            nMinRestIndex = i;
            best = distance;
        }
    }
    // The check prints its condition as written.
    // clang-format off
    ASSERT(nMinRestIndex>=0);
    // clang-format on
    if (nMinRestIndex < 0) {
        // Only without a resolution: the shortest note, nothing left over.
        m_nDuration = 5;
        m_nDurationModifier = 0;
        return 0;
    }
    m_nDuration = nMinRestIndex % DurationCount;
    m_nDurationModifier = nMinRestIndex / DurationCount;
    if (best <= table[5] * 0.5)
        return 0;
    return TruncateSaturated(best);
}

void MidiNote::SetShortestDurationIndex(int index)
{
    if (index >= 0 && index < CandidateCount)
        g_nShortestDurationIndex = index;
}

int MidiNote::GetShortestDurationIndex()
{
    return g_nShortestDurationIndex;
}

double MidiNote::GetFrequency() const
{
    if (m_nValue < 0 || m_nValue > Silence)
        return 0.0;
    const int exponent = m_nOctave - 3;
    return kBaseFrequencies[m_nValue] * std::ldexp(1.0, exponent);
}

double MidiNote::ModifierFactor(int modifier)
{
    return (modifier >= 0 && modifier < ModifierCount) ? kModifierFactors[modifier] : 1.0;
}

int MidiNote::ClampBeat(int tempo)
{
    return tempo < kMinBeat ? kMinBeat : (tempo > kMaxBeat ? kMaxBeat : tempo);
}

int MidiNote::GetDurationMs(int tempo) const
{
    // A beat of 0 (a MIDI file without tempo) must not divide by zero; the
    // quarter's length is kept in floating point so long notes do not lose
    // the truncated fraction of every beat.
    const double quarterMs = 60000.0 / ClampBeat(tempo);
    const int duration = (m_nDuration >= 0 && m_nDuration < DurationCount) ? m_nDuration : 5;
    return TruncateSaturated(4.0 / std::ldexp(1.0, duration) * ModifierFactor(m_nDurationModifier) * quarterMs);
}

int MidiNote::GetLengthIn96ths() const
{
    const int duration = (m_nDuration >= 0 && m_nDuration < DurationCount) ? m_nDuration : 5;
    const int modifier =
        (m_nDurationModifier >= 0 && m_nDurationModifier < ModifierCount) ? kModifierTwelfths[m_nDurationModifier] : 12;
    // A thirty-second note (index 5) is 12 96ths; each smaller index is a note twice as long.
    return (32 >> duration) * modifier;
}

int MidiNote::GetVolumeLevel(const VolumeInfo& info) const
{
    return TruncateSaturated((static_cast<int>(m_ucVolume) - info.nMidiVolumeMin) * info.dScale + 0.5 + info.nOffset);
}

QString MidiNote::Dump() const
{
    const int value = (m_nValue >= 0 && m_nValue <= Silence) ? m_nValue : Silence;
    const QString duration =
        (m_nDuration >= 0 && m_nDuration < DurationCount) ? QString::number(m_nDuration) : QStringLiteral("?");
    const char* modifier =
        (m_nDurationModifier >= 0 && m_nDurationModifier < ModifierCount) ? kModifierTexts[m_nDurationModifier] : "?";
    return QStringLiteral("%1%2%3%4 Vol = %5")
        .arg(m_nOctave)
        .arg(QLatin1String(kNoteNames[value]), duration, QLatin1String(modifier))
        .arg(static_cast<int>(m_ucVolume));
}

void MidiNote::ComputeVolumeFactors(const MelodyNoteList& list, VolumeInfo& info)
{
    int minimum = 127;
    int maximum = 0;
    for (const MelodyElement* element : list) {
        if (element->GetElementType() != Note)
            continue;
        const MidiNote* note = static_cast<const MidiNote*>(element);
        if (note->IsSilence())
            continue;
        // A note that lowers the minimum is not also weighed against the
        // maximum: levels above the top level come from here and are kept.
        if (note->GetVolume() < minimum)
            minimum = note->GetVolume();
        else if (note->GetVolume() > maximum)
            maximum = note->GetVolume();
    }
    if (maximum == 0) {
        maximum = 127;
        qDebug("MidiNote::ComputeVolumeFactors : nMidiVolumeMax from 0 to max");
    }
    info.nMidiVolumeMin = minimum;
    info.nMidiVolumeMax = maximum;
    const int64_t offset = static_cast<int64_t>(info.nTopLevel) * minimum / maximum;
    info.nOffset = static_cast<int>(offset);
    info.nMidiVolumeRange = maximum - minimum;
    info.nLevelSpan = TruncateSaturated(static_cast<double>(info.nTopLevel) - info.nOffset);
    info.dScale = (maximum == minimum) ? 0.0 : static_cast<double>(info.nLevelSpan) / info.nMidiVolumeRange;
}

void MidiNote::FitListInBandwidth(MelodyNoteList& list, unsigned low, unsigned high)
{
    for (MelodyElement* element : list) {
        if (element->GetElementType() != Note)
            continue;
        const bool bBandwidthOk = static_cast<MidiNote*>(element)->FitInBandwidth(low, high);
        ASSERT(bBandwidthOk);
    }
}
