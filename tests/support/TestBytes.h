#pragma once
// Bytes written one by one, big- and little-endian numbers, and whole files:
// what every test that builds its input by hand needs.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <initializer_list>

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(static_cast<char>(static_cast<unsigned char>(value)));
    return bytes;
}

// Big-endian numbers, as Standard MIDI Files store them.
inline void AppendU16(QByteArray& out, uint32_t value)
{
    out.append(static_cast<char>((value >> 8) & 0xFF));
    out.append(static_cast<char>(value & 0xFF));
}

inline void AppendU32(QByteArray& out, uint32_t value)
{
    AppendU16(out, value >> 16);
    AppendU16(out, value & 0xFFFF);
}

// A MIDI variable-length number: up to four 7-bit groups, most significant first.
inline void AppendVarLen(QByteArray& out, uint32_t value)
{
    uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value && count < 4);
    while (count > 1)
        out.append(static_cast<char>(groups[--count] | 0x80));
    out.append(static_cast<char>(groups[0]));
}

// The low `bytes` bytes of a number, least significant first, as RIFF stores them; zeros past its fourth byte.
inline QByteArray Little(uint32_t value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>(i < 4 ? (value >> (8 * i)) & 0xFF : 0));
    return out;
}

// The little-endian number of `size` bytes at `at` (as RIFF and the phone formats store them).
inline uint32_t LittleAt(const QByteArray& bytes, int at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// A whole file's bytes; empty when it cannot be read.
inline QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a whole file; false when it cannot be written in full.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
