#include "Parameters/CParameter.h"

#include "Parameters/CEnumType.h"
#include "Util/Assert.h"

CParameter::CParameter(int type)
    : mType(type), mIsConst(false), mIsDeclaredConst(false)
{
}

CParameter::~CParameter() = default;

void CParameter::Reset()
{
    mIsConst = mIsDeclaredConst;
}

CBoolParameter::CBoolParameter(bool value)
    : CParameter(BOOL_TYPE), mValue(value), mDefault(value)
{
}

void CBoolParameter::Reset()
{
    CParameter::Reset();
    if (!mIsDeclaredConst)
        mValue = mDefault;
}

CIntParameter::CIntParameter(int32_t value, int32_t minimum, int32_t maximum)
    : CParameter(INT_TYPE), mDefault(value), mValue(value), mMin(minimum), mMax(maximum)
{
}

void CIntParameter::Reset()
{
    CParameter::Reset();
    if (mIsDeclaredConst)
        return;
    // The limits may have been narrowed since loading (profile filters).
    mValue = mDefault;
    if (mDefault > mMax)
        mValue = mMax;
    if (mDefault < mMin)
        mValue = mMin;
}

CFloatParameter::CFloatParameter(float value, float minimum, float maximum)
    : CParameter(FLOAT_TYPE), mValue(value), mMin(minimum), mMax(maximum), mDefault(value)
{
}

void CFloatParameter::Reset()
{
    CParameter::Reset();
    if (mIsDeclaredConst)
        return;
    mValue = mDefault;
    if (mDefault > mMax)
        mValue = mMax;
    if (mDefault < mMin)
        mValue = mMin;
}

CStringParameter::CStringParameter(const QString& value)
    : CParameter(STRING_TYPE), mValue(value), mDefault(value)
{
}

void CStringParameter::Reset()
{
    CParameter::Reset();
    if (!mIsDeclaredConst)
        mValue = mDefault;
}

CEnumParameter::CEnumParameter(int index, CEnumType* type)
    : CParameter(ENUM_TYPE), mpType(type)
{
    if (type && index >= 0 && index < type->GetValues().size())
        mDefault = mValue = type->GetValues().at(index);
}

void CEnumParameter::Reset()
{
    SetValue(mDefault);
}

bool CEnumParameter::SetValue(const QString& text)
{
    if (mIsConst || !mpType || mpType->IndexOf(text) < 0)
        return false;
    mValue = text;
    return true;
}

bool CEnumParameter::RemoveValue(const QString& text)
{
    if (!mpType || text == mValue || mpType->IndexOf(text) < 0) {
        ASSERT((0));
        return false;
    }
    return mpType->RemoveValue(text);
}

void CEnumParameter::RestoreValues()
{
    if (mpType)
        mpType->RestoreValues();
}
