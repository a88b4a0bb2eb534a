#include "CLumraStatic.h"

#include "GifImport.h"

#include "Documents/CDocumentPicture.h"

CDocument* CLumraStatic::Import(const QByteArray& rawData)
{
    return DocumentOrFailure(ImportGifPicture(rawData));
}
