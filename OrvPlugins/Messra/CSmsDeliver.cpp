#include "CSmsDeliver.h"
#include "SmsLimits.h"
#include "Text/CGsm7Coder.h"
#include "Util/Assert.h"

void CSmsDeliver::Init(const CSourceEncodingType& textFormat, bool concatenated, bool reference16bit,
                       bool binaryPayload)
{
    mIsOnInitFlag = true;
    mTextFormat.Assign(textFormat);
    mIsConcatenated = concatenated;
    mIsReference16bit = reference16bit;
    mIsBinaryPayload = binaryPayload;
    mTextPosition = 0;
    mIEList.clear();
    mPayload.clear();
    if (mIsConcatenated)
        SetConcatenation(0, 1, 1);
}

bool CSmsDeliver::SetConcatenation(uint16_t reference, uint8_t total, uint8_t segment)
{
    ASSERT((1) == mIsOnInitFlag);
    ASSERT((1) == mIsConcatenated);
    ASSERT(0 != segment);
    ASSERT(segment <= total);
    ASSERT(reference < 255);
    mReferenceNumber = reference;
    mTotalNumber = total;
    mSegmentNumber = segment;
    return true;
}

int CSmsDeliver::getUserDataHeaderLength() const
{
    int length = mIsConcatenated ? int(CONCATENATION_HEADER_OCTETS) : 0;
    for (const CInformationElement& element : mIEList)
        length += element.GetSerializedSize();
    return length;
}

bool CSmsDeliver::IsGsm7Payload() const
{
    return mTextFormat.Is8bit() && !mIsBinaryPayload;
}

int CSmsDeliver::GetFillBits() const
{
    return (7 - (getUserDataHeaderLength() + 1) % 7) % 7;
}

int CSmsDeliver::PackedSize(int septetCount, int fillBits)
{
    if (septetCount <= 0)
        return 0;
    return ((septetCount + 1) * 7 + fillBits) >> 3;
}

int CSmsDeliver::PayloadOctets() const
{
    if (IsGsm7Payload())
        return PackedSize(int(mPayload.size()), GetFillBits());
    return int(mPayload.size());
}

int CSmsDeliver::UsedOctets() const
{
    return getUserDataHeaderLength() + 1 + PayloadOctets();
}

int CSmsDeliver::GetAvailableRoom() const
{
    const int available_room = TP_UD_NUM_OF_OCTETS - UsedOctets();
    ASSERT(available_room >= 0);
    return available_room;
}

bool CSmsDeliver::AddElement(const CInformationElement& element)
{
    int needed = element.GetSerializedSize();
    if (element.isTdd())
        needed = int(element.GetData().size());
    else if (mIEList.empty())
        ++needed;
    if (GetAvailableRoom() < needed)
        return false;
    mIEList.push_back(element);
    // A longer header can shift the packed text by one more octet: take that into account too.
    if (UsedOctets() > TP_UD_NUM_OF_OCTETS) {
        mIEList.pop_back();
        return false;
    }
    return true;
}

int CSmsDeliver::WholeCharacterPrefix(const QByteArray& data, int maxOctets) const
{
    if (maxOctets >= data.size())
        return int(data.size());
    if (!IsGsm7Payload())
        return (mTextFormat.IsUcs2() && !mIsBinaryPayload) ? (maxOctets & ~1) : maxOctets;
    return Gsm7WholePrefix(data, maxOctets);
}

int CSmsDeliver::Gsm7WholePrefix(const QByteArray& codes, int maxSeptets)
{
    // An escape and the code after it are one character and never part.
    int i = 0;
    while (i < maxSeptets && i < codes.size()) {
        const bool escapePair = uchar(codes.at(i)) == CGsm7Coder::ESCAPE && i + 1 < codes.size();
        const int width = escapePair ? 2 : 1;
        if (i + width > maxSeptets)
            break;
        i += width;
    }
    return i;
}

int CSmsDeliver::CountCharacters(const QByteArray& data, int octets) const
{
    if (mIsBinaryPayload)
        return octets;
    if (mTextFormat.IsUcs2())
        return octets / 2;
    int characters = 0;
    for (int i = 0; i < octets; ++i, ++characters)
        if (uchar(data.at(i)) == CGsm7Coder::ESCAPE && i + 1 < octets)
            ++i;
    return characters;
}

bool CSmsDeliver::AddPayload(QByteArray& data)
{
    if (data.isEmpty())
        return true;
    const int room = GetAvailableRoom();
    int moved = 0;
    if (IsGsm7Payload()) {
        const int fill = GetFillBits();
        if (PackedSize(int(data.size()), fill) < room)
            moved = int(data.size());
        else if (room >= 2) {
            // The longest prefix, shorter than the whole, whose packed size fits the room.
            const int fitting = (8 * room - fill) / 7;
            moved = WholeCharacterPrefix(data, qMin(fitting, int(data.size()) - 1));
        }
    } else {
        moved = data.size() < room ? int(data.size()) : WholeCharacterPrefix(data, qMax(room, 0));
    }

    if (moved > 0) {
        mPayload.append(data.constData(), moved);
        mTextPosition += CountCharacters(data, moved);
        data.remove(0, moved);
    }
    ASSERT(UsedOctets() <= TP_UD_NUM_OF_OCTETS);
    return data.isEmpty();
}
