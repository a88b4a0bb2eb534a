#include "CMotra.h"

#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"

CDocument* CMotra::Import(const QByteArray& rawData)
{
    return DocumentOrFailure(ReadAnimationDescription(rawData));
}
