#pragma once
// Our own XML files (settings, profiles, parameter sets, the language texts)
// use a small part of XML: UTF-8, elements and attributes with plain names,
// text with the predefined and numeric references, comments and the
// declaration. This reader takes that part in one quick pass over the bytes,
// several times faster than the toolkit's stream reader. Anything outside it,
// or not well-formed, it declines: the caller then hands the same bytes to the
// toolkit's reader, whose answer (and error) stands. It never accepts a
// document the toolkit's reader refuses, and reports what that reader reports.
#include <QByteArray>
#include <QList>
#include <QString>

class QDomDocument;

namespace PlainXml {
struct Attribute
{
    QString name;
    QString value;
};
using Attributes = QList<Attribute>;

class Handler
{
public:
    virtual ~Handler() = default;
    // The declaration as the DOM keeps it: "version='1.0' encoding='UTF-8'".
    virtual void Declaration(const QString& data) = 0;
    virtual void StartElement(const QString& name, const Attributes& attributes) = 0;
    virtual void EndElement() = 0;
    // Character data between two pieces of markup, references resolved and line
    // ends made LF; never called for data that is nothing but white space.
    virtual void Text(const QString& text) = 0;
    virtual void Comment(const QString& text) = 0;
};

// True when the whole document lies in the plain part and no element is more
// than maxDepth deep (the root counts as 1). On false the handler has seen a
// part of the document at most, to be thrown away.
bool Read(const QByteArray& bytes, Handler& handler, int maxDepth);

// Replaces the document with what the toolkit's DOM reader (namespace
// processing off) would make of bytes. On false the document holds a part at
// most: the caller starts again with a fresh one.
bool BuildDocument(const QByteArray& bytes, QDomDocument& document, int maxDepth);
} // namespace PlainXml
