#pragma once
#include "Import/CImageImporterBase.h"

// Imports a picture file through the toolkit's reader, which recognises the
// format from the bytes: offered for "PNG", it reads any format the toolkit reads.
class CNivra : public CPictureImporterBase
{
public:
    CNivra() : CPictureImporterBase("CNivra", "PNG", CDocument::PICTURE, CDocument::PICTURE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
