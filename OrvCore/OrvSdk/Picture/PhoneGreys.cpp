#include "Picture/PhoneGreys.h"

namespace {
const QRgb kPhone[PhoneGreys::Count] = {qRgb(194, 194, 194), qRgb(160, 160, 160), qRgb(125, 125, 125), qRgb(0, 0, 0)};
const QRgb kNeutral[PhoneGreys::Count] = {qRgb(255, 255, 255), qRgb(170, 170, 170), qRgb(85, 85, 85), qRgb(0, 0, 0)};
} // namespace

QRgb PhoneGreys::Phone(int index)
{
    return kPhone[index & 3];
}

QRgb PhoneGreys::Neutral(int index)
{
    return kNeutral[index & 3];
}

bool PhoneGreys::SameRgb(QRgb a, QRgb b)
{
    return (a & 0xFFFFFFu) == (b & 0xFFFFFFu);
}

bool PhoneGreys::IsPhoneGrey(QRgb colour)
{
    for (QRgb grey : kPhone)
        if (SameRgb(grey, colour))
            return true;
    return false;
}
