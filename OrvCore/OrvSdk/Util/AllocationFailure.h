#pragma once
// An allocation that fails without throwing (a picture the toolkit leaves null, a scan line that is null because
// the pixels could not be copied, a realloc that returns null) is the same failure as one that throws
// std::bad_alloc. These turn the first into the second where it is found, so that the one guard the program keeps
// around each source catches both: the source fails with "not enough memory", never with a false reason such as
// "could not be read", and nothing writes through a null pointer.
#include <QtGlobal>

class QImage;

namespace AllocationFailure {

// Throws std::bad_alloc.
[[noreturn]] void Raise();

// made is a picture the toolkit made from one that was not null (a copy, a conversion, a new picture of a valid
// size): it comes out null only when its pixels could not be allocated. Throws then; returns made otherwise.
const QImage& Checked(const QImage& made);

// The pixels of picture for writing, detached from any picture that shares them; throws when the copy that
// detaching makes could not be allocated. A null picture has no pixels: null, without a throw.
uchar* WritableBits(QImage& picture);

// After a reader failed without saying why (the toolkit's picture reader says "unreadable" whether the data or
// the memory was lacking): throws when bytes cannot be allocated now, so that a valid file is not called
// unreadable for want of memory.
void RequireRoomFor(qint64 bytes);

} // namespace AllocationFailure
