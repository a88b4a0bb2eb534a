#include "CDotra.h"

#include "Documents/CDocumentPicture.h"
#include "Import/PictureImport.h"

#include <QtDebug>

int CDotra::GetDocumentType()
{
    return CDocument::PICTURE;
}

int CDotra::GetPreviewDocumentType()
{
    return CDocument::PICTURE;
}

QString CDotra::GetImportExtension(int)
{
    return QStringLiteral("BMP");
}

CDocument* CDotra::Import(const QByteArray& rawData)
{
    QImage picture;
    const PictureImport::Result result = PictureImport::LoadFromData(rawData, picture);
    if (result == PictureImport::Loaded)
        return new CDocumentPicture(picture);
    qDebug(result == PictureImport::EmptyPicture ? "BMP picture is empty" : "BMP picture load faied");
    ReportImportFailure();
    return nullptr;
}
