#pragma once
// A format 2 file holds independent sequences, one per track, that are not meant
// to sound together: what is converted of it is its first sequence alone.
#include <QByteArray>

namespace MidiSequences {

// The format of a file whose tracks are independent sequences.
inline constexpr int IndependentFormat = 2;

// A file of the header chunk (now format 0 with one track) and the first track
// chunk of `file`, cut at the end of the data when the chunk claims more. Empty
// when `file` holds no whole header chunk.
QByteArray FirstSequenceFile(const QByteArray& file);

} // namespace MidiSequences
