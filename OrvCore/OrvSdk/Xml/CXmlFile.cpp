#include "Xml/CXmlFile.h"
#include "Util/BoundedFileRead.h"
#include "Xml/PlainXmlElements.h"
#include "Xml/PlainXmlReader.h"
#include "Xml/XmlNesting.h"

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QTextStream>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {
const QChar kPathSeparator = QLatin1Char('.');

bool IsRoot(const QDomNode& node)
{
    return !node.parentNode().isElement();
}

// The files were written for a 32-bit long: anything beyond it does not convert.
int32_t TextToInt32(const QString& text)
{
    bool converts = false;
    const int32_t value = text.toInt(&converts, 10);
    return converts ? value : 0;
}

// A decimal text as the nearest float. Texts that round to the largest finite
// float (the files write it as 3.40282347e+38) convert; beyond that they do not.
bool ConvertFloat(const QString& text, float& value)
{
    bool converts = false;
    const double number = text.toDouble(&converts);
    if (!converts)
        return false;
    const double magnitude = std::fabs(number);
    if (std::isfinite(number) && magnitude > double(FLT_MAX)) {
        // Half an ulp above FLT_MAX rounds to infinity.
        if (magnitude >= double(FLT_MAX) + std::ldexp(1.0, 103))
            return false;
        value = number > 0 ? FLT_MAX : -FLT_MAX;
        return true;
    }
    value = float(number);
    return true;
}

float TextToFloat(const QString& text)
{
    float value = 0.0f;
    return ConvertFloat(text, value) ? value : 0.0f;
}

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

// Attribute texts read back as present-but-empty must not look missing.
QString NonNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
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
    if (!LoadFromData(bytes)) {
        mLoadError = QStringLiteral("is not a well-formed XML file");
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

bool CXmlFile::Save(const QString& path)
{
    if (!Document() || Document()->isNull())
        return false;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream stream(&file);
    Document()->save(stream, 0);
    stream.flush();
    const bool written = stream.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
    file.close();
    return written;
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

bool CXmlFile::TreeCursorIsRoot() const
{
    return mTreeCursor < 0 || mpTree->At(mTreeCursor).parent < 0;
}

int CXmlFile::FindTreeElement(const QString& path, bool fromRoot, int index) const
{
    int current = fromRoot ? 0 : mTreeCursor;
    if (current < 0)
        return -1;
    QString rest = path;
    while (!rest.isEmpty()) {
        // Inner components take their first match; only the last one counts by index.
        const int separator = rest.indexOf(kPathSeparator);
        const bool last = separator < 0;
        const QString component = last ? rest : rest.left(separator);
        rest = last ? QString() : rest.mid(separator + 1);

        int match = -1;
        for (int child = mpTree->At(current).firstChild; child >= 0; child = mpTree->At(child).next) {
            if (mpTree->At(child).tag != component)
                continue;
            if (!last || index == 0) {
                match = child;
                break;
            }
            --index;
        }
        if (match < 0)
            return -1;
        current = match;
    }
    return current;
}

QDomElement CXmlFile::FindNode(const QString& path, bool fromRoot, int index) const
{
    QDomElement current = fromRoot ? GetRootElement().toElement() : Cursor().toElement();
    if (current.isNull())
        return QDomElement();
    QString rest = path;
    while (!rest.isEmpty()) {
        // Inner components take their first match; only the last one counts by index.
        const int separator = rest.indexOf(kPathSeparator);
        const bool last = separator < 0;
        const QString component = last ? rest : rest.left(separator);
        rest = last ? QString() : rest.mid(separator + 1);

        QDomElement match;
        for (QDomNode child = current.firstChild(); !child.isNull(); child = child.nextSibling()) {
            if (!child.isElement() || child.toElement().tagName() != component)
                continue;
            if (!last || index == 0) {
                match = child.toElement();
                break;
            }
            --index;
        }
        if (match.isNull())
            return QDomElement();
        current = match;
    }
    return current;
}

bool CXmlFile::FindElement(const QString& path, bool fromRoot, int index) const
{
    if (InTree())
        return FindTreeElement(path, fromRoot, index) >= 0;
    return !FindNode(path, fromRoot, index).isNull();
}

bool CXmlFile::GoToElement(const QString& path, bool fromRoot, int index)
{
    if (InTree()) {
        const int found = FindTreeElement(path, fromRoot, index);
        if (found < 0)
            return false;
        mTreeCursor = found;
        return true;
    }
    const QDomElement found = FindNode(path, fromRoot, index);
    if (found.isNull())
        return false;
    mCursor = found;
    return true;
}

bool CXmlFile::GoToChild(int n)
{
    if (n < 0)
        return false;
    if (InTree()) {
        if (mTreeCursor < 0)
            return false;
        for (int child = mpTree->At(mTreeCursor).firstChild; child >= 0; child = mpTree->At(child).next) {
            if (n-- == 0) {
                mTreeCursor = child;
                return true;
            }
        }
        return false;
    }
    for (QDomNode child = mCursor.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        if (n == 0) {
            mCursor = child;
            return true;
        }
        --n;
    }
    return false;
}

bool CXmlFile::GoToLastChildElement(const QString& tag)
{
    if (InTree()) {
        if (mTreeCursor < 0)
            return false;
        for (int child = mpTree->At(mTreeCursor).lastChild; child >= 0; child = mpTree->At(child).previous) {
            if (tag.isNull() || mpTree->At(child).tag == tag) {
                mTreeCursor = child;
                return true;
            }
        }
        return false;
    }
    for (QDomNode child = mCursor.lastChild(); !child.isNull(); child = child.previousSibling()) {
        if (child.isElement() && (tag.isNull() || child.toElement().tagName() == tag)) {
            mCursor = child;
            return true;
        }
    }
    return false;
}

bool CXmlFile::GoToPreviousSiblingElement(const QString& tag)
{
    if (InTree()) {
        if (TreeCursorIsRoot())
            return false;
        for (int sibling = mpTree->At(mTreeCursor).previous; sibling >= 0; sibling = mpTree->At(sibling).previous) {
            if (tag.isNull() || mpTree->At(sibling).tag == tag) {
                mTreeCursor = sibling;
                return true;
            }
        }
        return false;
    }
    if (mCursor.isNull() || IsRoot(mCursor))
        return false;
    for (QDomNode sibling = mCursor.previousSibling(); !sibling.isNull(); sibling = sibling.previousSibling()) {
        if (sibling.isElement() && (tag.isNull() || sibling.toElement().tagName() == tag)) {
            mCursor = sibling;
            return true;
        }
    }
    return false;
}

bool CXmlFile::GoToParent()
{
    if (InTree()) {
        if (TreeCursorIsRoot())
            return false;
        mTreeCursor = mpTree->At(mTreeCursor).parent;
        return true;
    }
    if (mCursor.isNull() || IsRoot(mCursor))
        return false;
    mCursor = mCursor.parentNode();
    return true;
}

QString CXmlFile::GetPath() const
{
    QString path;
    if (InTree()) {
        for (int element = mTreeCursor; element >= 0 && mpTree->At(element).parent >= 0;
             element = mpTree->At(element).parent)
            path.prepend(mpTree->At(element).tag + kPathSeparator);
        return path;
    }
    for (QDomNode node = mCursor; node.isElement() && !IsRoot(node); node = node.parentNode())
        path.prepend(node.toElement().tagName() + kPathSeparator);
    return path;
}

QString CXmlFile::GetTagName() const
{
    if (InTree())
        return TreeCursorIsRoot() ? QString() : mpTree->At(mTreeCursor).tag;
    if (mCursor.isNull() || IsRoot(mCursor))
        return QString();
    return mCursor.toElement().tagName();
}

int CXmlFile::CountElements(const QString& tag) const
{
    int count = 0;
    if (InTree()) {
        if (mTreeCursor < 0)
            return 0;
        for (int child = mpTree->At(mTreeCursor).firstChild; child >= 0; child = mpTree->At(child).next) {
            if (tag.isNull() || mpTree->At(child).tag == tag)
                ++count;
        }
        return count;
    }
    for (QDomNode child = mCursor.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isElement() && (tag.isNull() || child.toElement().tagName() == tag))
            ++count;
    }
    return count;
}

int CXmlFile::CountAttributes() const
{
    if (InTree())
        return mTreeCursor < 0 ? 0 : int(mpTree->At(mTreeCursor).attributes.size());
    return mCursor.isElement() ? mCursor.attributes().count() : 0;
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

bool CXmlFile::HasAttribute(const QString& name) const
{
    if (InTree())
        return mTreeCursor >= 0 && mpTree->FindAttribute(mTreeCursor, name);
    return mCursor.isElement() && mCursor.toElement().hasAttribute(name);
}

bool CXmlFile::GetStringAttribute(const QString& name, QString& value) const
{
    if (InTree()) {
        const QString* found = mTreeCursor >= 0 ? mpTree->FindAttribute(mTreeCursor, name) : nullptr;
        if (!found)
            return false;
        value = NonNull(*found);
        return true;
    }
    if (!mCursor.isElement())
        return false;
    // One look-up finds the attribute and its value.
    const QDomAttr attribute = mCursor.toElement().attributeNode(name);
    if (attribute.isNull())
        return false;
    value = NonNull(attribute.value());
    return true;
}
bool CXmlFile::GetLongAttribute(const QString& name, long& value) const
{
    QString text;
    if (!GetStringAttribute(name, text))
        return false;
    value = TextToInt32(text);
    return true;
}

bool CXmlFile::GetFloatAttribute(const QString& name, float& value) const
{
    QString text;
    if (!GetStringAttribute(name, text))
        return false;
    value = TextToFloat(text);
    return true;
}

bool CXmlFile::GetAttributeType(const QString& name, int& kind) const
{
    QString text;
    if (!GetStringAttribute(name, text))
        return false;
    float number = 0.0f;
    if (ConvertFloat(text, number)) {
        kind = 1;
        return true;
    }
    bool converts = false;
    text.toInt(&converts, 10);
    kind = converts ? 0 : 2;
    return true;
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
