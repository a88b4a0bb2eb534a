// The DOM of a plain document, built node by node as the toolkit's reader
// builds it.
#include "Xml/PlainXmlReader.h"

#include <QDomDocument>

namespace PlainXml {
namespace {

class DocumentBuilder : public Handler
{
public:
    explicit DocumentBuilder(QDomDocument& document) : m_Document(document) {}

    void Declaration(const QString& data) override
    {
        Append(m_Document.createProcessingInstruction(QStringLiteral("xml"), data));
    }

    void StartElement(const QString& name, const Attributes& attributes) override
    {
        QDomElement element = m_Document.createElement(name);
        for (const Attribute& attribute : attributes)
            element.setAttribute(attribute.name, attribute.value);
        Append(element);
        m_Parent = element;
    }

    void EndElement() override { m_Parent = m_Parent.parentNode().toElement(); }

    void Text(const QString& text) override { Append(m_Document.createTextNode(text)); }

    void Comment(const QString& text) override { Append(m_Document.createComment(text)); }

private:
    // The document itself is the parent outside the root element (a null
    // parent: an empty document has no node to point at before its first child).
    void Append(const QDomNode& node)
    {
        if (m_Parent.isNull())
            m_Document.appendChild(node);
        else
            m_Parent.appendChild(node);
    }

    QDomDocument& m_Document;
    QDomElement m_Parent;
};

} // namespace

bool BuildDocument(const QByteArray& bytes, QDomDocument& document, int maxDepth)
{
    // As the toolkit's reader does, whatever the document held goes, the name
    // of its document type included.
    document = QDomDocument();
    DocumentBuilder builder(document);
    return Read(bytes, builder, maxDepth);
}

} // namespace PlainXml
