#pragma once
// The files a source names, which its conversion reads besides the source itself: the pictures of the frames of
// an animation description (".anim"), the media files of the entries of an e-card (".ecd"), and the media script
// ".emi" in the source's folder, which the sequence converter ("SEQ") reads. Only their names, from a light read of
// the source that opens nothing it names: so the program knows them before it opens, and empties, a run log that
// could be one of them. Each format's files come from the walk its reader reads them with (DescriptionFrames,
// EcardEntries, MediaScript), so a name is here exactly when the conversion reads that file. A source that cannot
// be read names nothing here; its conversion says why.
#include <QString>
#include <functional>

namespace SourceNamedFiles {
// Calls visit with the path of each file the source at sourcePath names for the converter of that export
// extension, relative names taken from the source's folder, until visit returns true. True when it did.
bool Visit(const QString& sourcePath, const QString& converterExtension,
           const std::function<bool(const QString& path)>& visit);
} // namespace SourceNamedFiles
