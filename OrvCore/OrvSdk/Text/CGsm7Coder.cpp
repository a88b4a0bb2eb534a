#include "Text/CGsm7Coder.h"
#include "Text/CSourceEncodingType.h"
#include "Util/Assert.h"

#include <array>

namespace {

typedef std::array<uchar, 256> Table;

// GSM 03.38 default alphabet by code; 0x1B is the escape and has no glyph.
const char16_t kDefaultAlphabet[128] = {
    0x0040, 0x00A3, 0x0024, 0x00A5, 0x00E8, 0x00E9, 0x00F9, 0x00EC, 0x00F2, 0x00C7, 0x000A, 0x00D8, 0x00F8,
    0x000D, 0x00C5, 0x00E5, 0x0394, 0x005F, 0x03A6, 0x0393, 0x039B, 0x03A9, 0x03A0, 0x03A8, 0x03A3, 0x0398,
    0x039E, 0x0000, 0x00C6, 0x00E6, 0x00DF, 0x00C9, 0x0020, 0x0021, 0x0022, 0x0023, 0x00A4, 0x0025, 0x0026,
    0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033,
    0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x00A1,
    0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D,
    0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A,
    0x00C4, 0x00D6, 0x00D1, 0x00DC, 0x00A7, 0x00BF, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074,
    0x0075, 0x0076, 0x0077, 0x0078, 0x0079, 0x007A, 0x00E4, 0x00F6, 0x00F1, 0x00FC, 0x00E0,
};

// GSM 03.38 extension table: characters reached through the escape.
struct ExtensionCharacter
{
    char16_t unicode;
    uchar code;
};
const ExtensionCharacter kExtension[] = {
    {0x000C, 0x0A}, {0x005E, 0x14}, {0x007B, 0x28}, {0x007D, 0x29}, {0x005C, 0x2F},
    {0x005B, 0x3C}, {0x007E, 0x3D}, {0x005D, 0x3E}, {0x007C, 0x40}, {0x20AC, 0x65},
};

// ISO-8859-7 (1987) from 0xA0 up; 0 where the set has no character.
const char16_t kIso8859_7High[96] = {
    0x00A0, 0x2018, 0x2019, 0x00A3, 0x0000, 0x0000, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x0000, 0x00AB, 0x00AC, 0x00AD,
    0x0000, 0x2015, 0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x0385, 0x0386, 0x00B7, 0x0388, 0x0389, 0x038A, 0x00BB,
    0x038C, 0x00BD, 0x038E, 0x038F, 0x0390, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397, 0x0398, 0x0399,
    0x039A, 0x039B, 0x039C, 0x039D, 0x039E, 0x039F, 0x03A0, 0x03A1, 0x0000, 0x03A3, 0x03A4, 0x03A5, 0x03A6, 0x03A7,
    0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x03AC, 0x03AD, 0x03AE, 0x03AF, 0x03B0, 0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5,
    0x03B6, 0x03B7, 0x03B8, 0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BE, 0x03BF, 0x03C0, 0x03C1, 0x03C2, 0x03C3,
    0x03C4, 0x03C5, 0x03C6, 0x03C7, 0x03C8, 0x03C9, 0x03CA, 0x03CB, 0x03CC, 0x03CD, 0x03CE, 0x0000,
};

const uchar kBlank = 0x20;

// Table entry for one character: its code, 0x80 | extension code, or a blank.
uchar EntryFor(char16_t unicode)
{
    if (unicode == 0)
        return kBlank;
    for (int code = 0; code < 128; ++code)
        if (code != CGsm7Coder::ESCAPE && kDefaultAlphabet[code] == unicode)
            return uchar(code);
    for (const ExtensionCharacter& ext : kExtension)
        if (ext.unicode == unicode)
            return uchar(0x80 | ext.code);
    return kBlank;
}

char16_t Iso8859_7ToUnicode(int byte)
{
    if (byte < 0xA0)
        return byte < 0x80 ? char16_t(byte) : char16_t(0); // C1 controls have no glyph
    return kIso8859_7High[byte - 0xA0];
}

// Control bytes that the phones' texts use for line breaks and that must
// never start an escape sequence; shared by both tables.
void ApplyCommonDepartures(Table& table)
{
    table[0x0C] = kBlank;
    table[0x1A] = 0x0A;
    table[0x1B] = kBlank;
    table[0x1D] = 0x0D;
}

Table BuildIso8859_1Table()
{
    Table table;
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = EntryFor((byte >= 0x80 && byte < 0xA0) ? char16_t(0) : char16_t(byte));
    ApplyCommonDepartures(table);
    table[0xD8] = kBlank; // Ø
    table[0xDF] = kBlank; // ß
    return table;
}

Table BuildIso8859_7Table()
{
    Table table;
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = EntryFor(Iso8859_7ToUnicode(byte));
    ApplyCommonDepartures(table);
    table[0xA4] = 0x24; // the alphabet's currency sign
    table[0xA5] = 0x03; // the alphabet's yen sign
    return table;
}

} // namespace

