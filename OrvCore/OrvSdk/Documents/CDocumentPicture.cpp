#include "Documents/CDocumentPicture.h"
#include "Util/SafeFileWrite.h"

bool CDocumentPicture::Save(const QString& path, QString* reason) const
{
    return WriteImageSafely(path, m_Image, "BMP", reason);
}
