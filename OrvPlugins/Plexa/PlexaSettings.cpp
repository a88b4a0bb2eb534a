#include "PlexaSettings.h"

#include "Parameters/ParameterRead.h"

PlexaSettings PlexaSettings::Read(const CParameters* parameters)
{
    PlexaSettings settings;
    settings.VocoderName = ParameterRead::Enum(parameters, "VocoderTypeName");
    settings.bNoDtx = ParameterRead::Bool(parameters, "EncodeNoDTX", false);
    settings.bDebugFiles = ParameterRead::Bool(parameters, "GenerateDebugFiles", false);
    return settings;
}
