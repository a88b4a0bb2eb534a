#include "Xml/CXmlFile.h"
#include "Util/BoundedFileRead.h"
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

// Our own files take the quick plain reader; anything it declines goes to the
// toolkit's reader, whose answer stands. The depth check comes first there:
// the toolkit's DOM takes time quadratic in the nesting.
std::unique_ptr<QDomDocument> ParseDocument(const QByteArray& bytes)
{
    auto document = std::make_unique<QDomDocument>();
    if (PlainXml::BuildDocument(bytes, *document, XmlNesting::MaxDepth))
        return document;
    document = std::make_unique<QDomDocument>();
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
    mCursor.clear();
    mpDocument.reset();
    mSource.clear();
    mReleased = false;
    mReleasedCursor.clear();
}

void CXmlFile::MarkChanged()
{
    Restore();
    mSource.clear();
}

void CXmlFile::ReleaseDocument()
{
    if (mReleased || !mpDocument || mSource.isNull())
        return;
    // The cursor's place as child positions from the document down.
    mReleasedCursor.clear();
    mReleasedCursorNull = mCursor.isNull();
    for (QDomNode node = mCursor; !node.isNull() && !node.parentNode().isNull(); node = node.parentNode()) {
        int position = 0;
        for (QDomNode before = node.previousSibling(); !before.isNull(); before = before.previousSibling())
            ++position;
        mReleasedCursor.prepend(position);
    }
    mCursor.clear();
    mpDocument.reset();
    mReleased = true;
}

void CXmlFile::Restore() const
{
    if (!mReleased)
        return;
    mReleased = false;
    // The same bytes through the same reader: the same document.
    mpDocument = ParseDocument(mSource);
    if (!mpDocument) {
        mSource.clear();
        return;
    }
    if (mReleasedCursorNull)
        return;
    QDomNode node = *mpDocument;
    for (const int position : std::as_const(mReleasedCursor))
        node = node.childNodes().at(position);
    mCursor = node;
}

QDomDocument* CXmlFile::Document() const
{
    Restore();
    return mpDocument.get();
}

QDomNode& CXmlFile::Cursor() const
{
    Restore();
    return mCursor;
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
    std::unique_ptr<QDomDocument> document = ParseDocument(bytes);
    if (!document) {
        mLoadError = QStringLiteral("is not a well-formed XML file");
        return false;
    }
    mpDocument = std::move(document);
    mSource = bytes;
    mCursor = mpDocument->documentElement();
    return true;
}

bool CXmlFile::LoadFromData(const QByteArray& data)
{
    DropDocument();
    std::unique_ptr<QDomDocument> document = ParseDocument(data);
    if (!document)
        return false;
    mpDocument = std::move(document);
    mSource = data;
    mCursor = mpDocument->documentElement();
    return true;
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
    return mReleased || mpDocument != nullptr;
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
    return !FindNode(path, fromRoot, index).isNull();
}

bool CXmlFile::GoToElement(const QString& path, bool fromRoot, int index)
{
    const QDomElement found = FindNode(path, fromRoot, index);
    if (found.isNull())
        return false;
    Cursor() = found;
    return true;
}

bool CXmlFile::GoToChild(int n)
{
    if (n < 0)
        return false;
    for (QDomNode child = Cursor().firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        if (n == 0) {
            Cursor() = child;
            return true;
        }
        --n;
    }
    return false;
}

bool CXmlFile::GoToLastChildElement(const QString& tag)
{
    for (QDomNode child = Cursor().lastChild(); !child.isNull(); child = child.previousSibling()) {
        if (child.isElement() && (tag.isNull() || child.toElement().tagName() == tag)) {
            Cursor() = child;
            return true;
        }
    }
    return false;
}

bool CXmlFile::GoToPreviousSiblingElement(const QString& tag)
{
    if (Cursor().isNull() || IsRoot(Cursor()))
        return false;
    for (QDomNode sibling = Cursor().previousSibling(); !sibling.isNull(); sibling = sibling.previousSibling()) {
        if (sibling.isElement() && (tag.isNull() || sibling.toElement().tagName() == tag)) {
            Cursor() = sibling;
            return true;
        }
    }
    return false;
}

bool CXmlFile::GoToParent()
{
    if (Cursor().isNull() || IsRoot(Cursor()))
        return false;
    Cursor() = Cursor().parentNode();
    return true;
}

QString CXmlFile::GetPath() const
{
    QString path;
    for (QDomNode node = Cursor(); node.isElement() && !IsRoot(node); node = node.parentNode())
        path.prepend(node.toElement().tagName() + kPathSeparator);
    return path;
}

QString CXmlFile::GetTagName() const
{
    if (Cursor().isNull() || IsRoot(Cursor()))
        return QString();
    return Cursor().toElement().tagName();
}

int CXmlFile::CountElements(const QString& tag) const
{
    int count = 0;
    for (QDomNode child = Cursor().firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isElement() && (tag.isNull() || child.toElement().tagName() == tag))
            ++count;
    }
    return count;
}

int CXmlFile::CountAttributes() const
{
    return Cursor().isElement() ? Cursor().attributes().count() : 0;
}

bool CXmlFile::AddElement(const QString& tag)
{
    MarkChanged();
    if (!Document() || Cursor().isNull() || FindElement(tag, false, 0))
        return false;
    return !Cursor().appendChild(Document()->createElement(tag)).isNull();
}

bool CXmlFile::RemoveElement(const QString& tag)
{
    MarkChanged();
    const QDomElement found = FindNode(tag, false, 0);
    if (found.isNull() || found == Cursor())
        return false;
    return !found.parentNode().removeChild(found).isNull();
}

bool CXmlFile::HasAttribute(const QString& name) const
{
    return Cursor().isElement() && Cursor().toElement().hasAttribute(name);
}

bool CXmlFile::GetStringAttribute(const QString& name, QString& value) const
{
    if (!Cursor().isElement())
        return false;
    // One look-up finds the attribute and its value.
    const QDomAttr attribute = Cursor().toElement().attributeNode(name);
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
    MarkChanged();
    return WriteStringAttribute(name, QString::number(value));
}

bool CXmlFile::WriteFloatAttribute(const QString& name, float value)
{
    MarkChanged();
    return WriteStringAttribute(name, FloatToText(value));
}

bool CXmlFile::WriteStringAttribute(const QString& name, const QString& value)
{
    MarkChanged();
    QDomElement element = Cursor().toElement();
    if (!element.isNull())
        element.setAttribute(name, value);
    return true;
}
