#pragma once
#include "Import/CImporterBase.h"

// Imports a GIF that holds exactly one image as a picture.
class CLumraStatic : public CImporterBase
{
public:
    CLumraStatic() : CImporterBase("CLumraStatic", "GIF", CDocument::PICTURE, CDocument::PICTURE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
