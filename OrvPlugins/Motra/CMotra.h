#pragma once
#include "Import/CImporterBase.h"

// Imports an animation description: an XML list of picture files and display times.
class CMotra : public CImporterBase
{
public:
    CMotra() : CImporterBase("CMotra") {}

    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    QString GetImportExtension(int index) override;
    CDocument* Import(const QByteArray& rawData) override;
};
