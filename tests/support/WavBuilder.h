#pragma once
// WAV files written byte by byte for the tests, the benchmarks and the seed
// corpora: canonical files from chunks, and files with any header field
// stated outright, however hostile.
#include "TestBytes.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>

namespace WavBuilder {
using ::Little;

// A chunk: tag, size (the body's unless given) and body, padded to an even length.
inline QByteArray Chunk(const char* tag, const QByteArray& body, qint64 declaredSize = -1)
{
    QByteArray out(tag, 4);
    out += Little(quint32(declaredSize < 0 ? body.size() : declaredSize), 4);
    out += body;
    if (body.size() % 2)
        out.append('\0');
    return out;
}

struct Format
{
    int tag = 1;
    int channels = 1;
    quint32 rate = 22050;
    int bits = 16;
    int blockAlign = -1;  // -1: channels x bits / 8
    qint64 byteRate = -1; // -1: block align x rate
    QByteArray extra;     // bytes after the 16 standard ones
};

inline QByteArray FormatChunk(const Format& f)
{
    const int align = f.blockAlign < 0 ? f.channels * f.bits / 8 : f.blockAlign;
    QByteArray body = Little(quint32(f.tag), 2) + Little(quint32(f.channels), 2) + Little(f.rate, 4)
                      + Little(quint32(f.byteRate < 0 ? qint64(align) * f.rate : f.byteRate), 4)
                      + Little(quint32(align), 2) + Little(quint32(f.bits), 2) + f.extra;
    return Chunk("fmt ", body);
}

// The extension of a format chunk in the extensible format (tag 0xFFFE): its size
// (22), the valid bits, the channel mask and a standard sub-format GUID carrying
// `subTag` (1: PCM, 3: IEEE float), or the GUID given.
inline QByteArray ExtensibleExtra(int validBits, quint32 channelMask, int subTag, const QByteArray& guid = QByteArray())
{
    static const char kStandardTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
    const QByteArray sub = guid.isEmpty() ? Little(quint32(subTag), 2) + QByteArray(kStandardTail, 14) : guid;
    return Little(22, 2) + Little(quint32(validBits), 2) + Little(channelMask, 4) + sub;
}

// A format in the extensible format with a standard sub-format.
inline Format Extensible(int channels, quint32 rate, int bits, int subTag = 1)
{
    Format f;
    f.tag = 0xFFFE;
    f.channels = channels;
    f.rate = rate;
    f.bits = bits;
    f.extra = ExtensibleExtra(bits, channels == 1 ? 0x4 : (1u << channels) - 1, subTag);
    return f;
}

// "RIFF", its size (the true one unless given), "WAVE" and the chunks.
inline QByteArray Riff(const QByteArray& chunks, qint64 declaredSize = -1)
{
    return QByteArray("RIFF") + Little(quint32(declaredSize < 0 ? chunks.size() + 4 : declaredSize), 4)
           + QByteArray("WAVE") + chunks;
}

// Sample bytes 0, 1, 2, ... (mod 256).
inline QByteArray Samples(int count)
{
    QByteArray out(count, '\0');
    for (int i = 0; i < count; ++i)
        out[i] = char(i & 0xFF);
    return out;
}

// A canonical 44-byte-header PCM file.
inline QByteArray Canonical(const Format& format, const QByteArray& samples)
{
    return Riff(FormatChunk(format) + Chunk("data", samples));
}

// Every field of a one-format, one-data file, stated outright.
struct WavFields
{
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    int blockAlign = -1;   // -1: channels x bits / 8
    uint32_t fmtSize = 16; // bytes of format data (18 adds a zero extension size)
    QByteArray chunkBeforeData;
    int64_t dataSize = -1; // -1: the number of sample bytes given
};

// No padding and no size mended: the bytes say exactly what the fields say.
inline QByteArray MakeWav(const WavFields& f, const QByteArray& samples)
{
    const uint32_t align = f.blockAlign >= 0 ? uint32_t(f.blockAlign) : f.channels * f.bits / 8u;
    QByteArray fmt = Little(f.formatTag, 2) + Little(f.channels, 2) + Little(f.rate, 4) + Little(align * f.rate, 4)
                     + Little(align, 2) + Little(f.bits, 2);
    while (uint32_t(fmt.size()) < f.fmtSize)
        fmt.append('\0');

    const QByteArray body = QByteArray("WAVE") + "fmt " + Little(f.fmtSize, 4) + fmt + f.chunkBeforeData + "data"
                            + Little(f.dataSize >= 0 ? uint32_t(f.dataSize) : uint32_t(samples.size()), 4) + samples;
    return QByteArray("RIFF") + Little(uint32_t(body.size()), 4) + body;
}
} // namespace WavBuilder
