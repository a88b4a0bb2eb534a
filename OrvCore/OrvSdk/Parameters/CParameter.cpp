#include "Parameters/CParameter.h"

#include "Parameters/CEnumType.h"
#include "Util/Assert.h"

namespace {
// The limits may have been narrowed since loading (profile filters): a
// default above the maximum gives the maximum, then one below the minimum
// the minimum.
template <typename T>
T DefaultWithinLimits(T defaultValue, T minimum, T maximum)
{
    T value = defaultValue;
    if (defaultValue > maximum)
        value = maximum;
    if (defaultValue < minimum)
        value = minimum;
    return value;
}
} // namespace

CParameter::CParameter(int type) : mType(type), mIsConst(false), mIsDeclaredConst(false) {}

CParameter::~CParameter() = default;

void CParameter::Reset()
{
    mIsConst = mIsDeclaredConst;
}

CBoolParameter::CBoolParameter(bool value) : CParameter(BOOL_TYPE), mValue(value), mDefault(value) {}

void CBoolParameter::Reset()
{
    CParameter::Reset();
    if (!mIsDeclaredConst)
        mValue = mDefault;
}

CIntParameter::CIntParameter(int32_t value, int32_t minimum, int32_t maximum)
    : CParameter(INT_TYPE), mDefault(value), mValue(value), mMin(minimum), mMax(maximum), mDeclaredMin(minimum),
      mDeclaredMax(maximum)
{}

void CIntParameter::Reset()
{
    CParameter::Reset();
    if (!mIsDeclaredConst)
        mValue = DefaultWithinLimits(mDefault, mMin, mMax);
}

CFloatParameter::CFloatParameter(float value, float minimum, float maximum)
    : CParameter(FLOAT_TYPE), mValue(value), mMin(minimum), mMax(maximum), mDefault(value), mDeclaredMin(minimum),
      mDeclaredMax(maximum)
{}

void CFloatParameter::Reset()
{
    CParameter::Reset();
    if (!mIsDeclaredConst)
        mValue = DefaultWithinLimits(mDefault, mMin, mMax);
}

CStringParameter::CStringParameter(const QString& value) : CParameter(STRING_TYPE), mValue(value), mDefault(value) {}

void CStringParameter::Reset()
{
    CParameter::Reset();
    if (!mIsDeclaredConst)
        mValue = mDefault;
}

CEnumParameter::CEnumParameter(int index, CEnumType* type) : CParameter(ENUM_TYPE), mpType(type)
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
