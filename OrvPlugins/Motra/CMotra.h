#pragma once
#include "Import/CImporterBase.h"

// Imports an animation description: an XML list of picture files and display times.
class CMotra : public CImporterBase
{
public:
    CMotra() : CImporterBase("CMotra", "ANIM", CDocument::ANIMATION, CDocument::ANIMATION) {}

    CDocument* Import(const QByteArray& rawData) override;
};
