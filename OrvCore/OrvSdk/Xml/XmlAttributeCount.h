#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The toolkit's readers compare each attribute of an element with every earlier one, and each attribute a
// document type declares with every earlier declaration: a hundred thousand of either keep them busy for tens of
// seconds, a million for hours. And they give every element each default its document type declares for it: a
// megabyte of default given to a thousand elements is a gigabyte. No file of this system gives an element more
// than a few dozen attributes, so readers of XML from outside refuse a document with a crowded element or document
// type, or whose defaults would add more bytes than its file may hold, before any reader sees it, after one pass
// over its characters.
namespace XmlAttributeCount {
constexpr int MaxPerElement = 256;
// A document type may declare no more attributes in all than one element may have.
constexpr int MaxDeclared = MaxPerElement;
// The defaults a document type declares are added to every element of their name: together they may add no more
// attributes to the document than this many, so that a few bytes of declaration cannot make millions.
constexpr int MaxDefaultsAdded = MaxPerElement * MaxPerElement;

enum Verdict
{
    Fits,
    TooManyAttributes, // an element, or the document type, holds more attributes than the bounds above
    DefaultsTooLarge   // the defaults the document type declares would add more bytes than the file may hold
};

// TooManyAttributes when some start tag outside comments, character data and processing instructions ends with
// more than MaxPerElement distinct attributes: those it writes (named before each "=" outside quoted values) and
// the defaults the internal subset of the document type declares for its name (parameter entities included) that
// it does not write; the first declaration of an attribute binds, as in every reader. The same when that subset
// declares more than MaxDeclared attributes, or its defaults add more than MaxDefaultsAdded in all.
// DefaultsTooLarge when the defaults added in all would add more than byteLimit bytes (each its name, its value
// with the entities it refers to expanded, and the four characters around them): byteLimit is the most bytes the
// document's reader takes from its file, so that a few bytes of declaration cannot make a larger document than
// any file it reads. A document that is not well-formed may be counted loosely; its reader refuses it anyway.
Verdict Check(const QByteArray& bytes, qint64 byteLimit);
Verdict Check(const QString& text, qint64 byteLimit);

// The toolkit's readers expand no entity into more characters than this: a document that refers to a longer one
// is refused by them, though it is well-formed.
int EntityExpansionLimit();
// Whether the internal subset declares a general entity that stands for more than EntityExpansionLimit()
// characters, the entities it refers to expanded: what to say of a document a reader refused, instead of calling it
// not well-formed.
bool DeclaresEntityPastExpansionLimit(const QByteArray& bytes);
bool DeclaresEntityPastExpansionLimit(const QString& text);
} // namespace XmlAttributeCount
