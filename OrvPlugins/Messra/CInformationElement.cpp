#include "CInformationElement.h"
#include "CSmsDeliver.h"
#include "SmsLimits.h"
#include "Util/Assert.h"

void CInformationElement::Reset()
{
    mIdentifier = NO_IDENTIFIER;
    mDataArray.clear();
    mPositionInText = 0;
    mIsTdd = false;
    mHasPosition = false;
}

void CInformationElement::SetEmsObject(uint32_t identifier, const QByteArray& data, uint32_t positionInText)
{
    ASSERT(0 != data.size());
    ASSERT(positionInText < CSmsDeliver::USER_DATA_FIELD_SIZE_SEPTET_MAX);
    Reset();
    mIdentifier = identifier;
    mDataArray = data;
    // The position octet can only point inside the 160 characters of one message.
    mPositionInText = qMin<uint32_t>(positionInText, CSmsDeliver::USER_DATA_FIELD_SIZE_SEPTET_MAX - 1);
    mHasPosition = true;
}

void CInformationElement::SetObjectDistributionIndicator()
{
    Reset();
    mIdentifier = IEI_ODI;
    mDataArray = QByteArray("\x00\x01", 2);
}

void CInformationElement::SetTdd(const QByteArray& titleOctets, int titleLength, bool ucs2, int contentType,
                                 bool copyrighted)
{
    Reset();
    mIdentifier = IEI_TDD;
    mIsTdd = true;
    mDataArray.reserve(titleOctets.size() + 4);
    mDataArray.append(char((titleLength & 0x0F) | (ucs2 ? 0x01 : 0x00)));
    mDataArray.append(titleOctets);
    mDataArray.append(char((contentType & 0x7F) | (copyrighted ? 0x80 : 0x00)));
    mDataArray.append('\0');
    mDataArray.append('\0');
}

bool CInformationElement::PatchTddTotal(uint16_t total)
{
    ASSERT((1) == isTdd());
    ASSERT(mDataArray.size() >= IE_TOTAL_LENGTH_MIN);
    if (!mIsTdd || mDataArray.size() < IE_TOTAL_LENGTH_MIN)
        return false;
    const int last = mDataArray.size() - 1;
    mDataArray[last - 1] = char(total >> 8);
    mDataArray[last] = char(total & 0xFF);
    return true;
}

int CInformationElement::GetBodyLength() const
{
    return int(mDataArray.size()) + (mHasPosition ? 1 : 0);
}

void CInformationElement::AppendTo(QByteArray& out) const
{
    out.append(char(mIdentifier & 0xFF));
    out.append(char(GetBodyLength()));
    if (mHasPosition)
        out.append(char(mPositionInText));
    out.append(mDataArray);
}
