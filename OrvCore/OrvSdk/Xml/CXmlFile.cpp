#include "Xml/CXmlFile.h"
#include "Text/CLanguageResources.h"
#include "Util/BoundedFileRead.h"
#include "Util/SafeFileWrite.h"
#include "Xml/PlainXmlElements.h"
#include "Xml/PlainXmlReader.h"
#include "Xml/XmlAttributeCount.h"
#include "Xml/XmlNesting.h"

#include <QBuffer>
#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QTextStream>

#include <utility>

namespace {
// The toolkit's "%g": general format, six significant digits.
QString FloatToText(float value)
{
    return QString::number(double(value), 'g', 6);
}

// What the plain reader declines goes to the toolkit's reader, whose answer
// stands. The depth check comes first: the toolkit's DOM takes time quadratic
// in the nesting.
std::unique_ptr<QDomDocument> ToolkitDocument(const QByteArray& bytes)
{
    auto document = std::make_unique<QDomDocument>();
    if (XmlNesting::TooDeep(bytes) || !document->setContent(bytes, false))
        return nullptr;
    return document;
}

QString Message(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CXmlFile"), QString::fromLatin1(id));
}

} // namespace

CXmlFile::CXmlFile() = default;

CXmlFile::~CXmlFile() = default;

void CXmlFile::DropDocument()
{
    mpTree.reset();
    mTreeCursor = -1;
    mSource.clear();
    mCursor.clear();
    mpDocument.reset();
}

bool CXmlFile::LoadFromData(const QByteArray& data)
{
    DropDocument();
    return XmlAttributeCount::Check(data, FileLimits::MaxXmlBytes) == XmlAttributeCount::Fits && ReadDocument(data);
}

bool CXmlFile::ReadDocument(const QByteArray& data)
{
    auto tree = std::make_unique<PlainXml::ElementTree>();
    if (tree->Read(data, XmlNesting::MaxDepth)) {
        mpTree = std::move(tree);
        mTreeCursor = 0;
        mSource = data;
        return true;
    }
    mpDocument = ToolkitDocument(data);
    if (!mpDocument)
        return false;
    mCursor = mpDocument->documentElement();
    return true;
}

bool CXmlFile::Load(const QString& path)
{
    DropDocument();
    mLoadError.clear();
    // Settings, profiles and batch files come from outside: a device or a huge file is refused before it is
    // read.
    QByteArray bytes;
    if (!BoundedFileRead::Read(path, FileLimits::MaxXmlBytes, bytes, mLoadError))
        return false;
    switch (XmlAttributeCount::Check(bytes, FileLimits::MaxXmlBytes)) {
    case XmlAttributeCount::TooManyAttributes:
        mLoadError = Message("id_too_many_attributes").arg(XmlAttributeCount::MaxPerElement);
        return false;
    case XmlAttributeCount::DefaultsTooLarge:
        mLoadError = Message("id_defaults_too_large").arg(FileLimits::MaxXmlBytes);
        return false;
    case XmlAttributeCount::Fits:
        break;
    }
    if (!ReadDocument(bytes)) {
        mLoadError = XmlAttributeCount::DeclaresEntityPastExpansionLimit(bytes)
                         ? Message("id_entity_too_long").arg(XmlAttributeCount::EntityExpansionLimit())
                         : Message("id_not_well_formed");
        return false;
    }
    return true;
}

void CXmlFile::BuildDom() const
{
    if (!mpTree)
        return;
    // The cursor's place: its position among the child elements at each level below the root.
    QList<int> positions;
    for (int element = mTreeCursor; element >= 0 && mpTree->At(element).parent >= 0;
         element = mpTree->At(element).parent)
        positions.prepend(mpTree->PositionOf(element));
    const bool noCursor = mTreeCursor < 0;
    mpTree.reset();
    // The same bytes through the plain reader: the document the toolkit would have read.
    mpDocument = std::make_unique<QDomDocument>();
    if (!PlainXml::BuildDocument(mSource, *mpDocument, XmlNesting::MaxDepth))
        mpDocument = ToolkitDocument(mSource);
    mSource.clear();
    if (!mpDocument || noCursor)
        return;
    QDomNode node = mpDocument->documentElement();
    for (int position : std::as_const(positions)) {
        QDomNode child = node.firstChild();
        for (; !child.isNull(); child = child.nextSibling()) {
            if (child.isElement() && position-- == 0)
                break;
        }
        node = child;
    }
    mCursor = node;
}

QDomDocument* CXmlFile::Document() const
{
    BuildDom();
    return mpDocument.get();
}

QDomNode& CXmlFile::Cursor() const
{
    BuildDom();
    return mCursor;
}

bool CXmlFile::CreateDocument(const QString& tag)
{
    DropDocument();
    auto document = std::make_unique<QDomDocument>(tag);
    QDomElement root = document->createElement(tag);
    const bool appended = !document->appendChild(root).isNull();
    mpDocument = std::move(document);
    mCursor = mpDocument->documentElement();
    return appended;
}

bool CXmlFile::Save(const QString& path, QString* reason)
{
    if (!Document() || Document()->isNull() || path.isEmpty())
        return false;
    // Encoded in memory as a file stream would encode it (the prolog's encoding), then written in one checked go:
    // a cut write never leaves half a file in place of the one it replaces.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextStream stream(&buffer);
    Document()->save(stream, 0);
    stream.flush();
    if (stream.status() != QTextStream::Ok)
        return false;
    return WriteBytesSafely(path, bytes, reason);
}

bool CXmlFile::HasDocument() const
{
    return mpTree || mpDocument;
}

QDomNode CXmlFile::GetRootElement() const
{
    if (!Document())
        return QDomNode();
    return Document()->documentElement();
}

QDomNode CXmlFile::GetCurrentNode() const
{
    return Cursor();
}

bool CXmlFile::AddElement(const QString& tag)
{
    if (!Document() || Cursor().isNull() || FindElement(tag, false, 0))
        return false;
    return !mCursor.appendChild(mpDocument->createElement(tag)).isNull();
}

bool CXmlFile::RemoveElement(const QString& tag)
{
    BuildDom();
    const QDomElement found = FindNode(tag, false, 0);
    if (found.isNull() || found == mCursor)
        return false;
    return !found.parentNode().removeChild(found).isNull();
}

bool CXmlFile::SetIntAttribute(const QString& name, int value)
{
    return Document() && WriteIntAttribute(name, value);
}

bool CXmlFile::SetFloatAttribute(const QString& name, float value)
{
    return Document() && WriteFloatAttribute(name, value);
}

bool CXmlFile::SetStringAttribute(const QString& name, const QString& value)
{
    return Document() && WriteStringAttribute(name, value);
}

bool CXmlFile::WriteIntAttribute(const QString& name, int value)
{
    return WriteStringAttribute(name, QString::number(value));
}

bool CXmlFile::WriteFloatAttribute(const QString& name, float value)
{
    return WriteStringAttribute(name, FloatToText(value));
}

bool CXmlFile::WriteStringAttribute(const QString& name, const QString& value)
{
    QDomElement element = Cursor().toElement();
    if (!element.isNull())
        element.setAttribute(name, value);
    return true;
}
