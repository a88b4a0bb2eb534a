#pragma once
// One input of the Messra fuzz target: its first octet chooses what the rest
// is, an e-card, a media file of one of the extensions the translators take,
// or a file for the media checks alone. E-cards and media files go through
// both translators that take their extension, under a fixed phone profile;
// media files are written into a scratch folder first, since the translators
// read them by name. The tests run their seeds through the same entry.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace MessraFuzzInput {
// The extensions the first octet chooses from, in order; one past the last
// (and every value beyond, modulo) is the media checks alone.
QStringList Extensions();
// The first octet that chooses an extension ("ecd" ...) or the media checks (empty).
char KindOctet(const QString& extension);

// Runs one input in the scratch folder, which must exist; false when the folder or the profile could not be
// used (the input was then not run).
bool Run(const QByteArray& input, const QString& folder);
} // namespace MessraFuzzInput
