#pragma once
#include "Import/CImporterBase.h"

// Imports a RIFF WAVE file of PCM samples: 1 or 2 channels, 8 or 16 bits, and one
// of the sampling rates the wave document supports.
class CSonra : public CImporterBase
{
public:
    CSonra() : CImporterBase("CSonra", "WAV", CDocument::WAVE, CDocument::WAVE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
