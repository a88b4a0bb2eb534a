#include "CLumraAnimated.h"

#include "GifImport.h"

#include "Documents/CDocumentAnimation.h"

CDocument* CLumraAnimated::Import(const QByteArray& rawData)
{
    return DocumentOrFailure(ImportGifAnimation(rawData));
}
