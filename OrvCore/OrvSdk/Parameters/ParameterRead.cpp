#include "Parameters/ParameterRead.h"

#include "Parameters/CParameters.h"

namespace {
// Looked up untyped, so that a key of another type is no check warning.
template <typename T>
const T* Find(const CParameters* set, const QString& name, int type, bool* present)
{
    const CParameter* parameter = set ? set->GetParameter(name) : nullptr;
    if (parameter && parameter->GetType() != type)
        parameter = nullptr;
    if (present)
        *present = parameter != nullptr;
    // No dynamic_cast: each plug-in has its own copy of these classes.
    return static_cast<const T*>(parameter);
}
} // namespace

namespace ParameterRead {
bool Bool(const CParameters* set, const QString& name, bool fallback, bool* present)
{
    const auto* parameter = Find<CBoolParameter>(set, name, CParameter::BOOL_TYPE, present);
    return parameter ? parameter->mValue : fallback;
}

int Int(const CParameters* set, const QString& name, int fallback, bool* present)
{
    const auto* parameter = Find<CIntParameter>(set, name, CParameter::INT_TYPE, present);
    return parameter ? parameter->mValue : fallback;
}

float Float(const CParameters* set, const QString& name, float fallback, bool* present)
{
    const auto* parameter = Find<CFloatParameter>(set, name, CParameter::FLOAT_TYPE, present);
    return parameter ? parameter->mValue : fallback;
}

QString Text(const CParameters* set, const QString& name, const QString& fallback, bool* present)
{
    const auto* parameter = Find<CStringParameter>(set, name, CParameter::STRING_TYPE, present);
    return parameter ? parameter->GetValue() : fallback;
}

QString Enum(const CParameters* set, const QString& name, const QString& fallback, bool* present)
{
    const auto* parameter = Find<CEnumParameter>(set, name, CParameter::ENUM_TYPE, present);
    return parameter ? parameter->GetValue() : fallback;
}

bool Bool(const CParameters* set, const char* name, bool fallback, bool* present)
{
    return Bool(set, QString::fromLatin1(name), fallback, present);
}

int Int(const CParameters* set, const char* name, int fallback, bool* present)
{
    return Int(set, QString::fromLatin1(name), fallback, present);
}

float Float(const CParameters* set, const char* name, float fallback, bool* present)
{
    return Float(set, QString::fromLatin1(name), fallback, present);
}

QString Text(const CParameters* set, const char* name, const QString& fallback, bool* present)
{
    return Text(set, QString::fromLatin1(name), fallback, present);
}

QString Enum(const CParameters* set, const char* name, const QString& fallback, bool* present)
{
    return Enum(set, QString::fromLatin1(name), fallback, present);
}
} // namespace ParameterRead
