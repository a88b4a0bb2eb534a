#pragma once
// The grey levels of the maker's phone displays and the grey value by which
// colours are compared with them.
#include <QRgb>

namespace PhoneGreys {
const int Count = 4;

// (11 R + 16 G + 5 B) / 32: the phones' own weighting of the channels.
inline int GreyValue(QRgb colour)
{
    return (11 * qRed(colour) + 16 * qGreen(colour) + 5 * qBlue(colour)) >> 5;
}

// The palette of every grey picture written, index 0 the lightest.
QRgb Phone(int index);
// Evenly spaced greys, white to black, for pictures not drawn in the phone's greys.
QRgb Neutral(int index);
// Compared by red, green and blue alone: a palette may carry any alpha.
bool IsPhoneGrey(QRgb colour);
bool SameRgb(QRgb a, QRgb b);
} // namespace PhoneGreys
