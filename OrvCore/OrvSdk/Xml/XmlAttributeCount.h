#pragma once
#include <QByteArray>
#include <QString>

// The toolkit's readers compare each attribute of an element with every earlier one: an element of a hundred
// thousand attributes keeps them busy for tens of seconds, a million for hours. No file of this system gives an
// element more than a few dozen, so readers of XML from outside refuse a document with a crowded element before
// any reader sees it, after one pass over its characters.
namespace XmlAttributeCount {
constexpr int MaxPerElement = 256;

// True when some start tag outside comments, character data, declarations and processing instructions holds more
// than MaxPerElement attributes (counted by their "=" outside quoted values). A document that is not well-formed
// may be counted loosely; its reader refuses it anyway.
bool Exceeds(const QByteArray& bytes);
bool Exceeds(const QString& text);

// The reason a refused document gives, after its file name.
QString Reason();
} // namespace XmlAttributeCount
