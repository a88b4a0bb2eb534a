#include "TunraSettings.h"

#include "Melody/MelodyProfileLimits.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

#include <QtGlobal>

namespace {
const unsigned kSmsPacketBytes = 128;
const int kOctave = 12;

} // namespace

TunraSettings TunraSettings::Read(CParameters* parameters, CProfile* profile)
{
    TunraSettings settings;
    settings.bHeader = ParameterRead::Bool(parameters, "GenerateHeader", false);
    if (settings.bHeader) {
        settings.bBeat = ParameterRead::Bool(parameters, "GenerateHeaderBeat", false);
        settings.bStyle = ParameterRead::Bool(parameters, "GenerateHeaderStyle", false);
        settings.bName = ParameterRead::Bool(parameters, "GenerateHeaderName", false);
        settings.bVersion = ParameterRead::Bool(parameters, "GenerateHeaderVersion", false);
        settings.bFormat = ParameterRead::Bool(parameters, "GenerateHeaderFormat", false);
        settings.bVolume = ParameterRead::Bool(parameters, "GenerateHeaderVolume", false);
    }
    if (settings.bBeat)
        settings.nBeat = ParameterRead::Int(parameters, "Tempo", settings.nBeat);
    if (settings.bVolume)
        settings.nVolume = ParameterRead::Int(parameters, "Volume", settings.nVolume);

    settings.Style = ParameterRead::Enum(profile, "BuzzerDefaultStyle");
    if (settings.bStyle && !ParameterRead::Bool(profile, "BuzzerUseDefaultStyle", false))
        settings.Style = ParameterRead::Enum(parameters, "Style");

    if (ParameterRead::Bool(parameters, "SMSPaquet", false)) {
        const qint64 packets = qMax(0, ParameterRead::Int(parameters, "SMSPaquetCount", 1));
        settings.uSizeLimit = static_cast<unsigned>(qMin<qint64>(packets * kSmsPacketBytes, 0xFFFFFFFFLL));
    }

    const MelodyProfileLimits limits = MelodyProfileLimits::Read(profile);
    settings.uLowNote = limits.nLowNote;
    settings.uHighNote = limits.nHighNote;
    settings.bAscii = ParameterRead::Enum(profile, "IMelodyEncoding") == QLatin1String("ASCII");
    settings.bDebugFiles = ParameterRead::Bool(parameters, "GenerateDebugFiles", false);
    return settings;
}

bool TunraSettings::IsBandWideEnough() const
{
    return uLowNote <= uHighNote && uHighNote - uLowNote >= static_cast<unsigned>(kOctave);
}
