#pragma once
#include "Import/CImporterBase.h"

// Imports a GIF that holds more than one image as an animation, one frame per image.
class CLumraAnimated : public CImporterBase
{
public:
    CLumraAnimated() : CImporterBase("CLumraAnimated", "GIF", CDocument::ANIMATION, CDocument::ANIMATION) {}

    CDocument* Import(const QByteArray& rawData) override;
};
