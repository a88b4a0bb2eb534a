#include "GifImport.h"

#include "GifAnimation.h"
#include "GifSource.h"
#include "GifStill.h"

#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "Documents/NormalisePicture.h"

CDocumentPicture* ImportGifPicture(const QByteArray& bytes)
{
    CGifSource source(bytes);
    if (!source.Read() || source.ImageCount() != 1)
        return nullptr;
    const QImage picture = NormalisePicture(RenderGifStill(*source.File()));
    if (picture.isNull())
        return nullptr;
    return new CDocumentPicture(picture);
}

CDocumentAnimation* ImportGifAnimation(const QByteArray& bytes, GifLayout::FrameNeed* oversized)
{
    // Every frame becomes a whole screen of 32-bit pixels at most, whatever the size of its own image.
    const GifLayout::FrameNeed need = GifLayout::FramesNeed(bytes, 4);
    if (need.bytes > CGifAnimator::MaxFrameBytes) {
        // Only a file that says it is a GIF is told that its frames are too large.
        if (oversized && bytes.startsWith("GIF"))
            *oversized = need;
        return nullptr;
    }
    CGifSource source(bytes);
    if (!source.Read() || source.ImageCount() <= 1)
        return nullptr;
    QList<GifFrame> frames;
    if (CGifAnimator::Compose(*source.File(), frames) != CGifAnimator::Composed)
        return nullptr;
    CDocumentAnimation* animation = new CDocumentAnimation();
    for (const GifFrame& frame : frames)
        animation->AppendFrame(NormalisePicture(frame.image), frame.displayTime);
    return animation;
}
