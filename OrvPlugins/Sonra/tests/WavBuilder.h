#pragma once
// WAV files written byte by byte for the tests, the benchmark and the seed corpus.
#include <QByteArray>
#include <QtGlobal>

namespace WavBuilder
{
inline QByteArray Little(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

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
    int blockAlign = -1; // -1: channels x bits / 8
    qint64 byteRate = -1; // -1: block align x rate
    QByteArray extra;    // bytes after the 16 standard ones
};

inline QByteArray FormatChunk(const Format& f)
{
    const int align = f.blockAlign < 0 ? f.channels * f.bits / 8 : f.blockAlign;
    QByteArray body = Little(quint32(f.tag), 2) + Little(quint32(f.channels), 2) + Little(f.rate, 4)
                    + Little(quint32(f.byteRate < 0 ? qint64(align) * f.rate : f.byteRate), 4)
                    + Little(quint32(align), 2) + Little(quint32(f.bits), 2) + f.extra;
    return Chunk("fmt ", body);
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
} // namespace WavBuilder
