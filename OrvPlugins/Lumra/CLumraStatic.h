#pragma once
#include "Import/CImporterBase.h"

// Imports a GIF that holds exactly one image as a picture.
class CLumraStatic : public CImporterBase
{
public:
    CLumraStatic() : CImporterBase("CLumraStatic") {}

    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    QString GetImportExtension(int index) override;
    CDocument* Import(const QByteArray& rawData) override;
};
