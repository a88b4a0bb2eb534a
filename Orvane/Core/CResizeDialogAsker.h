#pragma once
#include "Engine/CResizeAsker.h"

// The engine's resize questions answered by the resize dialogs, run through the window prompt.
class CResizeDialogAsker : public CResizeAsker
{
public:
    bool AskPictureResize(const CResizeRequest& request, const QImage& source, QImage& result) override;
    bool AskAnimationResize(const CResizeRequest& request, int maxFrameCount, const CDocumentAnimation& source,
                            CDocumentAnimation& result) override;
};
