#pragma once
// What one one-line melody conversion takes from the converter's parameters
// and the phone profile, read once. A key that a hand-edited file lacks gets
// a neutral value instead of stopping the conversion.
#include <QString>
#include <QtGlobal>

class CParameters;
class CProfile;

struct ChimoSettings
{
    // The header holds the tempo in 10 bits and the volume in 4.
    static constexpr int MinTempo = 1;
    static constexpr int MaxTempo = 1023;
    static constexpr int MaxVolume = 15;

    int nTempo = 120;
    int nVolume = 7; // clamped to 0..MaxVolume
    QString Style;
    // Bytes the whole file may take; the writer's "no limit" when not asked.
    int nSizeLimit = 0;
    qint64 nLowNote = 0;
    qint64 nHighNote = 0;
    bool bDebugFiles = false;

    static ChimoSettings Read(const CParameters* parameters, const CProfile* profile);
    bool IsTempoWritable() const;
    // The note fitting needs a whole octave.
    bool IsBandWideEnough() const;
};
