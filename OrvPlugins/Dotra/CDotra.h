#pragma once
#include "Import/CImageImporterBase.h"

// Imports a picture file through the toolkit's reader, which recognises the
// format from the bytes: offered for "BMP", it reads any format the toolkit reads.
class CDotra : public CPictureImporterBase
{
public:
    CDotra() : CPictureImporterBase("CDotra", "BMP", CDocument::PICTURE, CDocument::PICTURE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