const uchar* CGsm7Coder::GetConversionTable(int code)
{
    static const Table iso8859_1 = BuildIso8859_1Table();
    static const Table iso8859_7 = BuildIso8859_7Table();
    if (code == CSourceEncodingType::ISO_8859_1)
        return iso8859_1.data();
    if (code == CSourceEncodingType::ISO_8859_7)
        return iso8859_7.data();
    return nullptr;
}

void CGsm7Coder::SetEncodingType(int code)
{
    m_EncodingType = code;
    m_bCountOnly = false;
}

bool CGsm7Coder::is8bitSourceEncodingType() const
{
    return m_EncodingType == CSourceEncodingType::ISO_8859_1 || m_EncodingType == CSourceEncodingType::ISO_8859_7;
}

uint CGsm7Coder::ConvertToGsm7(const QByteArray& LatinXArray, QByteArray& Gsm7Array)
{
    const bool countOnly = m_bCountOnly;
    m_bCountOnly = false;

    ASSERT((1) == is8bitSourceEncodingType());
    ASSERT(0 != LatinXArray.size());
    const uchar* table = GetConversionTable(m_EncodingType);
    if (!table)
        return 0;

    if (!countOnly)
        ASSERT(0 == Gsm7Array.size());

    uint gsm7_array_size = uint(LatinXArray.size());
    QByteArray converted;
    if (!countOnly)
        converted.reserve(LatinXArray.size());
    for (const char source : LatinXArray) {
        const uchar entry = table[uchar(source)];
        if (IsExtensionCharacter(entry)) {
            ++gsm7_array_size;
            if (!countOnly)
                converted.append(char(ESCAPE));
        }
        if (!countOnly)
            converted.append(char(entry & 0x7F));
    }

    if (!countOnly) {
        const uint gsm7_array_index = uint(converted.size());
        ASSERT(gsm7_array_size == gsm7_array_index);
        Gsm7Array = converted;
        ASSERT(gsm7_array_size == Gsm7Array.size());
    }
    return gsm7_array_size;
}

uint CGsm7Coder::GetGsm7Length(const QByteArray& LatinXArray)
{
    if (LatinXArray.isEmpty())
        return 0;
    QByteArray unused;
    m_bCountOnly = true;
    return ConvertToGsm7(LatinXArray, unused);
}

uint CGsm7Coder::GetGsm7LengthOfText(const QString& text)
{
    if (text.isEmpty())
        return 0;
    QByteArray lowBytes(text.size(), '\0');
    for (int i = 0; i < text.size(); ++i)
        lowBytes[i] = char(text.at(i).unicode() & 0xFF);
    return GetGsm7Length(lowBytes);
}

bool CGsm7Coder::TextToSmBytes(const QString& text, QByteArray& SmBytes)
{
    if (text.isEmpty())
        return true;
    if (is8bitSourceEncodingType()) {
        QByteArray raw_text(text.size(), '\0');
        for (int i = 0; i < text.size(); ++i)
            raw_text[i] = char(text.at(i).unicode() & 0xFF);
        ConvertToGsm7(raw_text, SmBytes);
        ASSERT(SmBytes.size() >= raw_text.size());
    } else {
        QByteArray raw_text(text.size() * 2, '\0');
        for (int i = 0; i < text.size(); ++i) {
            const ushort unicode = text.at(i).unicode();
            raw_text[2 * i] = char(unicode & 0xFF);
            raw_text[2 * i + 1] = char(unicode >> 8);
        }
        SmBytes = raw_text;
    }
    return true;
}

uint CGsm7Coder::PackSeptets(uint InitialBitShift, const QByteArray& septets, QByteArray& PackedChar)
{
    ASSERT(InitialBitShift < 8);
    ASSERT(PackedChar.size() == 0);
    PackedChar.clear();
    // A shift of 8 or more would put the first bits outside the first octet.
    if (InitialBitShift >= 8 || septets.isEmpty())
        return 0;

    const uint64_t num_of_septets = uint64_t(septets.size());
    const uint64_t num_of_octets = ((num_of_septets + 1) * 7 + InitialBitShift) / 8;
    PackedChar = QByteArray(qsizetype(num_of_octets), '\0');

    uint64_t Dchar_i = 0;
    uint Dbit_i = InitialBitShift;
    for (uint64_t Schar_i = 0; Schar_i < num_of_septets; ++Schar_i) {
        const uchar septet = uchar(septets.at(qsizetype(Schar_i)));
        for (uint Sbit_i = 0; Sbit_i < 7; ++Sbit_i) {
            if (Dchar_i >= num_of_octets) {
                ASSERT(Dchar_i < num_of_octets);
                return uint(num_of_octets);
            }
            if ((septet >> Sbit_i) & 1)
                PackedChar[qsizetype(Dchar_i)] = char(uchar(PackedChar.at(qsizetype(Dchar_i))) | (1u << Dbit_i));
            if (++Dbit_i == 8) {
                Dbit_i = 0;
                ++Dchar_i;
            }
        }
    }
    return uint(num_of_octets);
}
