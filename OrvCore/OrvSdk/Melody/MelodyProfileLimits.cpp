#include "Melody/MelodyProfileLimits.h"

#include "Melody/CDocumentMelody.h"
#include "Parameters/CProfile.h"

namespace {
void ReadInt(CProfile* profile, const char* key, int& value)
{
    if (const CIntParameter* parameter = profile->GetIntParameter(QString::fromLatin1(key)))
        value = parameter->mValue;
}
} // namespace

MelodyProfileLimits MelodyProfileLimits::Read(CProfile* profile)
{
    MelodyProfileLimits limits;
    if (!profile)
        return limits;
    const CIntParameter* low = profile->GetIntParameter(QStringLiteral("BuzzerBandWidthLowNote"));
    const CIntParameter* high = profile->GetIntParameter(QStringLiteral("BuzzerBandWidthHighNote"));
    if (low && high)
    {
        // Keys are compared as unsigned numbers, as the note fitting does.
        limits.nLowNote = static_cast<unsigned>(low->mValue);
        limits.nHighNote = static_cast<unsigned>(high->mValue);
    }
    if (const CBoolParameter* oneLine = profile->GetBoolParameter(QStringLiteral("BrimselOneLineMelodies")))
        limits.bOneLine = oneLine->mValue;
    ReadInt(profile, "MinBpmBuzzer", limits.nMinBpm);
    ReadInt(profile, "MaxBpmBuzzer", limits.nMaxBpm);
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
