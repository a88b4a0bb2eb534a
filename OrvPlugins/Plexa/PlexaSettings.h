#pragma once
// What one speech clip conversion takes from the converter's parameters.
#include <QString>

class CParameters;

struct PlexaSettings
{
    QString VocoderName;
    // Every frame coded as speech; off, silence becomes comfort noise frames.
    bool bNoDtx = false;
    bool bDebugFiles = false;

    static PlexaSettings Read(const CParameters* parameters);
};
