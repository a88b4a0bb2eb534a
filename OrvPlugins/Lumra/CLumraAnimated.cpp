#include "CLumraAnimated.h"

#include "GifImport.h"

#include "Documents/CDocumentAnimation.h"

int CLumraAnimated::GetDocumentType()
{
    return CDocument::ANIMATION;
}

int CLumraAnimated::GetPreviewDocumentType()
{
    return CDocument::ANIMATION;
}

QString CLumraAnimated::GetImportExtension(int)
{
    return QStringLiteral("GIF");
}

CDocument* CLumraAnimated::Import(const QByteArray& rawData)
{
    CDocumentAnimation* animation = ImportGifAnimation(rawData);
    if (!animation)
        ReportImportFailure();
    return animation;
}
