#include "RiffWalk.h"

#include <cstring>

namespace {
quint32 ReadLittle32(const QByteArray& bytes, qsizetype at)
{
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

bool TagAt(const QByteArray& bytes, qsizetype at, const char* tag)
{
    return at >= 0 && at + 4 <= bytes.size() && std::memcmp(bytes.constData() + at, tag, 4) == 0;
}
} // namespace

bool WalkRiffChunks(const QByteArray& bytes, WavChunks& chunks)
{
    chunks = WavChunks();
    if (!TagAt(bytes, 0, "RIFF") || !TagAt(bytes, 8, "WAVE"))
        return false;
    // The RIFF size is not trusted: streamed files carry 0xFFFFFFFF there.
    qint64 at = 12;
    while (at + 8 <= bytes.size()) {
        const quint32 size = ReadLittle32(bytes, at + 4);
        const qint64 body = at + 8;
        if (chunks.formatOffset < 0 && TagAt(bytes, at, "fmt ") && size >= 16 && body + 16 <= bytes.size())
            chunks.formatOffset = at;
        else if (chunks.dataOffset < 0 && TagAt(bytes, at, "data")) {
            chunks.dataOffset = body;
            chunks.dataSize = size;
        }
        if (chunks.formatOffset >= 0 && chunks.dataOffset >= 0)
            return true;
        at = body + qint64(size) + (size & 1);
    }
    return false;
}

quint32 PresentDataSize(const QByteArray& bytes, qsizetype dataOffset, quint32 declared, int blockAlign)
{
    const qint64 present = qMax<qint64>(0, bytes.size() - dataOffset);
    if (qint64(declared) <= present)
        return declared;
    const qint64 frame = qMax(1, blockAlign);
    return quint32(present / frame * frame);
}
