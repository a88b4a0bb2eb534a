// The cursor's reads: walks over the elements and the attributes of the one
// under the cursor, on the element tree while the document has one, else on
// the DOM. Both answer alike.
#include "Xml/CXmlFile.h"
#include "Xml/PlainXmlElements.h"

#include <QDomDocument>
#include <QDomElement>

#include <cfloat>
#include <cmath>
#include <cstdint>

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

// Attribute texts read back as present-but-empty must not look missing.
QString NonNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}
// Follows a path of tags down from an element, on the tree or on the DOM:
// inner components take their first match, only the last one counts by index.
// nthChild(element, tag, n) gives the n-th child element of that tag or none.
template <typename Element, typename NthChild>
Element FollowPath(Element current, const Element& none, const QString& path, int index, NthChild nthChild)
{
    QString rest = path;
    while (!rest.isEmpty()) {
        const int separator = rest.indexOf(kPathSeparator);
        const bool last = separator < 0;
        const QString component = last ? rest : rest.left(separator);
        rest = last ? QString() : rest.mid(separator + 1);
        current = nthChild(current, component, last ? index : 0);
        if (current == none)
            return none;
    }
    return current;
}
} // namespace

bool CXmlFile::TreeCursorIsRoot() const
{
    return mTreeCursor < 0 || mpTree->At(mTreeCursor).parent < 0;
}

int CXmlFile::FindTreeElement(const QString& path, bool fromRoot, int index) const
{
    const int start = fromRoot ? 0 : mTreeCursor;
    if (start < 0)
        return -1;
    return FollowPath(start, -1, path, index, [this](int parent, const QString& tag, int skip) {
        for (int child = mpTree->At(parent).firstChild; child >= 0; child = mpTree->At(child).next) {
            if (mpTree->At(child).tag == tag && skip-- == 0)
                return child;
        }
        return -1;
    });
}

QDomElement CXmlFile::FindNode(const QString& path, bool fromRoot, int index) const
{
    const QDomElement start = fromRoot ? GetRootElement().toElement() : Cursor().toElement();
    if (start.isNull())
        return QDomElement();
    return FollowPath(start, QDomElement(), path, index, [](const QDomElement& parent, const QString& tag, int skip) {
        for (QDomNode child = parent.firstChild(); !child.isNull(); child = child.nextSibling()) {
            if (child.isElement() && child.toElement().tagName() == tag && skip-- == 0)
                return child.toElement();
        }
        return QDomElement();
    });
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
