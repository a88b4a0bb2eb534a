#include "TunraSettings.h"

#include "Melody/MelodyProfileLimits.h"
#include "Parameters/CProfile.h"

#include <QtGlobal>

namespace {
const unsigned kSmsPacketBytes = 128;
const int kOctave = 12;

// Typed look-ups that stay quiet about a missing parameter: the caller's
// fallback stands in for it.
const CParameter* Find(const CParameters* set, const char* name, int type)
{
    const CParameter* parameter = set ? set->GetParameter(QString::fromLatin1(name)) : nullptr;
    return parameter && parameter->GetType() == type ? parameter : nullptr;
}

bool ReadBool(const CParameters* set, const char* name, bool fallback)
{
    const CParameter* parameter = Find(set, name, CParameter::BOOL_TYPE);
    return parameter ? static_cast<const CBoolParameter*>(parameter)->mValue : fallback;
}

int ReadInt(const CParameters* set, const char* name, int fallback)
{
    const CParameter* parameter = Find(set, name, CParameter::INT_TYPE);
    return parameter ? static_cast<const CIntParameter*>(parameter)->mValue : fallback;
}

QString ReadEnum(const CParameters* set, const char* name)
{
    const CParameter* parameter = Find(set, name, CParameter::ENUM_TYPE);
    return parameter ? static_cast<const CEnumParameter*>(parameter)->GetValue() : QString();
}
} // namespace

TunraSettings TunraSettings::Read(CParameters* parameters, CProfile* profile)
{
    TunraSettings settings;
    settings.bHeader = ReadBool(parameters, "GenerateHeader", false);
    if (settings.bHeader)
    {
        settings.bBeat = ReadBool(parameters, "GenerateHeaderBeat", false);
        settings.bStyle = ReadBool(parameters, "GenerateHeaderStyle", false);
        settings.bName = ReadBool(parameters, "GenerateHeaderName", false);
        settings.bVersion = ReadBool(parameters, "GenerateHeaderVersion", false);
        settings.bFormat = ReadBool(parameters, "GenerateHeaderFormat", false);
        settings.bVolume = ReadBool(parameters, "GenerateHeaderVolume", false);
    }
    if (settings.bBeat)
        settings.nBeat = ReadInt(parameters, "Tempo", settings.nBeat);
    if (settings.bVolume)
        settings.nVolume = ReadInt(parameters, "Volume", settings.nVolume);

    settings.Style = ReadEnum(profile, "BuzzerDefaultStyle");
    if (settings.bStyle && !ReadBool(profile, "BuzzerUseDefaultStyle", false))
        settings.Style = ReadEnum(parameters, "Style");

    if (ReadBool(parameters, "SMSPaquet", false))
    {
        const qint64 packets = qMax(0, ReadInt(parameters, "SMSPaquetCount", 1));
        settings.uSizeLimit = static_cast<unsigned>(qMin<qint64>(packets * kSmsPacketBytes, 0xFFFFFFFFLL));
    }

    const MelodyProfileLimits limits = MelodyProfileLimits::Read(profile);
    settings.uLowNote = limits.nLowNote;
    settings.uHighNote = limits.nHighNote;
    settings.bAscii = ReadEnum(profile, "IMelodyEncoding") == QLatin1String("ASCII");
    settings.bDebugFiles = ReadBool(parameters, "GenerateDebugFiles", false);
    return settings;
}

bool TunraSettings::IsBandWideEnough() const
{
    return uLowNote <= uHighNote && uHighNote - uLowNote >= static_cast<unsigned>(kOctave);
}
