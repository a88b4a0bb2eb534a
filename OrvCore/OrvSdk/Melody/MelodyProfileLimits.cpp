#include "Melody/MelodyProfileLimits.h"

#include "Melody/CDocumentMelody.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

MelodyProfileLimits MelodyProfileLimits::Read(CProfile* profile)
{
    MelodyProfileLimits limits;
    if (!profile)
        return limits;
    bool bLow = false;
    bool bHigh = false;
    const int low = ParameterRead::Int(profile, "BuzzerBandWidthLowNote", 0, &bLow);
    const int high = ParameterRead::Int(profile, "BuzzerBandWidthHighNote", 0, &bHigh);
    if (bLow && bHigh) {
        // Keys are compared as unsigned numbers, as the note fitting does.
        limits.nLowNote = static_cast<unsigned>(low);
        limits.nHighNote = static_cast<unsigned>(high);
    }
    limits.bOneLine = ParameterRead::Bool(profile, "BrimselOneLineMelodies", limits.bOneLine);
    limits.nMinBpm = ParameterRead::Int(profile, "MinBpmBuzzer", limits.nMinBpm);
    limits.nMaxBpm = ParameterRead::Int(profile, "MaxBpmBuzzer", limits.nMaxBpm);
    return limits;
}

int MelodyProfileLimits::SupportedStyle(CProfile* profile, int style)
{
    if (!profile)
        return style;
    const int supported =
        CDocumentMelody::StyleFromName(CProfile::GetBuzzerStyle(profile, CDocumentMelody::StyleName(style)));
    return supported >= 0 ? supported : style;
}
