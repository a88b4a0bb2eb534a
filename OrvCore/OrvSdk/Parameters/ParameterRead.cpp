#include "Parameters/ParameterRead.h"

#include "Parameters/CParameters.h"

namespace {
const CParameter* Find(const CParameters* set, const char* name, int type, bool* present)
{
    const CParameter* parameter = set ? set->GetParameter(QString::fromLatin1(name)) : nullptr;
    if (parameter && parameter->GetType() != type)
        parameter = nullptr;
    if (present)
        *present = parameter != nullptr;
    return parameter;
}
} // namespace

namespace ParameterRead
{
bool Bool(const CParameters* set, const char* name, bool fallback, bool* present)
{
    const CParameter* parameter = Find(set, name, CParameter::BOOL_TYPE, present);
    return parameter ? static_cast<const CBoolParameter*>(parameter)->mValue : fallback;
}

int Int(const CParameters* set, const char* name, int fallback, bool* present)
{
    const CParameter* parameter = Find(set, name, CParameter::INT_TYPE, present);
    return parameter ? static_cast<const CIntParameter*>(parameter)->mValue : fallback;
}

float Float(const CParameters* set, const char* name, float fallback, bool* present)
{
    const CParameter* parameter = Find(set, name, CParameter::FLOAT_TYPE, present);
    return parameter ? static_cast<const CFloatParameter*>(parameter)->mValue : fallback;
}

QString Text(const CParameters* set, const char* name, const QString& fallback, bool* present)
{
    const CParameter* parameter = Find(set, name, CParameter::STRING_TYPE, present);
    return parameter ? static_cast<const CStringParameter*>(parameter)->GetValue() : fallback;
}

QString Enum(const CParameters* set, const char* name, const QString& fallback, bool* present)
{
    const CParameter* parameter = Find(set, name, CParameter::ENUM_TYPE, present);
    return parameter ? static_cast<const CEnumParameter*>(parameter)->GetValue() : fallback;
}
} // namespace ParameterRead
