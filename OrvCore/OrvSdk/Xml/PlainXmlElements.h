#pragma once
// The elements and attributes of a plain document, in document order: all
// that the cursor of an XML file reads. Far lighter than the toolkit's DOM,
// which a file builds only once something needs it.
#include "Xml/PlainXmlReader.h"

#include <vector>

namespace PlainXml {

class ElementTree
{
public:
    struct Element
    {
        QString tag;
        Attributes attributes;
        int parent = -1; // -1 for the root element
        int firstChild = -1;
        int lastChild = -1;
        int next = -1;
        int previous = -1;
    };

    // False when the plain reader declines the bytes; the tree is then empty.
    bool Read(const QByteArray& bytes, int maxDepth);

    // The root element is element 0.
    const Element& At(int element) const { return m_Elements[size_t(element)]; }
    // Among the child elements of its parent; 0 for the root.
    int PositionOf(int element) const;
    const QString* FindAttribute(int element, const QString& name) const;

private:
    friend class ElementTreeBuilder;
    std::vector<Element> m_Elements;
};

} // namespace PlainXml
