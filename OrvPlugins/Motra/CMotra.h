#pragma once
#include "Import/CImageImporterBase.h"

// Imports an animation description: an XML list of picture files and display times.
class CMotra : public CAnimationImporterBase
{
public:
    CMotra() : CAnimationImporterBase("CMotra", "ANIM", CDocument::ANIMATION, CDocument::ANIMATION) {}

    CDocument* Import(const QByteArray& rawData) override;
    // The pictures of the description's frames.
    QStringList GetNamedFiles(const QString& sourcePath, qint64 sourceByteLimit) override;
    // A description is an XML file: FileLimits::MaxXmlBytes.
    qint64 GetSourceByteLimit() override;
};
