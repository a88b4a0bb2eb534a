#pragma once
// A valid 8-bit grey PNG of any size whose pixels are all black, made in milliseconds without an encoder: its
// rows are nothing but zero bytes, deflated by hand as one zero and then copies of 258 bytes each (13 bits a
// copy), so an 8000 x 8000 picture takes about 400 KB and no 64 MB buffer ever exists.
#include <QByteArray>
#include <QtGlobal>

namespace BlackPng {

namespace Detail {
// Bits as deflate packs them: from the low bit of each byte up.
class BitWriter
{
public:
    // A value's low `count` bits, low bit first (header fields, extra bits).
    void Value(quint32 value, int count)
    {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1);
    }
    // A Huffman code, high bit first.
    void Code(quint32 code, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1);
    }
    QByteArray Bytes() const { return m_Bytes; }

private:
    void Bit(quint32 bit)
    {
        if (m_Used == 0)
            m_Bytes.append('\0');
        if (bit)
            m_Bytes[m_Bytes.size() - 1] = char(uchar(m_Bytes.back()) | (1u << m_Used));
        m_Used = (m_Used + 1) % 8;
    }
    QByteArray m_Bytes;
    int m_Used = 0;
};

inline void AppendBigEndian(QByteArray& out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

inline quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

inline void AppendChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    AppendBigEndian(png, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    png += typed;
    AppendBigEndian(png, Crc32(typed));
}

// A zlib stream of `count` zero bytes with the fixed Huffman codes.
inline QByteArray DeflatedZeros(qint64 count)
{
    BitWriter bits;
    bits.Value(1, 1); // the last block
    bits.Value(1, 2); // fixed codes
    const quint32 zeroLiteral = 0x30, copy258 = 0xC5;
    bits.Code(zeroLiteral, 8);
    qint64 left = count - 1;
    for (; left >= 258; left -= 258) {
        bits.Code(copy258, 8);
        bits.Code(0, 5); // from 1 byte back
    }
    for (; left > 0; --left)
        bits.Code(zeroLiteral, 8);
    bits.Code(0, 7); // end of block
    QByteArray stream("\x78\x01", 2);
    stream += bits.Bytes();
    // Adler-32 of zeros: the first sum stays 1, the second counts the bytes.
    AppendBigEndian(stream, (quint32(count % 65521) << 16) | 1u);
    return stream;
}
} // namespace Detail

inline QByteArray Grey(int width, int height)
{
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    QByteArray header;
    Detail::AppendBigEndian(header, quint32(width));
    Detail::AppendBigEndian(header, quint32(height));
    header.append("\x08\x00\x00\x00\x00", 5); // 8 bits, grey, deflate, filter 0, not interlaced
    Detail::AppendChunk(png, "IHDR", header);
    // Each row: its filter byte (none) and its pixels, all zero.
    Detail::AppendChunk(png, "IDAT", Detail::DeflatedZeros(qint64(height) * (width + 1)));
    Detail::AppendChunk(png, "IEND", QByteArray());
    return png;
}

} // namespace BlackPng
