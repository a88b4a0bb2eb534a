#pragma once
// An enumerated type of a parameter file: its allowed value texts. Converters
// narrow the current list to what a phone supports and restore it later.
#include <QString>
#include <QStringList>

class CEnumType
{
public:
    // values: the VALUES text, split at blanks; empty entries are dropped.
    CEnumType(const QString& name, const QString& values);

    const QString& GetName() const { return mName; }
    const QStringList& GetValues() const { return mValues; }
    const QStringList& GetDeclaredValues() const { return mDeclaredValues; }
    // Position in the current list, -1 when absent (case-sensitive).
    int IndexOf(const QString& text) const;
    bool RemoveValue(const QString& text);
    void RestoreValues();

private:
    QString mName;
    QStringList mValues;
    QStringList mDeclaredValues;
};
