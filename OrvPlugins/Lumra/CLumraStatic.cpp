#include "CLumraStatic.h"

#include "GifImport.h"

#include "Documents/CDocumentPicture.h"

int CLumraStatic::GetDocumentType()
{
    return CDocument::PICTURE;
}

int CLumraStatic::GetPreviewDocumentType()
{
    return CDocument::PICTURE;
}

QString CLumraStatic::GetImportExtension(int)
{
    return QStringLiteral("GIF");
}

CDocument* CLumraStatic::Import(const QByteArray& rawData)
{
    CDocumentPicture* picture = ImportGifPicture(rawData);
    if (!picture)
        ReportImportFailure();
    return picture;
}
