#pragma once
// The children of a document's root element, read one at a time by the toolkit's stream reader and given as the
// toolkit's DOM (namespace processing off) gives them: elements, text that is not all white space, CDATA sections,
// comments, processing instructions and entity references. No document is built, so a file that holds millions of
// entries costs the memory of one entry, and reading stays linear in the nesting depth.
#include "Xml/XmlAttributeCount.h"
#include "Xml/XmlNesting.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

class CXmlRootChildren
{
public:
    struct Node
    {
        enum Kind
        {
            None,
            Element,
            Text,
            Comment,
            Instruction,
            EntityReference
        };
        Kind kind = None;
        QString name;                    // an element's tag, an instruction's target or an entity's name
        QXmlStreamAttributes attributes; // an element's
        QString text;                    // of text or a comment; an instruction's data
        bool cdata = false;              // text from a CDATA section
    };

    // The bytes are decoded as the declaration says; a text is read as it stands. byteLimit: the most bytes the
    // document's reader takes from its file, which the defaults its document type declares may not add either.
    CXmlRootChildren(const QByteArray& bytes, qint64 byteLimit);
    CXmlRootChildren(const QString& text, qint64 byteLimit);
    CXmlRootChildren(const CXmlRootChildren&) = delete;
    CXmlRootChildren& operator=(const CXmlRootChildren&) = delete;

    // Reads up to the root's start tag. False when the document fails before it, or was refused unread (Refusal).
    bool ReadRoot();
    // The root's tag, once ReadRoot succeeded.
    const QString& RootTag() const { return m_RootTag; }
    // The document's first node as the DOM keeps it: the declaration as an instruction named "xml" whose data
    // is "version='1.0' encoding='...'", else the first comment or instruction, else the root element itself.
    const Node& FirstNode() const { return m_First; }

    // Moves to the root's next child, passing over the content of the current one. False at the root's end tag,
    // and when the document fails or nests deeper than XmlNesting::MaxDepth first.
    bool ReadChild();
    const Node& Child() const { return m_Child; }

    // Reads the rest of the document: true when all of it is well-formed and no deeper than XmlNesting::MaxDepth.
    bool ReadToEnd();
    // Whether reading stopped because an element lay deeper than XmlNesting::MaxDepth (the root counts as 1).
    bool IsTooDeep() const { return m_TooDeep; }
    // Why the document was refused unread: an element of more than XmlAttributeCount::MaxPerElement attributes
    // (the toolkit's reader takes time quadratic in their number), or declared defaults that would add more bytes
    // than byteLimit. Fits when it was not.
    XmlAttributeCount::Verdict Refusal() const { return m_Refusal; }
    bool IsCrowded() const { return m_Refusal == XmlAttributeCount::TooManyAttributes; }

private:
    void Start();
    // The next token, with the depth kept; false on an error or too deep a start tag.
    bool Advance();
    bool Failed() const { return m_Reader.hasError() || m_TooDeep || m_Refusal != XmlAttributeCount::Fits; }

    QXmlStreamReader m_Reader;
    QString m_RootTag;
    Node m_First;
    Node m_Child;
    int m_Depth = 0;
    bool m_TooDeep = false;
    bool m_RootEnded = false;
    const XmlAttributeCount::Verdict m_Refusal;
};
