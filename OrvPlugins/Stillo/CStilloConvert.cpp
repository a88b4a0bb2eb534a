// The conversion: one picture in, one picture body and a preview out.
#include "CStillo.h"

#include "Documents/CDocumentPicture.h"
#include "Picture/FourGreys.h"
#include "Picture/PicturePacking.h"
#include "Picture/PictureParameters.h"
#include "Util/AllocationFailure.h"
#include "Util/Assert.h"

#include <QCoreApplication>

namespace {
// The most an EMS message carries of a picture.
const int kEmsPictureBytes = 128;

PictureBody::Mode ChooseMode(const QImage& prepared, bool greyWanted)
{
    if (prepared.allGray()) {
        if (prepared.colorCount() == 2)
            return PictureBody::Monochrome;
        // Three greys or more are worth greys whatever was asked for.
        const bool manyGreys = FourGreys::CountUsedGreys(prepared) >= 3;
        return manyGreys && (prepared.colorCount() > 2 || prepared.depth() > 8) ? PictureBody::Grey
                                                                                : PictureBody::Monochrome;
    }
    if (!greyWanted || (prepared.colorCount() <= 2 && prepared.depth() <= 8))
        return PictureBody::Monochrome;
    return PictureBody::Grey;
}

bool FitsEms(const QSize& size)
{
    return size.height() * ((size.width() - 1) / 8 + 1) <= kEmsPictureBytes;
}
} // namespace

bool CStillo::Convert(CDocument* document)
{
    ASSERT(document && document->GetDocType() == CDocument::PICTURE);
    ASSERT(GetParameters());
    ASSERT(GetProfile());
    if (!document || document->GetDocType() != CDocument::PICTURE || !GetParameters() || !GetProfile())
        return false;

    // A preview the host did not take over is the converter's to free; a
    // failed conversion leaves none.
    delete mpPreviewDocument;
    mpPreviewDocument = nullptr;
    const QImage& source = static_cast<CDocumentPicture*>(document)->GetImage();
    const QImage picture = source.isNull() ? QImage() : AllocationFailure::Checked(source.copy());
    const QImage prepared = PicturePacking::Prepare(picture);
    if (prepared.isNull()) {
        LogMessage("id_internal_error");
        return false;
    }
    const PictureParameters::Settings settings = PictureParameters::Read(GetParameters(), GetProfile());
    const PictureBody::Mode mode = ChooseMode(prepared, settings.bGreyWanted);

    switch (PictureParameters::CheckSize(prepared.size(), GetProfile())) {
    case PictureParameters::SizeFits:
        break;
    case PictureParameters::SizeEmpty:
        LogMessage("id_picture_small");
        return false;
    case PictureParameters::SizeOverBody:
        LogMessage("id_picture_big");
        return false;
    case PictureParameters::SizeTooWide:
        LogMessage("id_width_too_big");
        return false;
    case PictureParameters::SizeTooHigh:
        LogMessage("id_height_too_big");
        return false;
    }
    if (settings.bEmsCompatible && (mode != PictureBody::Monochrome || !FitsEms(prepared.size()))) {
        LogMessage("id_picture_not_ems");
        return false;
    }

    PicturePacking::Output packed;
    const PicturePacking::Result result = mode == PictureBody::Monochrome
                                              ? PicturePacking::PackMonochrome(prepared, qRgb(255, 255, 255), packed)
                                              : PicturePacking::PackGrey(prepared, settings.bMask, packed);
    if (result != PicturePacking::Packed) {
        LogMessage("id_internal_error");
        return false;
    }
    const int raw_data_size = PictureBody::Size(mode, settings.bMask, prepared.size());
    ASSERT_TEXT(packed.body.size() == raw_data_size, "mIndex == raw_data_size");
    mRawDataList.append(packed.body);

    mpPreviewDocument = nullptr;
    if (packed.preview.isNull())
        LogMessage("id_impossible_to_generate");
    else
        mpPreviewDocument = new CDocumentPicture(packed.preview);

    emit SetProgress(QString(), 100);
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    return true;
}
