#include "Xml/PlainXmlElements.h"

namespace PlainXml {

class ElementTreeBuilder : public Handler
{
public:
    explicit ElementTreeBuilder(std::vector<ElementTree::Element>& elements) : m_Elements(elements) {}

    void Declaration(const QString&) override {}
    void Text(const QString&) override {}
    void Comment(const QString&) override {}

    void StartElement(const QString& name, const Attributes& attributes) override
    {
        const int index = int(m_Elements.size());
        ElementTree::Element element;
        element.tag = name;
        // A copy of its own size: sharing the reader's list would make the
        // reader allocate a new one, as large, for every element.
        if (!attributes.isEmpty()) {
            element.attributes.reserve(attributes.size());
            element.attributes.append(attributes.constBegin(), attributes.constEnd());
        }
        if (!m_Open.empty()) {
            const int parent = m_Open.back();
            element.parent = parent;
            element.previous = m_Elements[size_t(parent)].lastChild;
            if (element.previous < 0)
                m_Elements[size_t(parent)].firstChild = index;
            else
                m_Elements[size_t(element.previous)].next = index;
            m_Elements[size_t(parent)].lastChild = index;
        }
        m_Elements.push_back(std::move(element));
        m_Open.push_back(index);
    }

    void EndElement() override { m_Open.pop_back(); }

private:
    std::vector<ElementTree::Element>& m_Elements;
    std::vector<int> m_Open;
};

bool ElementTree::Read(const QByteArray& bytes, int maxDepth)
{
    m_Elements.clear();
    ElementTreeBuilder builder(m_Elements);
    if (PlainXml::Read(bytes, builder, maxDepth) && !m_Elements.empty())
        return true;
    m_Elements.clear();
    return false;
}

int ElementTree::PositionOf(int element) const
{
    int position = 0;
    for (int before = At(element).previous; before >= 0; before = At(before).previous)
        ++position;
    return position;
}

const QString* ElementTree::FindAttribute(int element, const QString& name) const
{
    for (const Attribute& attribute : At(element).attributes)
        if (attribute.name == name)
            return &attribute.value;
    return nullptr;
}

} // namespace PlainXml
