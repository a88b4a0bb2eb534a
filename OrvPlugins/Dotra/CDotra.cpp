#include "CDotra.h"

#include <QtDebug>

CDocument* CDotra::Import(const QByteArray& rawData)
{
    PictureImport::Result result = PictureImport::LoadFailed;
    CDocument* picture = ImportPicture(rawData, &result);
    if (!picture)
        qDebug(result == PictureImport::EmptyPicture ? "BMP picture is empty" : "BMP picture load faied");
    return picture;
}
