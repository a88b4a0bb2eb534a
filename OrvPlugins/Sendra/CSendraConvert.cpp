// The conversion: four frames over the white of the screen, scaled, dithered
// to black and white and packed eight pixels an octet, the leftmost in bit 7.
#include "CSendra.h"

#include "Documents/CDocumentAnimation.h"
#include "Parameters/CProfile.h"
#include "Picture/BlendOverWhite.h"
#include "Picture/TwoColourBits.h"
#include "Util/Assert.h"

#include <QCoreApplication>
#include <memory>

namespace {
const int kFrames = 4;
const char* const kNotEms = "Animation is not ems compatible !\n";
const char* const kEmptyPicture = "Internal error : picture is empty !\n";

bool IsEmsSide(int side)
{
    return side == 8 || side == 16;
}

// One frame's rows; a bit is 1 for a black pixel, bits past the width are 0.
void AppendRows(const QImage& bits, QByteArray& out)
{
    const int rowBytes = ((bits.width() - 1) >> 3) + 1;
    for (int y = 0; y < bits.height(); ++y) {
        const uchar* row = bits.constScanLine(y);
        for (int k = 0; k < rowBytes; ++k) {
            uchar octet = 0;
            for (int b = 0; b < 8 && 8 * k + b < bits.width(); ++b)
                if (row[8 * k + b] & 1u)
                    octet |= static_cast<uchar>(0x80u >> b);
            out.append(static_cast<char>(octet));
        }
    }
}
} // namespace

bool CSendra::Convert(CDocument* document)
{
    ASSERT_TEXT(document != nullptr, "pDocument != 0");
    ASSERT_TEXT(!document || document->GetDocType() == CDocument::ANIMATION,
                "pDocument->GetDocType() == CDocument::ANIMATION");
    ASSERT(GetProfile());
    if (!document || document->GetDocType() != CDocument::ANIMATION || !GetProfile())
        return false;
    // A preview the host did not take over is the converter's to free; a
    // failed conversion leaves none.
    delete mpPreviewDocument;
    mpPreviewDocument = nullptr;
    const CDocumentAnimation* animation = static_cast<CDocumentAnimation*>(document);

    if (animation->GetAnimationFrameCount() != kFrames)
        return Fail(kNotEms);
    const QSize size = animation->GetFrame(0)->GetImage().size();
    if (size.width() != size.height() || !IsEmsSide(size.width()))
        return Fail(kNotEms);
    for (int i = 1; i < kFrames; ++i)
        if (animation->GetFrame(i)->GetImage().size() != size)
            return Fail(kNotEms);

    std::unique_ptr<CDocumentAnimation> preview(new CDocumentAnimation);
    const int raw_data_size = kFrames * size.height() * (((size.width() - 1) >> 3) + 1);
    QByteArray out;
    out.reserve(raw_data_size);
    const int displayTime = GetProfile()->GetDefaultDisplayTime();
    for (int i = 0; i < kFrames; ++i) {
        // Over the white of the screen before scaling, so that scaling mixes
        // what the phone would show.
        const QImage image = BlendOverWhite(animation->GetFrame(i)->GetImage());
        if (image.isNull())
            return Fail(kEmptyPicture);
        const QImage reduced = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (reduced.isNull())
            return Fail(kEmptyPicture);
        ASSERT_TEXT(size.width() == reduced.width(), "sizex == (U32)reduced_image.width()");
        ASSERT_TEXT(size.height() == reduced.height(), "sizey == (U32)reduced_image.height()");
        const QImage mono = reduced.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::PreferDither);
        // The darker colour is the set bit, whichever index the toolkit gave it.
        const QImage bits = TwoColourBits::FromPicture(mono, qRgb(255, 255, 255), qRgb(0, 0, 0));
        if (bits.isNull())
            return Fail(kEmptyPicture);
        AppendRows(bits, out);
        preview->AppendFrame(bits, displayTime);
    }
    ASSERT_TEXT(out.size() == raw_data_size, "index == raw_data_size");

    mRawDataList.append(out);
    mpPreviewDocument = preview.release();
    emit SetProgress(QString(), 100);
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    return true;
}
