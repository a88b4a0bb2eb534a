#include "GifSource.h"

#include "GifLayout.h"

#include "Util/AllocationFailure.h"

#include <QtDebug>
#include <cstring>

// Extensions without data are dropped first: giflib cannot read past them.
CGifSource::CGifSource(const QByteArray& bytes) : m_Bytes(GifLayout::WithoutEmptyExtensions(bytes)) {}

CGifSource::~CGifSource()
{
    if (!m_pGif)
        return;
    int error = D_GIF_SUCCEEDED;
    if (DGifCloseFile(m_pGif, &error) != GIF_OK)
        qDebug(" Error occurred while closing Gif file ");
}

// giflib's input hook: hands out the next bytes and never more than remain, so a
// read past the end comes back short and giflib fails the decoding.
int CGifSource::ReadInput(GifFileType* gif, GifByteType* buffer, int length)
{
    CGifSource* self = static_cast<CGifSource*>(gif->UserData);
    if (!self || length <= 0)
        return 0;
    const qsizetype remaining = self->m_Bytes.size() - self->m_Position;
    const int count = int(qMin<qsizetype>(length, remaining));
    if (count <= 0)
        return 0;
    std::memcpy(buffer, self->m_Bytes.constData() + self->m_Position, size_t(count));
    self->m_Position += count;
    return count;
}

bool CGifSource::Read()
{
    if (m_pGif)
        return false;
    // giflib holds every raster at once, each at its descriptor's size: images
    // no screen of ours could show, or more pixels than all frames may take,
    // are refused before it allocates them.
    if (!GifLayout::RastersFit(m_Bytes, MaxScreenSide, MaxRasterPixels))
        return false;
    int error = D_GIF_SUCCEEDED;
    m_pGif = DGifOpen(this, ReadInput, &error);
    if (!m_pGif) {
        RaiseWhenMemoryLacked(error);
        return false;
    }
    // The screen is checked before any raster is read, so a huge declared screen
    // costs nothing.
    if (m_pGif->SWidth <= 0 || m_pGif->SHeight <= 0 || m_pGif->SWidth > MaxScreenSide
        || m_pGif->SHeight > MaxScreenSide)
        return false;
    if (DGifSlurp(m_pGif) == GIF_OK)
        return true;
    RaiseWhenMemoryLacked(m_pGif->Error);
    // giflib gives no reason when it cannot allocate a raster (nor for some files it cannot read): the file is
    // called unreadable only while a raster of the screen's size can still be had.
    if (m_pGif->Error == D_GIF_SUCCEEDED)
        AllocationFailure::RequireRoomFor(qint64(m_pGif->SWidth) * m_pGif->SHeight);
    return false;
}

void CGifSource::RaiseWhenMemoryLacked(int error)
{
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM)
        AllocationFailure::Raise();
}
