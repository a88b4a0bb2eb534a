#pragma once
// One parameter's value as a plain value of its type, whatever the type: to
// keep a value aside, compare it, put it back, and write it into a run log.
#include <QString>
#include <QVariant>

class CParameter;

namespace ParameterValue {
// The current value: bool, int, float or text (enumerated values as their text).
QVariant Of(const CParameter* parameter);
// The declared value of the file.
QVariant DeclaredOf(const CParameter* parameter);
// Sets the value without any check; a value of another kind is ignored.
void Set(CParameter* parameter, const QVariant& value);
// The value as the parameter file writes it.
QString Text(const CParameter* parameter, const QVariant& value);
// The lowest and highest value of a number, as the parameter file writes them; false, and both left as they
// are, for a parameter of another type.
bool Bounds(const CParameter* parameter, QString& min, QString& max);
} // namespace ParameterValue
