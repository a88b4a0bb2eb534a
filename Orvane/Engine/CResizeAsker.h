#pragma once
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class CDocumentAnimation;

// What the resize dialogs are given: their caption, the target format and the sizes they offer.
struct CResizeRequest
{
    QString mCaption;
    // The converter's export extension.
    QString mFormat;
    // Sizes offered for cropping: those the profile proposes that the converter can write, then those the
    // converter alone writes (an EMS animation's 16 x 16 and 8 x 8).
    QList<QSize> mCropSizes;
    // Sizes offered for scaling: all the profile proposes; only those of the crop list for a converter that
    // writes a few sizes only.
    QList<QSize> mScaleSizes;
    // When valid, the size chosen at first: an animation the phone takes as it is, offered for resizing by the
    // option, starts at its own size, first in both lists, so that accepting converts it unchanged.
    QSize mChosenSize;
};

// Offers the picture and animation resize dialogs before a conversion. The user interface implements it
// with its modal dialogs; tests script the answers.
class CResizeAsker
{
public:
    virtual ~CResizeAsker() = default;
    // True when the user accepts; result then holds the resized or cropped picture. The source is not changed.
    virtual bool AskPictureResize(const CResizeRequest& request, const QImage& source, QImage& result) = 0;
    // True when the user accepts; result then holds the kept frames with their display times. Frames beyond
    // maxFrameCount start unchecked. The source is not changed.
    virtual bool AskAnimationResize(const CResizeRequest& request, int maxFrameCount, const CDocumentAnimation& source,
                                    CDocumentAnimation& result) = 0;
};
