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

    // Always writes BMP, whatever the path's extension says. The file is whole or untouched; reason (when given)
    // says why in the system's words when it is not written.
    bool Save(const QString& path, QString* reason = nullptr) const;

private:
    QImage m_Image;
};
