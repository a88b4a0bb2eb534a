#include "CNivra.h"

#include "Documents/CDocumentPicture.h"
#include "Import/PictureImport.h"

int CNivra::GetDocumentType()
{
    return CDocument::PICTURE;
}

int CNivra::GetPreviewDocumentType()
{
    return CDocument::PICTURE;
}

QString CNivra::GetImportExtension(int)
{
    return QStringLiteral("PNG");
}

CDocument* CNivra::Import(const QByteArray& rawData)
{
    QImage picture;
    if (PictureImport::LoadFromData(rawData, picture) == PictureImport::Loaded)
        return new CDocumentPicture(picture);
    ReportImportFailure();
    return nullptr;
}
