#pragma once
// The phone profile's melody limits as the melody text code reads them. A
// missing profile or key gives the neutral value: no band to fit into,
// iMelody's own beat range, line wrapping on.
#include <QString>

class CProfile;

struct MelodyProfileLimits
{
    unsigned nLowNote = 0;
    unsigned nHighNote = 0xFFFFFFFFu;
    bool bOneLine = false;
    int nMinBpm = 25;
    int nMaxBpm = 900;

    static MelodyProfileLimits Read(CProfile* profile);
    // The style number that the phone plays for the requested one.
    static int SupportedStyle(CProfile* profile, int style);
};
