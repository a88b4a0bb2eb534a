#pragma once
#include <QByteArray>
#include <cstdint>

// One information element of a user data header: an EMS object, the object
// distribution indicator or the TDD element.
class CInformationElement
{
public:
    enum : uint32_t
    {
        NO_IDENTIFIER = 0xAAAA,
        IEI_CONCATENATION_8BIT = 0x00,
        IEI_EMS_OBJECT_FIRST = 0x0B, // predefined sound; 0x0B + media kind up to 0x12
        IEI_ODI = 0x17,
        IEI_TDD = 0x80
    };

    CInformationElement() { Reset(); }

    void Reset();
    // EMS object: one position octet ahead of the data inside the element.
    void SetEmsObject(uint32_t identifier, const QByteArray& data, uint32_t positionInText);
    // Object distribution indicator: covers no following element, not to be forwarded.
    void SetObjectDistributionIndicator();
    // TDD element: title length octet, title, content octet, 16-bit total (0 until patched).
    void SetTdd(const QByteArray& titleOctets, int titleLength, bool ucs2, int contentType, bool copyrighted);
    // Writes the total payload octets of the whole message, high octet first.
    bool PatchTddTotal(uint16_t total);

    uint32_t GetIdentifier() const { return mIdentifier; }
    bool isTdd() const { return mIsTdd; }
    bool HasPosition() const { return mHasPosition; }
    uint32_t GetPositionInText() const { return mPositionInText; }
    const QByteArray& GetData() const { return mDataArray; }

    // The value of the element's length octet.
    int GetBodyLength() const;
    // Identifier octet + length octet + body.
    int GetSerializedSize() const { return 2 + GetBodyLength(); }
    void AppendTo(QByteArray& out) const;

private:
    uint32_t mIdentifier;
    QByteArray mDataArray;
    uint32_t mPositionInText;
    bool mIsTdd;
    bool mHasPosition;
};
