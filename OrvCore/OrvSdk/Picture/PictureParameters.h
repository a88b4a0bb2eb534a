#pragma once
// The settings the picture and animation exporters share: grey or
// monochrome output, a transparency mask, and EMS compatibility.
#include <QSize>

class CParameters;
class CProfile;

namespace PictureParameters {
struct Settings
{
    // Grey asked for and the display shows greys.
    bool bGreyWanted = false;
    bool bMask = false;
    bool bEmsCompatible = false;
};

Settings Read(const CParameters* parameters, const CProfile* profile);
// The profile's display, when it says so, shows no greys.
bool IsMonochromeDisplay(const CProfile* profile);
enum SizeCheck
{
    SizeFits,
    SizeEmpty,    // a side of 0
    SizeOverBody, // a side the body's one-byte sides cannot hold
    SizeTooWide,  // wider than the profile's "MaxPictWidth"
    SizeTooHigh   // higher than its "MaxPictHeight"
};
SizeCheck CheckSize(const QSize& size, const CProfile* profile);

// Narrows the set to what the phone shows (apply 1), or restores it.
void FilterWithProfile(CParameters* parameters, CProfile* profile, int apply);
} // namespace PictureParameters
