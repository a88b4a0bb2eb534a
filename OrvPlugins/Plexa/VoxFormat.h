#pragma once
// The VOX file: the magic ".VOX", then messages of 16-bit little-endian words
// back to back to the end of the file, with no count and no trailer.
#include "VoxFrame.h"

class CMemFile;

void WriteVoxMagic(CMemFile& file);
// Reads four bytes: true when they are the magic.
bool CheckVoxMagic(CMemFile& file);
// Reads the next message into the record. A DATA_PLAY message of 2 to 18
// words fills words 1..L-1 (later words are 0) and the flags from its flag
// word; any other message is skipped by its length (see VoxMessageAccepted).
// False at the end of the file, on a truncated message and on a header of
// length 0, which describes no message and so ends reading.
bool ReadVoxMessage(CMemFile& file, VoxFrame& frame);
// Whether the message last read is a coded frame to process, not a skipped one.
bool VoxMessageAccepted(const VoxFrame& frame);
// Writes words 0..L-1, the flag word composed from the record's flags. True
// when every word was written.
bool WriteVoxMessage(CMemFile& file, VoxFrame& frame);
