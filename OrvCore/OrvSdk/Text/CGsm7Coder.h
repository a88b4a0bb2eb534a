#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// Turns 8-bit text (ISO-8859-1 or ISO-8859-7) into characters of the GSM 7-bit
// default alphabet (GSM 03.38), counts them, builds SMS user-data bytes and
// packs septets into octets.
class CGsm7Coder
{
public:
    static constexpr uchar ESCAPE = 0x1B;

    CGsm7Coder() = default;

    // The code of CSourceEncodingType: 0 ISO-8859-1, 1 ISO-8859-7, 2 UCS-2, 3 unknown.
    void SetEncodingType(int code);
    int GetEncodingType() const { return m_EncodingType; }
    bool is8bitSourceEncodingType() const;

    // Maps every byte through the table of the current encoding; an extension
    // character becomes the escape followed by its code. Returns the number of
    // GSM characters (0 and no output for an encoding that is not 8-bit).
    uint ConvertToGsm7(const QByteArray& LatinXArray, QByteArray& Gsm7Array);
    uint GetGsm7Length(const QByteArray& LatinXArray);
    // Uses the low byte of every character.
    uint GetGsm7LengthOfText(const QString& text);
    // 8-bit encodings: the GSM characters, one per octet; otherwise UCS-2,
    // low byte first. An empty text leaves SmBytes as it is.
    bool TextToSmBytes(const QString& text, QByteArray& SmBytes);

    // Lays the 7 bits of every septet, least significant first, into
    // consecutive bits of zeroed octets starting at bit InitialBitShift (< 8)
    // of the first one. Returns the number of octets.
    static uint PackSeptets(uint InitialBitShift, const QByteArray& septets, QByteArray& PackedChar);
    // A table entry with bit 7 set stands for escape + its low 7 bits.
    static bool IsExtensionCharacter(uchar entry) { return (entry & 0x80) != 0; }
    // The 256-entry table of an 8-bit encoding code; null for any other code.
    static const uchar* GetConversionTable(int code);

private:
    int32_t m_EncodingType = 0;
    bool m_bCountOnly = false;
};
