#include "Util/AllocationFailure.h"
#include <QImage>
#include <cstdlib>
#include <new>

namespace AllocationFailure {

void Raise()
{
    throw std::bad_alloc();
}

const QImage& Checked(const QImage& made)
{
    if (made.isNull())
        Raise();
    return made;
}

uchar* WritableBits(QImage& picture)
{
    if (picture.isNull())
        return nullptr;
    // bits() detaches; a detach that cannot allocate leaves the picture null.
    uchar* bits = picture.bits();
    if (!bits)
        Raise();
    return bits;
}

void RequireRoomFor(qint64 bytes)
{
    if (bytes <= 0)
        return;
    void* room = std::malloc(size_t(bytes));
    if (!room)
        Raise();
    std::free(room);
}

} // namespace AllocationFailure
