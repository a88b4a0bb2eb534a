// The conversion: every frame to a picture body in one mode, behind a
// directory of display times and offsets, with a preview animation.
#include "AniDirectory.h"
#include "CFlickra.h"

#include "Documents/CDocumentAnimation.h"
#include "Parameters/CProfile.h"
#include "Picture/PicturePacking.h"
#include "Picture/PictureParameters.h"
#include "Util/Assert.h"

#include <QCoreApplication>
#include <memory>

namespace {
// An EMS animation: four square frames of one of these sides.
const int kEmsFrames = 4;
const int kEmsSmallSide = 8;
const int kEmsLargeSide = 16;
// How the phone shows a monochrome frame's light pixels.
const QRgb kMonochromePreviewLight = qRgb(194, 194, 194);

bool IsEmsShape(const QVector<QSize>& frames)
{
    if (frames.size() != kEmsFrames)
        return false;
    const QSize first = frames.first();
    if (first.width() != first.height() || (first.width() != kEmsSmallSide && first.width() != kEmsLargeSide))
        return false;
    for (const QSize& frame : frames)
        if (frame != first)
            return false;
    return true;
}

const char* SizeMessage(PictureParameters::SizeCheck check)
{
    switch (check) {
    case PictureParameters::SizeEmpty:
        return "id_picture_too_small";
    case PictureParameters::SizeOverBody:
        return "id_picture_big";
    case PictureParameters::SizeTooWide:
        return "id_width_too_big";
    case PictureParameters::SizeTooHigh:
        return "id_height_too_big";
    case PictureParameters::SizeFits:
        break;
    }
    return nullptr;
}
} // namespace

bool CFlickra::Convert(CDocument* document)
{
    ASSERT(document && document->GetDocType() == CDocument::ANIMATION);
    ASSERT(GetParameters());
    ASSERT(GetProfile());
    if (!document || document->GetDocType() != CDocument::ANIMATION || !GetParameters() || !GetProfile())
        return false;
    // A preview the host did not take over is the converter's to free; a
    // failed conversion leaves none.
    delete mpPreviewDocument;
    mpPreviewDocument = nullptr;
    const CDocumentAnimation* animation = static_cast<CDocumentAnimation*>(document);
    const int count = animation->GetAnimationFrameCount();
    // An empty directory would be a file the phone cannot show.
    if (count == 0) {
        LogMessage("id_no_frames");
        return false;
    }

    const PictureParameters::Settings settings = PictureParameters::Read(GetParameters(), GetProfile());
    QVector<QSize> sizes;
    for (int i = 0; i < count; ++i)
        sizes.append(animation->GetFrame(i)->GetImage().size());
    const auto refuseAsNotEms = [this, &settings] {
        if (settings.bMask)
            LogMessage("id_mask_storing_error");
        LogMessage("id_animation_not_ems");
        return false;
    };
    const auto fitsPhone = [this, &sizes, count] {
        if (count > GetProfile()->GetNbMaxPictAnim()) {
            LogMessage("id_too_much_frames");
            return false;
        }
        for (const QSize& size : sizes) {
            if (const char* message = SizeMessage(PictureParameters::CheckSize(size, GetProfile()))) {
                LogMessage(message);
                return false;
            }
        }
        return true;
    };
    // What the sizes alone decide is judged before the frames are prepared: frames the phone cannot take are never
    // copied, so a thousand large colour frames are refused while the document holds them once.
    // An EMS animation's shape is judged first, its size against the phone after its pixels.
    if (settings.bEmsCompatible && !IsEmsShape(sizes))
        return refuseAsNotEms();
    if (!settings.bEmsCompatible && !fitsPhone())
        return false;

    QVector<QImage> frames;
    QVector<int> times;
    for (int i = 0; i < count; ++i) {
        frames.append(PicturePacking::Prepare(animation->GetFrame(i)->GetImage()));
        times.append(animation->GetFrame(i)->GetDisplayTime());
    }
    // The last frame decides for all of them.
    const PictureBody::Mode mode = !settings.bGreyWanted || PicturePacking::IsTwoColourGrey(frames.last())
                                       ? PictureBody::Monochrome
                                       : PictureBody::Grey;

    if (settings.bEmsCompatible) {
        if (settings.bMask || mode != PictureBody::Monochrome)
            return refuseAsNotEms();
        if (!fitsPhone())
            return false;
    }

    QVector<int> bodySizes;
    for (const QImage& frame : frames)
        bodySizes.append(PictureBody::Size(mode, settings.bMask, frame.size()));
    const AniDirectory::Layout layout = AniDirectory::Plan(times, bodySizes);
    // An offset the directory cannot hold would point into another frame.
    if (!layout.fits) {
        LogMessage("id_pictures_too_big");
        return false;
    }

    std::unique_ptr<CDocumentAnimation> preview(new CDocumentAnimation);
    QByteArray out;
    out.reserve(layout.fileSize);
    int clamped = 0;
    AniDirectory::Append(layout, times, out, clamped);
    for (int i = 0; i < clamped; ++i)
        LogMessage("id_display_time_error");

    for (int i = 0; i < count; ++i) {
        PicturePacking::Output packed;
        const PicturePacking::Result result =
            mode == PictureBody::Monochrome
                ? PicturePacking::PackMonochrome(frames.at(i), kMonochromePreviewLight, packed)
                : PicturePacking::PackGrey(frames.at(i), settings.bMask, packed);
        if (result != PicturePacking::Packed) {
            LogMessage("id_picture_empty");
            return false;
        }
        out += packed.body;
        if (packed.preview.isNull()) {
            LogMessage("id_preview_picture_empty");
            return false;
        }
        preview->AppendFrame(packed.preview, times.at(i));
    }
    const int raw_data_size = layout.fileSize;
    ASSERT_TEXT(out.size() == raw_data_size, "mIndex == raw_data_size");

    mRawDataList.append(out);
    mpPreviewDocument = preview.release();
    emit SetProgress(QString(), 100);
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    return true;
}
