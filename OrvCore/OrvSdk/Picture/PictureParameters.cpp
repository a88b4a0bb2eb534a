#include "Picture/PictureParameters.h"

#include "Parameters/CEnumType.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Picture/PictureBody.h"

#include <climits>

namespace {
const QLatin1String kGrey("Grayscale");
const QLatin1String kMonochrome("Monochrom");
const QLatin1String kOn("On");
} // namespace

bool PictureParameters::IsMonochromeDisplay(const CProfile* profile)
{
    return ParameterRead::Enum(profile, "DisplayType") == kMonochrome;
}

PictureParameters::Settings PictureParameters::Read(const CParameters* parameters, const CProfile* profile)
{
    Settings settings;
    settings.bGreyWanted = ParameterRead::Enum(parameters, "GrayScale") == kGrey && !IsMonochromeDisplay(profile);
    settings.bMask = ParameterRead::Enum(parameters, "PictureHasMask") == kOn;
    settings.bEmsCompatible = ParameterRead::Enum(parameters, "EmsCompatible") == kOn;
    return settings;
}

void PictureParameters::FilterWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    if (!parameters)
        return;
    CEnumParameter* grey = parameters->GetEnumParameter(QStringLiteral("GrayScale"));
    CEnumParameter* mask = parameters->GetEnumParameter(QStringLiteral("PictureHasMask"));
    if (apply != 1) {
        if (grey)
            grey->RestoreValues();
        if (mask)
            mask->RestoreValues();
        return;
    }
    if (grey && IsMonochromeDisplay(profile)) {
        grey->SetValue(kMonochrome);
        // A constant "Grayscale" cannot be taken away from its own value.
        if (grey->GetValue() != kGrey && grey->GetEnumType() && grey->GetEnumType()->IndexOf(kGrey) >= 0)
            grey->RemoveValue(kGrey);
    }
    if (mask && profile)
        mask->mIsConst = mask->mIsDeclaredConst || !ParameterRead::Bool(profile, "TransparencyCompatible", false);
}

PictureParameters::SizeCheck PictureParameters::CheckSize(const QSize& size, const CProfile* profile)
{
    if (size.width() <= 0 || size.height() <= 0)
        return SizeEmpty;
    if (size.width() > PictureBody::MaxSide || size.height() > PictureBody::MaxSide)
        return SizeOverBody;
    if (size.width() > ParameterRead::Int(profile, "MaxPictWidth", INT_MAX))
        return SizeTooWide;
    if (size.height() > ParameterRead::Int(profile, "MaxPictHeight", INT_MAX))
        return SizeTooHigh;
    return SizeFits;
}
