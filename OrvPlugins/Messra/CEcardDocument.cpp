#include "CEcardDocument.h"
#include "Text/EcardText.h"
#include "Xml/XmlNesting.h"
#include <QDomElement>
#include <QDomProcessingInstruction>

CEcardDocument::CEcardDocument(const QString& rootTag) : mRootTag(rootTag) {}

bool CEcardDocument::SetContent(const QByteArray& bytes)
{
    mCursor = QDomNode();
    mTextEncoding.SetUnknown();
    mIsNestedTooDeeply = false;
    const QString text = DecodeEcardBytes(bytes);
    if (text.isNull())
        return false;
    // The DOM spends time quadratic in the depth: a card needs two levels.
    mIsNestedTooDeeply = XmlNesting::TooDeep(text);
    if (mIsNestedTooDeeply)
        return false;
    return bool(mDocument.setContent(text, false));
}

bool CEcardDocument::Check(QString& message)
{
    const QDomNode prolog = mDocument.firstChild();
    if (prolog.isNull()) {
        message = QStringLiteral("Can't find xml prolog\n");
        return false;
    }
    if (prolog.nodeName() != QLatin1String("xml")) {
        message = QStringLiteral("Can't find 'xml' node in prolog\n");
        return false;
    }
    const QString data = prolog.toProcessingInstruction().data();
    if (!data.contains(QLatin1String("encoding"))) {
        message = QStringLiteral("Can't find 'encoding' attribute in prolog\n");
        return false;
    }
    mTextEncoding.SetFromCharsetName(data);

    const QDomElement root = mDocument.documentElement();
    if (root.isNull()) {
        message = QStringLiteral("Can't find root element\n");
        return false;
    }
    if (root.tagName() != mRootTag) {
        message = QStringLiteral("Root element tag name is invalid\n");
        return false;
    }
    mCursor = root.firstChild();
    if (mCursor.isNull()) {
        message = QStringLiteral("Can't find child element\n");
        return false;
    }
    return true;
}

bool CEcardDocument::ReadCurrentItem(CEcardItem& item) const
{
    if (mCursor.isNull()) {
        item = CEcardItem();
        return true;
    }
    if (mCursor.isElement()) {
        const QDomElement element = mCursor.toElement();
        if (element.tagName() != QLatin1String("IE"))
            return false;
        item.setType(element.attribute(QStringLiteral("TYPE")));
        item.setSType(element.attribute(QStringLiteral("STYPE")));
        item.setRef(element.attribute(QStringLiteral("REF")));
        return !item.getType().isEmpty() && !item.getSType().isEmpty() && !item.getRef().isEmpty();
    }
    if (mCursor.isText()) {
        item.setType(QStringLiteral("TXT"));
        item.setSType(QString());
        item.setRef(mCursor.toText().data());
        return true;
    }
    return false;
}

bool CEcardDocument::Next()
{
    if (!mCursor.isNull())
        mCursor = mCursor.nextSibling();
    return !mCursor.isNull();
}

QString CEcardDocument::DescribeCurrent() const
{
    if (mCursor.isElement())
        return QLatin1Char('<') + mCursor.nodeName() + QLatin1Char('>');
    return mCursor.nodeName();
}
