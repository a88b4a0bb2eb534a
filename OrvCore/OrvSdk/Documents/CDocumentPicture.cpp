#include "Documents/CDocumentPicture.h"

bool CDocumentPicture::Save(const QString& path) const
{
    return m_Image.save(path, "BMP", 100);
}
