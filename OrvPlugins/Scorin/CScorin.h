#pragma once
#include "Import/CImporterBase.h"

// Imports a Standard MIDI File: a MIDI document holding the file's bytes and what
// the MIDI reader made of them.
class CScorin : public CImporterBase
{
public:
    CScorin() : CImporterBase("CScorin", "MID", CDocument::MIDI, CDocument::WAVE) {}

    // A file of independent sequences (format 2), of which the first is converted; %1 is their number.
    static constexpr char FirstSequenceId[] = "id_import_midi_first_sequence";

    CDocument* Import(const QByteArray& rawData) override;
};
