#include "Parameters/CParameters.h"

#include "Parameters/ParameterValue.h"
#include "Util/Assert.h"

#include <QtAlgorithms>

namespace {
template <typename Number>
void RestoreLimits(Number* parameter)
{
    parameter->mMin = parameter->mDeclaredMin;
    parameter->mMax = parameter->mDeclaredMax;
}
} // namespace

CParameters::CParameters() = default;

CParameters::~CParameters()
{
    Clear();
}

void CParameters::Clear()
{
    // Nodes point at parameters and vectors: they go first.
    qDeleteAll(mInterface);
    mInterface.clear();
    qDeleteAll(mVectors);
    mVectors.clear();
    mParameters.clear();
    qDeleteAll(mOwnedParameters);
    mOwnedParameters.clear();
    qDeleteAll(mEnumTypes);
    mEnumTypes.clear();
    mBaseTypes.clear();
}

CParameter* CParameters::GetParameter(const QString& name) const
{
    return mParameters.value(name, nullptr);
}

template <typename T>
T* CParameters::GetTyped(const QString& name, int type) const
{
    CParameter* parameter = GetParameter(name);
    if (!parameter)
        return nullptr;
    if (parameter->mType != type) {
        ASSERT(0);
        return nullptr;
    }
    // No dynamic_cast: each plug-in has its own copy of these classes.
    return static_cast<T*>(parameter);
}

CBoolParameter* CParameters::GetBoolParameter(const QString& name) const
{
    return GetTyped<CBoolParameter>(name, CParameter::BOOL_TYPE);
}

CIntParameter* CParameters::GetIntParameter(const QString& name) const
{
    return GetTyped<CIntParameter>(name, CParameter::INT_TYPE);
}

CFloatParameter* CParameters::GetFloatParameter(const QString& name) const
{
    return GetTyped<CFloatParameter>(name, CParameter::FLOAT_TYPE);
}

CStringParameter* CParameters::GetStringParameter(const QString& name) const
{
    return GetTyped<CStringParameter>(name, CParameter::STRING_TYPE);
}

CEnumParameter* CParameters::GetEnumParameter(const QString& name) const
{
    return GetTyped<CEnumParameter>(name, CParameter::ENUM_TYPE);
}

CParameterVector* CParameters::GetVector(const QString& name) const
{
    for (CParameterVector* vector : mVectors) {
        if (vector->mName == name)
            return vector;
    }
    return nullptr;
}

bool CParameters::FindType(const QString& name, bool* isEnum, int* index) const
{
    int position = int(mBaseTypes.indexOf(name));
    bool inEnums = false;
    if (position < 0) {
        for (int i = 0; i < mEnumTypes.size() && position < 0; ++i) {
            if (mEnumTypes.at(i)->GetName() == name)
                position = i;
        }
        inEnums = true;
    }
    if (position < 0)
        return false;
    if (isEnum)
        *isEnum = inEnums;
    if (index)
        *index = position;
    return true;
}

bool CParameters::IsEmpty() const
{
    return mParameters.isEmpty();
}

void CParameters::ResetAll()
{
    for (CParameter* parameter : std::as_const(mParameters))
        parameter->Reset();
}

void CParameters::RestoreDeclared()
{
    // Types first: an enumerated value is put back into the full list.
    for (CEnumType* type : std::as_const(mEnumTypes))
        type->RestoreValues();
    for (CParameter* parameter : std::as_const(mOwnedParameters)) {
        parameter->mIsConst = parameter->mIsDeclaredConst;
        if (parameter->mType == CParameter::INT_TYPE)
            RestoreLimits(static_cast<CIntParameter*>(parameter));
        else if (parameter->mType == CParameter::FLOAT_TYPE)
            RestoreLimits(static_cast<CFloatParameter*>(parameter));
        ParameterValue::Set(parameter, ParameterValue::DeclaredOf(parameter));
    }
}

bool CParameters::FindDataChild(const QString& name)
{
    const QString data = QStringLiteral("DATA");
    for (int i = CountElements(data) - 1; i >= 0; --i) {
        if (!GoToElement(data, false, i))
            continue;
        QString dataName;
        GetStringAttribute(QStringLiteral("NAME"), dataName);
        if (dataName == name)
            return true;
        GoToParent();
    }
    return false;
}

bool CParameters::GoToDataElement(const QString& name)
{
    while (GoToParent()) {
    }
    if (!GoToElement(QStringLiteral("PSECTION")) || GetPath() != QStringLiteral("PSECTION."))
        return false;
    if (FindDataChild(name))
        return true;
    const QString vectorTag = QStringLiteral("VECTOR");
    for (int v = CountElements(vectorTag) - 1; v >= 0; --v) {
        if (!GoToElement(vectorTag, false, v))
            continue;
        if (FindDataChild(name))
            return true;
        GoToParent();
    }
    return false;
}

bool CParameters::Save(const QString& path, QString* reason)
{
    const QString value = QStringLiteral("VALUE");
    for (auto it = mParameters.cbegin(); it != mParameters.cend(); ++it) {
        if (!GoToDataElement(it.key()))
            return false;
        const CParameter* parameter = it.value();
        switch (parameter->mType) {
        case CParameter::BOOL_TYPE:
            WriteStringAttribute(value, static_cast<const CBoolParameter*>(parameter)->mValue
                                            ? QStringLiteral("true")
                                            : QStringLiteral("false"));
            break;
        case CParameter::INT_TYPE:
            WriteIntAttribute(value, static_cast<const CIntParameter*>(parameter)->mValue);
            break;
        case CParameter::FLOAT_TYPE:
            WriteFloatAttribute(value, static_cast<const CFloatParameter*>(parameter)->mValue);
            break;
        case CParameter::STRING_TYPE:
            WriteStringAttribute(value, static_cast<const CStringParameter*>(parameter)->mValue);
            break;
        case CParameter::ENUM_TYPE:
            WriteStringAttribute(value, static_cast<const CEnumParameter*>(parameter)->mValue);
            break;
        default:
            ASSERT((0));
            break;
        }
    }
    return CXmlFile::Save(path, reason);
}
