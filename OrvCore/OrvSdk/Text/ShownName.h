#pragma once
// A name from outside (a file name, an option's value, a name a source holds) as a message shows it: each control
// character, and each character that ends a line, is written as the \xHH of its bytes, as bytes outside the
// character set already are. So a name can neither end a line of the run log nor start one that reads as the
// program's own.
#include <QString>

QString ShowName(const QString& name);
