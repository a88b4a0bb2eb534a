#pragma once
#include "Import/CImporterBase.h"

// Imports a Standard MIDI File: a MIDI document holding the file's bytes and what
// the MIDI reader made of them.
class CScorin : public CImporterBase
{
public:
    CScorin() : CImporterBase("CScorin", "MID", CDocument::MIDI, CDocument::WAVE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
