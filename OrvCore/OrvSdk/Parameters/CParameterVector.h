#pragma once
// A named, ordered group of parameters (a VECTOR of the file); interface
// tables show vectors as rows or columns. The set owns the parameters.
#include <QList>
#include <QString>

class CParameter;

class CParameterVector
{
public:
    explicit CParameterVector(const QString& name) : mName(name) {}

    const QString& GetName() const { return mName; }
    const QList<CParameter*>& GetParameters() const { return mParameters; }

    QString mName;
    QList<CParameter*> mParameters; // not owned
};
