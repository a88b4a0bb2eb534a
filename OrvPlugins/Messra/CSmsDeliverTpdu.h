#pragma once
#include "SmsLimits.h"
#include <QByteArray>
#include <cstdint>

class CSmsDeliver;

// The SMS-DELIVER fields of one deliver. Only its TP-User-Data (header length
// octet, header and payload) leaves the translator; address and time stamp
// are never written, so they are not kept.
class CSmsDeliverTpdu
{
public:
    enum
    {
        PID_EMS = 0x5E,
        PID_TDD = 0x7D,
        DCS_GSM7 = 0x40,
        DCS_UCS2 = 0x48,
        DCS_8BIT_CLASS1 = 0xF5,
        FIRST_OCTET_UDHI = 0x40
    };

    CSmsDeliverTpdu() { Reset(); }

    void Reset();
    // mode 0 is EMS, 1 and 2 are TDD.
    bool Build(const CSmsDeliver& SmsDeliver, int mode, bool ucs2);
    // The chunk written for one deliver: TP-UD from the header length octet to the end of the payload.
    bool Serialize(QByteArray& BinDeliver) const;

    int GetUserDataLength() const { return mUserDataLength; }
    uint8_t GetProtocolIdentifier() const { return mProtocolIdentifier; }
    uint8_t GetDataCodingScheme() const { return mDataCodingScheme; }
    uint8_t GetFirstOctet() const { return mFirstOctet; }
    int GetUsedOctetCount() const { return (mUsedOctets[0] << 8) | mUsedOctets[1]; }

private:
    bool Put(int& tp_ud_index, const QByteArray& bytes);

    uint8_t mFirstOctet;
    uint8_t mProtocolIdentifier;
    uint8_t mDataCodingScheme;
    uint8_t mUsedOctets[2];
    uint8_t mUserData[TP_UD_NUM_OF_OCTETS];
    int mUserDataLength;
    bool mIsInit;
};
