#pragma once
// The one typed read of a parameter set or phone profile: a value by name with
// a stated fallback. A missing set, a missing key or a key of another type
// gives the fallback quietly; `present`, when given, says whether the key was
// there with the asked type. Converters read their settings through these
// once, into a struct of their own, at the start of Convert.
#include <QString>

class CParameters;

namespace ParameterRead {
bool Bool(const CParameters* set, const char* name, bool fallback, bool* present = nullptr);
int Int(const CParameters* set, const char* name, int fallback, bool* present = nullptr);
float Float(const CParameters* set, const char* name, float fallback, bool* present = nullptr);
QString Text(const CParameters* set, const char* name, const QString& fallback = QString(), bool* present = nullptr);
// The value text of an enumeration parameter.
QString Enum(const CParameters* set, const char* name, const QString& fallback = QString(), bool* present = nullptr);

// The same reads for names built at run time ("DefaultPictWidth%1").
bool Bool(const CParameters* set, const QString& name, bool fallback, bool* present = nullptr);
int Int(const CParameters* set, const QString& name, int fallback, bool* present = nullptr);
float Float(const CParameters* set, const QString& name, float fallback, bool* present = nullptr);
QString Text(const CParameters* set, const QString& name, const QString& fallback = QString(), bool* present = nullptr);
QString Enum(const CParameters* set, const QString& name, const QString& fallback = QString(), bool* present = nullptr);
} // namespace ParameterRead
