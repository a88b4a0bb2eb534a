#include "CSmsDeliverTpdu.h"
#include "CSmsDeliver.h"
#include "Text/CGsm7Coder.h"
#include "Util/Assert.h"
#include <cstring>

void CSmsDeliverTpdu::Reset()
{
    mFirstOctet = 0;
    mProtocolIdentifier = 0;
    mDataCodingScheme = 0;
    std::memset(mUsedOctets, 0, sizeof mUsedOctets);
    std::memset(mUserData, 0, sizeof mUserData);
    mUserDataLength = 0;
    mIsInit = false;
}

bool CSmsDeliverTpdu::Put(int& tp_ud_index, const QByteArray& bytes)
{
    // Never write past the user data, whatever the deliver claims.
    if (tp_ud_index + bytes.size() > TP_UD_NUM_OF_OCTETS) {
        ASSERT(tp_ud_index < TP_UD_NUM_OF_OCTETS);
        return false;
    }
    std::memcpy(mUserData + tp_ud_index, bytes.constData(), size_t(bytes.size()));
    tp_ud_index += int(bytes.size());
    return true;
}

bool CSmsDeliverTpdu::Build(const CSmsDeliver& SmsDeliver, int mode, bool ucs2)
{
    Reset();
    mProtocolIdentifier = mode == 0 ? PID_EMS : PID_TDD;
    mDataCodingScheme = ucs2 ? DCS_UCS2 : DCS_GSM7;
    mIsInit = true;
    mFirstOctet |= FIRST_OCTET_UDHI;

    const int available_room = SmsDeliver.GetAvailableRoom();
    const int used = TP_UD_NUM_OF_OCTETS - available_room;
    mUsedOctets[0] = uint8_t(used >> 8);
    mUsedOctets[1] = uint8_t(used & 0xFF);

    QByteArray header;
    header.append(char(SmsDeliver.getUserDataHeaderLength()));
    if (SmsDeliver.isConcatenated()) {
        header.append(char(CInformationElement::IEI_CONCATENATION_8BIT));
        header.append(char(3));
        header.append(char(SmsDeliver.GetReferenceNumber() & 0xFF));
        header.append(char(SmsDeliver.GetTotalNumber()));
        header.append(char(SmsDeliver.GetSegmentNumber()));
    }
    for (const CInformationElement& element : SmsDeliver.GetElements())
        element.AppendTo(header);

    int tp_ud_index = 0;
    if (!Put(tp_ud_index, header))
        return false;
    ASSERT(tp_ud_index == SmsDeliver.getUserDataHeaderLength() + 1);

    QByteArray payload;
    if (SmsDeliver.IsGsm7Payload())
        CGsm7Coder::PackSeptets(uint(SmsDeliver.GetFillBits()), SmsDeliver.GetPayload(), payload);
    else
        payload = SmsDeliver.GetPayload();
    if (!Put(tp_ud_index, payload))
        return false;

    mUserDataLength = tp_ud_index;
    return true;
}

bool CSmsDeliverTpdu::Serialize(QByteArray& BinDeliver) const
{
    ASSERT(BinDeliver.isEmpty());
    ASSERT(mIsInit);
    if (!mIsInit)
        return false;
    BinDeliver = QByteArray(reinterpret_cast<const char*>(mUserData), mUserDataLength);
    ASSERT(mUserDataLength == BinDeliver.size());
    return true;
}
