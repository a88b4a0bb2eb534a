#include "Parameters/ParameterValue.h"

#include "Parameters/CParameter.h"

namespace {
// The typed parameters, without casts that need type information: each plug-in has its own copy of these classes.
const CBoolParameter* AsBool(const CParameter* p)
{
    return static_cast<const CBoolParameter*>(p);
}
const CIntParameter* AsInt(const CParameter* p)
{
    return static_cast<const CIntParameter*>(p);
}
const CFloatParameter* AsFloat(const CParameter* p)
{
    return static_cast<const CFloatParameter*>(p);
}
const CStringParameter* AsString(const CParameter* p)
{
    return static_cast<const CStringParameter*>(p);
}
const CEnumParameter* AsEnum(const CParameter* p)
{
    return static_cast<const CEnumParameter*>(p);
}
} // namespace

QVariant ParameterValue::Of(const CParameter* parameter)
{
    if (!parameter)
        return QVariant();
    switch (parameter->mType) {
    case CParameter::BOOL_TYPE:
        return AsBool(parameter)->mValue;
    case CParameter::INT_TYPE:
        return AsInt(parameter)->mValue;
    case CParameter::FLOAT_TYPE:
        return AsFloat(parameter)->mValue;
    case CParameter::STRING_TYPE:
        return AsString(parameter)->mValue;
    case CParameter::ENUM_TYPE:
        return AsEnum(parameter)->mValue;
    default:
        return QVariant();
    }
}

QVariant ParameterValue::DeclaredOf(const CParameter* parameter)
{
    if (!parameter)
        return QVariant();
    switch (parameter->mType) {
    case CParameter::BOOL_TYPE:
        return AsBool(parameter)->mDefault;
    case CParameter::INT_TYPE:
        return AsInt(parameter)->mDefault;
    case CParameter::FLOAT_TYPE:
        return AsFloat(parameter)->mDefault;
    case CParameter::STRING_TYPE:
        return AsString(parameter)->mDefault;
    case CParameter::ENUM_TYPE:
        return AsEnum(parameter)->mDefault;
    default:
        return QVariant();
    }
}

void ParameterValue::Set(CParameter* parameter, const QVariant& value)
{
    if (!parameter)
        return;
    switch (parameter->mType) {
    case CParameter::BOOL_TYPE:
        if (value.typeId() == QMetaType::Bool)
            static_cast<CBoolParameter*>(parameter)->mValue = value.toBool();
        break;
    case CParameter::INT_TYPE:
        if (value.typeId() == QMetaType::Int)
            static_cast<CIntParameter*>(parameter)->mValue = value.toInt();
        break;
    case CParameter::FLOAT_TYPE:
        if (value.typeId() == QMetaType::Float)
            static_cast<CFloatParameter*>(parameter)->mValue = value.toFloat();
        break;
    case CParameter::STRING_TYPE:
        if (value.typeId() == QMetaType::QString)
            static_cast<CStringParameter*>(parameter)->mValue = value.toString();
        break;
    case CParameter::ENUM_TYPE:
        if (value.typeId() == QMetaType::QString)
            static_cast<CEnumParameter*>(parameter)->mValue = value.toString();
        break;
    default:
        break;
    }
}

QString ParameterValue::Text(const CParameter* parameter, const QVariant& value)
{
    if (!parameter || !value.isValid())
        return QString();
    switch (parameter->mType) {
    case CParameter::BOOL_TYPE:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case CParameter::INT_TYPE:
        return QString::number(value.toInt());
    case CParameter::FLOAT_TYPE:
        // Six significant digits, as the parameter file is written.
        return QString::number(double(value.toFloat()), 'g', 6);
    default:
        return value.toString();
    }
}

bool ParameterValue::Bounds(const CParameter* parameter, QString& min, QString& max)
{
    if (!parameter)
        return false;
    switch (parameter->mType) {
    case CParameter::INT_TYPE:
        min = Text(parameter, AsInt(parameter)->mMin);
        max = Text(parameter, AsInt(parameter)->mMax);
        return true;
    case CParameter::FLOAT_TYPE:
        min = Text(parameter, AsFloat(parameter)->mMin);
        max = Text(parameter, AsFloat(parameter)->mMax);
        return true;
    default:
        return false;
    }
}
