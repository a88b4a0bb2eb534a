#pragma once
#include <QByteArray>
#include <QString>

// The characters of an e-card file, decoded without the XML reader's own
// decoders: they refuse the UCS-2 charset name and turn ISO-8859-7 into Greek
// code points, while the GSM coder needs every 8-bit character to be its byte.
// UTF-16 is taken from a byte-order mark, or from a "<" in UTF-16 when the
// prolog names UCS-2; everything else is read one character per byte.
// A null text when UTF-16 bytes come in an odd number.
QString DecodeEcardBytes(const QByteArray& bytes);
