#pragma once
#include <QByteArray>
#include <QString>

class CProfile;

// Shortening a melody to the octets of a number of SMS packets.
namespace SmsMelodyCut {
// Cuts an iMelody text (oneLine false) or a one-line melody to at most
// maxSize octets. False, with the melody unchanged and errorText set, when
// the melody cannot be read or written.
bool Cut(bool oneLine, QByteArray& melody, int maxSize, CProfile* profile, QString& errorText);

// The byte that stands in for zero octets of an iMelody while it is cut: "@"
// when the text holds none, else another byte the text does not hold; 0
// when every byte value occurs.
char ZeroStandIn(const QByteArray& melody);
} // namespace SmsMelodyCut
