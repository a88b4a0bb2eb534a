#include "Picture/PicturePacking.h"

#include "Picture/BlendOverWhite.h"
#include "Picture/FourGreys.h"
#include "Picture/TwoColourBits.h"
#include "Util/AllocationFailure.h"

// The toolkit's copies and conversions of a picture that is not null come out null only for want of memory:
// Checked turns that into the failure it is.
using AllocationFailure::Checked;

namespace {
const Qt::ImageConversionFlags kDitherToMono = Qt::MonoOnly | Qt::PreferDither;
const Qt::ImageConversionFlags kExactIndexed = Qt::AvoidDither;
} // namespace

QImage PicturePacking::Prepare(const QImage& picture)
{
    if (picture.isNull())
        return QImage();
    const QImage opaque = Checked(BlendOverWhite(picture));
    if (!opaque.allGray())
        return opaque;
    if (opaque.format() != QImage::Format_Indexed8)
        return Checked(opaque.convertToFormat(QImage::Format_Indexed8, kExactIndexed));
    // A grey file arrives with all 256 greys in its palette; the toolkit's
    // own conversion lists only the colours used, and so does this.
    QImage indexed = Checked(opaque.copy());
    FourGreys::CompactToUsedGreys(indexed);
    return indexed;
}

bool PicturePacking::IsTwoColourGrey(const QImage& prepared)
{
    return !prepared.isNull() && prepared.allGray() && prepared.colorCount() == 2 && prepared.depth() <= 8;
}

PicturePacking::Result PicturePacking::PackMonochrome(const QImage& picture, QRgb previewLight, Output& out)
{
    if (picture.isNull())
        return EmptyPicture;
    const QImage mono = picture.format() == QImage::Format_Mono
                            ? picture
                            : Checked(picture.convertToFormat(QImage::Format_Mono, kDitherToMono));
    const QImage bits = TwoColourBits::FromPicture(mono, previewLight, qRgb(0, 0, 0));
    if (bits.isNull())
        return EmptyPicture;
    out.body.clear();
    out.body.reserve(PictureBody::Size(PictureBody::Monochrome, false, bits.size()));
    PictureBody::AppendMonochrome(bits, out.body);
    out.preview = bits;
    return Packed;
}

PicturePacking::Result PicturePacking::PackGrey(const QImage& picture, bool withMask, Output& out)
{
    if (picture.isNull())
        return EmptyPicture;
    QImage indexed = Checked(picture.format() == QImage::Format_Indexed8
                                 ? picture.copy()
                                 : picture.convertToFormat(QImage::Format_Indexed8, kExactIndexed));
    if (indexed.isNull())
        return EmptyPicture;
    // Made before the quantisation: it decides which colour is transparent
    // and may turn white into the lightest phone grey.
    const QImage mask = FourGreys::MakeMask(indexed);
    if (mask.isNull())
        return NoMask;
    const QImage greys = FourGreys::Quantise(indexed);
    if (greys.isNull())
        return EmptyPicture;
    out.body.clear();
    out.body.reserve(PictureBody::Size(PictureBody::Grey, withMask, greys.size()));
    PictureBody::AppendGrey(greys, withMask ? &mask : nullptr, out.body);
    out.preview = FourGreys::Preview(greys, withMask ? &mask : nullptr);
    return Packed;
}
