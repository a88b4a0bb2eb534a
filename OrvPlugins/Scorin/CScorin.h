#pragma once
#include "Import/CImporterBase.h"

// Imports a Standard MIDI File: a MIDI document holding the file's bytes and what
// the MIDI reader made of them.
class CScorin : public CImporterBase
{
public:
    CScorin() : CImporterBase("CScorin") {}

    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    QString GetImportExtension(int index) override;
    CDocument* Import(const QByteArray& rawData) override;
};
