#pragma once
#include "Documents/CDocument.h"

#include <QImage>

// One still picture.
class CDocumentPicture : public CDocument
{
public:
    explicit CDocumentPicture(const QImage& image = QImage()) : m_Image(image) {}

    int GetDocType() override { return PICTURE; }

    const QImage& GetImage() const { return m_Image; }
    QImage& GetImage() { return m_Image; }
    void SetImage(const QImage& image) { m_Image = image; }

    // Always writes BMP, whatever the path's extension says.
    bool Save(const QString& path) const;

private:
    QImage m_Image;
};
