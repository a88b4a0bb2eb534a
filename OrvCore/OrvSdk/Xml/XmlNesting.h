#pragma once
#include <QByteArray>
#include <QString>

// The toolkit's DOM takes time quadratic in the nesting depth of a document: a
// file of a megabyte nested all the way down keeps it busy for minutes.
// Readers of XML from outside check the depth first, with the linear stream
// reader, and refuse what no file of theirs would nest.
namespace XmlNesting {
// Deeper than any description, e-card or parameter file goes.
constexpr int MaxDepth = 256;

// True when some element lies more than maxDepth elements deep (the root
// counts as 1). Reading stops at the first error: a document that is not
// well-formed is left to the DOM to refuse.
bool TooDeep(const QByteArray& bytes, int maxDepth = MaxDepth);
bool TooDeep(const QString& text, int maxDepth = MaxDepth);
} // namespace XmlNesting
