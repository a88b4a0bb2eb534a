#pragma once
#include "Import/CImageImporterBase.h"

// Imports a GIF that holds exactly one image as a picture.
class CLumraStatic : public CPictureImporterBase
{
public:
    CLumraStatic() : CPictureImporterBase("CLumraStatic", "GIF", CDocument::PICTURE, CDocument::PICTURE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
