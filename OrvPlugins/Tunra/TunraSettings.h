#pragma once
// What one iMelody conversion takes from the converter's parameters and the
// phone profile. A parameter or key that a hand-edited file lacks gets a
// neutral value instead of stopping the conversion.
#include <QString>

class CParameters;
class CProfile;

struct TunraSettings
{
    // Header lines; when "GenerateHeader" is off every other flag is off too.
    bool bHeader = false;
    bool bVersion = false;
    bool bFormat = false;
    bool bName = false;
    bool bBeat = false;
    bool bStyle = false;
    bool bVolume = false;

    int nBeat = 120;
    int nVolume = 7;
    // Empty when the profile names no style: the melody keeps its own.
    QString Style;
    // Bytes the whole ring tone may take.
    unsigned uSizeLimit = 0xFFFFFFFFu;
    // The buzzer's keys, compared as unsigned numbers like the note fitting.
    unsigned uLowNote = 0;
    unsigned uHighNote = 0xFFFFFFFFu;
    bool bAscii = true;
    bool bDebugFiles = false;

    static TunraSettings Read(CParameters* parameters, CProfile* profile);
    // The rule the note fitting applies: a band must span a whole octave.
    bool IsBandWideEnough() const;
};
