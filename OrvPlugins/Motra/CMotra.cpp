#include "CMotra.h"

#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"

int CMotra::GetDocumentType()
{
    return CDocument::ANIMATION;
}

int CMotra::GetPreviewDocumentType()
{
    return CDocument::ANIMATION;
}

QString CMotra::GetImportExtension(int)
{
    return QStringLiteral("ANIM");
}

CDocument* CMotra::Import(const QByteArray& rawData)
{
    CDocumentAnimation* animation = ReadAnimationDescription(rawData);
    if (!animation)
        ReportImportFailure();
    return animation;
}
