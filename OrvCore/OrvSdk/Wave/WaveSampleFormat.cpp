#include "Wave/WaveSampleFormat.h"

#include <algorithm>
#include <cstring>

namespace {
// Bytes 2 to 15 of every standard sub-format GUID (xxxx0000-0000-0010-8000-00AA00389B71).
const unsigned char kStandardGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                             0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// Where the GUID starts in the chunk's body: after tag, channels, rate, byte
// rate, block align, bits, extension size, valid bits and channel mask.
constexpr qsizetype kSubFormatOffset = 24;
constexpr qsizetype kChunkHeaderBytes = 8;

bool IsStandardGuid(const unsigned char* guid)
{
    return std::memcmp(guid + 2, kStandardGuidTail, sizeof kStandardGuidTail) == 0;
}

QString Hex(uint32_t value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// The common formats by name, so that a message says what the sound is and not only its number.
const char* FormatName(uint16_t tag)
{
    switch (tag) {
    case 0x0002:
        return "ADPCM";
    case 0x0003:
        return "float";
    case 0x0006:
        return "A-law";
    case 0x0007:
        return "mu-law";
    case 0x0011:
        return "IMA ADPCM";
    case 0x0055:
        return "MPEG Layer 3";
    default:
        return nullptr;
    }
}
} // namespace

uint16_t WaveSampleFormat::EffectiveTag() const
{
    if (tag == Extensible && hasSubFormat && IsStandardGuid(subFormat))
        return uint16_t(subFormat[0] | (subFormat[1] << 8));
    return tag;
}

QString WaveSampleFormat::Describe() const
{
    if (tag != Extensible || !hasSubFormat || IsStandardGuid(subFormat)) {
        const char* name = FormatName(EffectiveTag());
        const QString number = QStringLiteral("0x") + Hex(EffectiveTag(), 4);
        return name ? QString::fromLatin1(name) + QStringLiteral(" (") + number + QLatin1Char(')') : number;
    }
    const unsigned char* g = subFormat;
    const uint32_t first = uint32_t(g[0]) | uint32_t(g[1]) << 8 | uint32_t(g[2]) << 16 | uint32_t(g[3]) << 24;
    QString text = QStringLiteral("{") + Hex(first, 8) + QLatin1Char('-') + Hex(uint32_t(g[4] | g[5] << 8), 4)
                   + QLatin1Char('-') + Hex(uint32_t(g[6] | g[7] << 8), 4) + QLatin1Char('-');
    for (int i = 8; i < 16; ++i) {
        if (i == 10)
            text += QLatin1Char('-');
        text += Hex(g[i], 2);
    }
    return text + QLatin1Char('}');
}

WaveSampleFormat ReadWaveSampleFormat(const QByteArray& bytes, qsizetype fmtPosition)
{
    WaveSampleFormat format;
    const qsizetype body = fmtPosition + kChunkHeaderBytes;
    if (fmtPosition < 0 || body + 2 > bytes.size())
        return format;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    const uint32_t declared = uint32_t(p[fmtPosition + 4]) | uint32_t(p[fmtPosition + 5]) << 8
                              | uint32_t(p[fmtPosition + 6]) << 16 | uint32_t(p[fmtPosition + 7]) << 24;
    format.tag = uint16_t(p[body] | (p[body + 1] << 8));
    const qsizetype end = std::min<qint64>(bytes.size(), qint64(body) + declared);
    if (format.tag == WaveSampleFormat::Extensible && body + kSubFormatOffset + 16 <= end) {
        std::memcpy(format.subFormat, p + body + kSubFormatOffset, 16);
        format.hasSubFormat = true;
    }
    return format;
}
