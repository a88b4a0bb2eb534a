#include "MidiClasses/MidiSequences.h"

#include <algorithm>
#include <cstdint>

namespace {
const qsizetype kChunkHeadBytes = 8;   // tag and 32-bit length
const qsizetype kHeaderFieldBytes = 6; // format, track count, division

uint32_t ReadU32(const QByteArray& bytes, qsizetype at)
{
    uint32_t value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = (value << 8) | uchar(bytes.at(at + i));
    return value;
}
} // namespace

QByteArray MidiSequences::FirstSequenceFile(const QByteArray& file)
{
    if (file.size() < kChunkHeadBytes + kHeaderFieldBytes)
        return QByteArray();
    const qint64 headerEnd = kChunkHeadBytes + qint64(std::max<uint32_t>(ReadU32(file, 4), kHeaderFieldBytes));
    if (headerEnd > file.size())
        return QByteArray();
    QByteArray first = file.left(qsizetype(headerEnd));
    first[8] = 0;
    first[9] = 0;
    first[10] = 0;
    first[11] = 1;
    // The chunk right after the header is what the reader takes as the first track.
    if (headerEnd + kChunkHeadBytes <= file.size()) {
        const qint64 trackEnd = std::min<qint64>(
            headerEnd + kChunkHeadBytes + qint64(ReadU32(file, qsizetype(headerEnd + 4))), file.size());
        first.append(file.constData() + headerEnd, qsizetype(trackEnd - headerEnd));
    }
    return first;
}
