#include "Xml/XmlRootChildren.h"

namespace {
CXmlRootChildren::Node MakeNode(CXmlRootChildren::Node::Kind kind, const QString& name, const QString& text)
{
    CXmlRootChildren::Node node;
    node.kind = kind;
    node.name = name;
    node.text = text;
    return node;
}

// The declaration as the DOM rebuilds it for its "xml" instruction.
QString DeclarationData(const QXmlStreamReader& reader)
{
    QString data = QStringLiteral("version='%1'").arg(reader.documentVersion());
    if (!reader.documentEncoding().isEmpty())
        data += QStringLiteral(" encoding='%1'").arg(reader.documentEncoding());
    if (reader.isStandaloneDocument())
        data += QStringLiteral(" standalone='yes'");
    return data;
}
} // namespace

CXmlRootChildren::CXmlRootChildren(const QByteArray& bytes, qint64 byteLimit)
    : m_Reader(bytes), m_Refusal(XmlAttributeCount::Check(bytes, byteLimit))
{
    Start();
}

CXmlRootChildren::CXmlRootChildren(const QString& text, qint64 byteLimit)
    : m_Reader(text), m_Refusal(XmlAttributeCount::Check(text, byteLimit))
{
    Start();
}

void CXmlRootChildren::Start()
{
    // As the DOM reads without namespace processing: prefixes are part of the names.
    m_Reader.setNamespaceProcessing(false);
}

bool CXmlRootChildren::Advance()
{
    if (m_Reader.atEnd() || Failed())
        return false;
    const QXmlStreamReader::TokenType token = m_Reader.readNext();
    if (m_Reader.hasError())
        return false;
    if (token == QXmlStreamReader::StartElement && ++m_Depth > XmlNesting::MaxDepth) {
        m_TooDeep = true;
        return false;
    }
    if (token == QXmlStreamReader::EndElement)
        --m_Depth;
    return true;
}

bool CXmlRootChildren::ReadRoot()
{
    while (m_RootTag.isEmpty() && Advance()) {
        Node node;
        switch (m_Reader.tokenType()) {
        case QXmlStreamReader::StartDocument:
            // Without a declaration the DOM has no "xml" instruction.
            if (!m_Reader.documentVersion().isEmpty())
                node = MakeNode(Node::Instruction, QStringLiteral("xml"), DeclarationData(m_Reader));
            break;
        case QXmlStreamReader::Comment:
            node = MakeNode(Node::Comment, QString(), m_Reader.text().toString());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            node = MakeNode(Node::Instruction, m_Reader.processingInstructionTarget().toString(),
                            m_Reader.processingInstructionData().toString());
            break;
        case QXmlStreamReader::StartElement:
            m_RootTag = m_Reader.qualifiedName().toString();
            node = MakeNode(Node::Element, m_RootTag, QString());
            break;
        default:
            // The document type is no child of the DOM's document; white space between nodes is dropped.
            break;
        }
        if (m_First.kind == Node::None)
            m_First = node;
    }
    return !m_RootTag.isEmpty();
}

bool CXmlRootChildren::ReadChild()
{
    if (m_RootTag.isEmpty() || m_RootEnded)
        return false;
    // Whatever the current child holds was read only to be passed over.
    const bool inElement = m_Child.kind == Node::Element;
    m_Child = Node();
    while (inElement && m_Depth > 1) {
        if (!Advance())
            return false;
    }
    while (Advance()) {
        switch (m_Reader.tokenType()) {
        case QXmlStreamReader::StartElement:
            m_Child = MakeNode(Node::Element, m_Reader.qualifiedName().toString(), QString());
            m_Child.attributes = m_Reader.attributes();
            return true;
        case QXmlStreamReader::EndElement:
            m_RootEnded = true;
            return false;
        case QXmlStreamReader::Characters: {
            // The DOM keeps no text that is all white space, in the XML sense or (outside CDATA) the wider one.
            const QString text = m_Reader.text().toString();
            if (m_Reader.isWhitespace() || (!m_Reader.isCDATA() && text.trimmed().isEmpty()))
                break;
            m_Child = MakeNode(Node::Text, QString(), text);
            m_Child.cdata = m_Reader.isCDATA();
            return true;
        }
        case QXmlStreamReader::Comment:
            m_Child = MakeNode(Node::Comment, QString(), m_Reader.text().toString());
            return true;
        case QXmlStreamReader::ProcessingInstruction:
            m_Child = MakeNode(Node::Instruction, m_Reader.processingInstructionTarget().toString(),
                               m_Reader.processingInstructionData().toString());
            return true;
        case QXmlStreamReader::EntityReference:
            m_Child = MakeNode(Node::EntityReference, m_Reader.name().toString(), QString());
            return true;
        default:
            break;
        }
    }
    return false;
}

bool CXmlRootChildren::ReadToEnd()
{
    // The reader itself checks that every element ends and that nothing follows the root but comments and
    // instructions; the children need no nodes of their own here.
    m_Child = Node();
    while (Advance()) {
    }
    return !m_RootTag.isEmpty() && !Failed();
}
