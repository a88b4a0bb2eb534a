#include "ChimoSettings.h"

#include "Melody/CMelodyTruncate.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

namespace {
const qint64 kSmsPacketBytes = 128;
const qint64 kOctave = 12;
// Read once by value: the writer's constant has no storage of its own.
const int kNoSizeLimit = int(CMelodyTruncate::NoSizeLimit);
} // namespace

ChimoSettings ChimoSettings::Read(const CParameters* parameters, const CProfile* profile)
{
    ChimoSettings settings;
    settings.nTempo = ParameterRead::Int(parameters, "Tempo", settings.nTempo);
    settings.nVolume = qBound(0, ParameterRead::Int(parameters, "Volume", settings.nVolume), MaxVolume);
    settings.Style = ParameterRead::Bool(profile, "BuzzerUseDefaultStyle", false)
                         ? ParameterRead::Enum(profile, "BuzzerDefaultStyle")
                         : ParameterRead::Enum(parameters, "Style");

    settings.nSizeLimit = kNoSizeLimit;
    if (ParameterRead::Bool(parameters, "SMSPaquet", false)) {
        // No packet at all leaves no room, which the writer refuses.
        const qint64 packets = qMax<qint64>(0, ParameterRead::Int(parameters, "SMSPaquetCount", 1));
        settings.nSizeLimit = static_cast<int>(qMin<qint64>(packets * kSmsPacketBytes, kNoSizeLimit));
    }
    settings.nLowNote = ParameterRead::Int(profile, "BuzzerBandWidthLowNote", 0);
    settings.nHighNote = ParameterRead::Int(profile, "BuzzerBandWidthHighNote", 127);
    settings.bDebugFiles = ParameterRead::Bool(parameters, "GenerateDebugFiles", false);
    return settings;
}

bool ChimoSettings::IsTempoWritable() const
{
    return nTempo >= MinTempo && nTempo <= MaxTempo;
}

bool ChimoSettings::IsBandWideEnough() const
{
    return nHighNote - nLowNote >= kOctave;
}
