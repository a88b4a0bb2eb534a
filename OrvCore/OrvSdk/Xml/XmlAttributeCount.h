#pragma once
#include <QByteArray>
#include <QString>

// The toolkit's readers compare each attribute of an element with every earlier one, and each attribute a
// document type declares with every earlier declaration: a hundred thousand of either keep them busy for tens of
// seconds, a million for hours. No file of this system gives an element more than a few dozen, so readers of XML
// from outside refuse a document with a crowded element or document type before any reader sees it, after one
// pass over its characters.
namespace XmlAttributeCount {
constexpr int MaxPerElement = 256;
// A document type may declare no more attributes in all than one element may have.
constexpr int MaxDeclared = MaxPerElement;
// The defaults a document type declares are added to every element of their name: together they may add no more
// attributes to the document than this many, so that a few bytes of declaration cannot make millions.
constexpr int MaxDefaultsAdded = MaxPerElement * MaxPerElement;

// True when some start tag outside comments, character data and processing instructions ends with more than
// MaxPerElement attributes: those it writes (counted by their "=" outside quoted values) and the defaults the
// internal subset of the document type declares for its name (parameter entities included). True too when that
// subset declares more than MaxDeclared attributes, or its defaults add more than MaxDefaultsAdded in all. A
// document that is not well-formed may be counted loosely; its reader refuses it anyway.
bool Exceeds(const QByteArray& bytes);
bool Exceeds(const QString& text);
} // namespace XmlAttributeCount
