#include "CMediaFitting.h"
#include "CResizeAsker.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "EngineSupport.h"
#include "Parameters/CProfile.h"
#include "Plugin/CImageExporter.h"
#include "Plugin/CPluginBase.h"
#include <climits>

CMediaFitting::CMediaFitting(CResizeAsker* asker, CProfile* profile, bool resizeEveryAnimation)
    : m_pAsker(asker), m_pProfile(profile), m_ResizeEveryAnimation(resizeEveryAnimation),
      m_MaxSize(profile ? profile->GetMaxPictSize() : QSize(INT_MAX, INT_MAX))
{}

CMediaFitting::Outcome CMediaFitting::Fit(CDocument* document, CPluginBase* converter)
{
    // The document type names the class; the importer built it from the same SDK classes.
    if (document->GetDocType() == CDocument::PICTURE)
        return FitPicture(static_cast<CDocumentPicture*>(document), converter);
    if (document->GetDocType() == CDocument::ANIMATION)
        return FitAnimation(static_cast<CDocumentAnimation*>(document), converter);
    return UNCHANGED;
}

bool CMediaFitting::NeedsResize(CImageExporter* exporter, const QSize& size) const
{
    const bool supported = !exporter || exporter->IsPictureSizeSupported(size) != 0;
    return !supported || size.width() > m_MaxSize.width() || size.height() > m_MaxSize.height();
}

int CMediaFitting::MaxFrameCount(CImageExporter* exporter, int frameCount) const
{
    return exporter ? exporter->GetMaxFrameCount(m_pProfile) : frameCount;
}

CResizeRequest CMediaFitting::MakeRequest(const char* captionId, CPluginBase* converter, const QSize& ownSize) const
{
    CResizeRequest request;
    request.mCaption = Message(captionId);
    request.mFormat = converter->GetExportExtension();
    CImageExporter* exporter = converter->GetImageExporter();
    const QList<QSize> proposed = m_pProfile ? m_pProfile->GetDefaultPictSizes() : QList<QSize>();
    const QList<QSize> fixed = exporter ? exporter->GetFixedSizes() : QList<QSize>();
    const QList<QSize> own = ownSize.isValid() ? QList<QSize>{ownSize} : QList<QSize>();
    // Each list in order, once each size, keeping only what the converter writes when asked to.
    const auto join = [exporter](std::initializer_list<const QList<QSize>*> lists, bool writtenOnly) {
        QList<QSize> sizes;
        for (const QList<QSize>* list : lists)
            for (const QSize& size : *list)
                if (!sizes.contains(size) && (!writtenOnly || !exporter || exporter->IsPictureSizeSupported(size)))
                    sizes.append(size);
        return sizes;
    };
    request.mCropSizes = join({&own, &proposed, &fixed}, true);
    // Scaling offers every proposed size, unless the converter writes a few sizes only: then only those.
    request.mScaleSizes = fixed.isEmpty() ? join({&own, &proposed}, false) : request.mCropSizes;
    request.mChosenSize = ownSize;
    return request;
}

CMediaFitting::Outcome CMediaFitting::FitPicture(CDocumentPicture* picture, CPluginBase* converter)
{
    if (!NeedsResize(converter->GetImageExporter(), picture->GetImage().size()))
        return UNCHANGED;
    QImage resized;
    if (!m_pAsker
        || !m_pAsker->AskPictureResize(MakeRequest("id_picture_toobig", converter), picture->GetImage(), resized))
        return CANCELLED;
    m_SavedPicture = picture->GetImage();
    picture->SetImage(resized.copy());
    m_pChanged = picture;
    return CHANGED;
}

CMediaFitting::Outcome CMediaFitting::FitAnimation(CDocumentAnimation* animation, CPluginBase* converter)
{
    CImageExporter* exporter = converter->GetImageExporter();
    const int frameCount = animation->GetAnimationFrameCount();
    const int maxFrames = MaxFrameCount(exporter, frameCount);
    bool needed = frameCount > maxFrames;
    for (int i = 0; !needed && i < frameCount; ++i)
        needed = NeedsResize(exporter, animation->GetFrame(i)->GetImage().size());
    if (!needed && !m_ResizeEveryAnimation)
        return UNCHANGED;

    // The title tells the user whether the phone needs a change or the option merely offers one; offered, the
    // animation's own size comes first and chosen.
    const char* caption = needed ? "id_animated_gif" : "id_animated_gif_offered";
    const QSize ownSize = needed || frameCount == 0 ? QSize() : animation->GetFrame(0)->GetImage().size();
    CDocumentAnimation result;
    if (!m_pAsker
        || !m_pAsker->AskAnimationResize(MakeRequest(caption, converter, ownSize), maxFrames, *animation, result))
        return CANCELLED;

    // Frames the dialog kept take the result's pictures; the others leave. Everything goes aside in source
    // order, so Restore rebuilds the source.
    const int kept = result.GetAnimationFrameCount();
    for (int i = 0; i < frameCount; ++i) {
        if (i < kept) {
            CAnimationFrame* frame = animation->GetFrame(i);
            m_SavedFrames.append({frame->GetImage(), frame->GetDisplayTime()});
            frame->SetImage(result.GetFrame(i)->GetImage());
            frame->SetDisplayTime(result.GetFrame(i)->GetDisplayTime());
        } else {
            const CAnimationFrame* frame = animation->GetFrame(kept);
            m_SavedFrames.append({frame->GetImage(), frame->GetDisplayTime()});
            animation->RemoveFrame(kept);
        }
    }
    m_pChanged = animation;
    return CHANGED;
}

void CMediaFitting::Restore()
{
    if (!m_pChanged)
        return;
    if (m_pChanged->GetDocType() == CDocument::PICTURE) {
        // The saved picture is no other's: given back as it is, with no copy that could run out of memory after the
        // source's guard has ended.
        static_cast<CDocumentPicture*>(m_pChanged)->SetImage(m_SavedPicture);
    } else {
        auto* animation = static_cast<CDocumentAnimation*>(m_pChanged);
        for (int i = 0; i < m_SavedFrames.size(); ++i) {
            const CSavedFrame& saved = m_SavedFrames.at(i);
            if (CAnimationFrame* frame = animation->GetFrame(i)) {
                frame->SetImage(saved.mImage);
                frame->SetDisplayTime(saved.mDisplayTime);
            } else {
                animation->AppendFrame(saved.mImage, saved.mDisplayTime);
            }
        }
    }
    m_pChanged = nullptr;
    m_SavedPicture = QImage();
    m_SavedFrames.clear();
}
