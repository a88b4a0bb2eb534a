#include "Parameters/CEnumType.h"

CEnumType::CEnumType(const QString& name, const QString& values)
    : mName(name), mValues(values.split(QLatin1Char(' '), Qt::SkipEmptyParts)), mDeclaredValues(mValues)
{}

int CEnumType::IndexOf(const QString& text) const
{
    return int(mValues.indexOf(text));
}

bool CEnumType::RemoveValue(const QString& text)
{
    const qsizetype index = mValues.indexOf(text);
    if (index < 0)
        return false;
    mValues.removeAt(index);
    return true;
}

void CEnumType::RestoreValues()
{
    mValues = mDeclaredValues;
}
