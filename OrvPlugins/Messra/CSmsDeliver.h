#pragma once
#include "CInformationElement.h"
#include "Text/CSourceEncodingType.h"
#include <QByteArray>
#include <vector>

// One short message under construction: its header elements, its payload and
// the accounting of the room left in the 140 octets of user data.
class CSmsDeliver
{
public:
    enum
    {
        USER_DATA_FIELD_SIZE_SEPTET_MAX = 160,
        CONCATENATION_HEADER_OCTETS = 5
    };

    CSmsDeliver() = default;

    void Init(const CSourceEncodingType& textFormat, bool concatenated, bool reference16bit, bool binaryPayload);
    bool SetConcatenation(uint16_t reference, uint8_t total, uint8_t segment);

    int getUserDataHeaderLength() const;
    // Octets still free in the user data; below 2 the deliver counts as full.
    int GetAvailableRoom() const;
    bool IsFull() const { return GetAvailableRoom() < 2; }

    bool AddElement(const CInformationElement& element);
    // Moves as much of data as fits, from its front, in whole characters.
    // True when data has been moved completely.
    bool AddPayload(QByteArray& data);

    // Payload is GSM 7-bit codes, one per octet, packed only when serialised.
    bool IsGsm7Payload() const;
    // Bits that align the septets on a septet boundary after the header.
    int GetFillBits() const;
    // Octets that septetCount septets take after fillBits fill bits.
    static int PackedSize(int septetCount, int fillBits);
    // The longest prefix of GSM codes, at most maxSeptets long, that does not
    // part an escape from the code it introduces.
    static int Gsm7WholePrefix(const QByteArray& codes, int maxSeptets);

    bool isConcatenated() const { return mIsConcatenated; }
    bool IsInitialised() const { return mIsOnInitFlag; }
    uint16_t GetReferenceNumber() const { return mReferenceNumber; }
    uint8_t GetTotalNumber() const { return mTotalNumber; }
    uint8_t GetSegmentNumber() const { return mSegmentNumber; }
    const std::vector<CInformationElement>& GetElements() const { return mIEList; }
    std::vector<CInformationElement>& GetElements() { return mIEList; }
    const QByteArray& GetPayload() const { return mPayload; }
    const CSourceEncodingType& GetTextFormat() const { return mTextFormat; }
    // Characters of text already in this deliver (an escape pair or a UCS-2 pair counts once).
    int GetTextPosition() const { return mTextPosition; }

private:
    int PayloadOctets() const;
    int UsedOctets() const;
    // The longest prefix of data, at most maxOctets long, that ends on a character boundary.
    int WholeCharacterPrefix(const QByteArray& data, int maxOctets) const;
    int CountCharacters(const QByteArray& data, int octets) const;

    std::vector<CInformationElement> mIEList;
    QByteArray mPayload;
    CSourceEncodingType mTextFormat;
    bool mIsOnInitFlag = false;
    bool mIsConcatenated = false;
    bool mIsReference16bit = false;
    bool mIsBinaryPayload = false;
    uint16_t mReferenceNumber = 0;
    uint8_t mTotalNumber = 0;
    uint8_t mSegmentNumber = 0;
    int mTextPosition = 0;
};
