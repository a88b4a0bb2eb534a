#include "Import/CEcardDocument.h"
#include "Import/EcardEntries.h"
#include "Text/EcardText.h"
#include "Util/BoundedFileRead.h"

using Node = CXmlRootChildren::Node;

CEcardDocument::CEcardDocument(const QString& rootTag) : mRootTag(rootTag) {}

bool CEcardDocument::SetContent(const QByteArray& bytes)
{
    mpItems.reset();
    mTextEncoding.SetUnknown();
    mIsNestedTooDeeply = false;
    mRefusal = XmlAttributeCount::Fits;
    mHasTooLongEntity = false;
    mFirstNode = Node();
    mDocumentRootTag.clear();
    mRootHasChild = false;
    mText = DecodeEcardBytes(bytes);
    if (mText.isNull())
        return false;
    // All of the card is read before any item is taken: a card that is not well-formed gives none.
    CXmlRootChildren card(mText, FileLimits::MaxMessageSourceBytes);
    bool wellFormed = card.ReadRoot();
    if (wellFormed) {
        mRootHasChild = card.ReadChild();
        wellFormed = card.ReadToEnd();
    }
    mIsNestedTooDeeply = card.IsTooDeep();
    mRefusal = card.Refusal();
    if (!wellFormed) {
        mHasTooLongEntity = mRefusal == XmlAttributeCount::Fits && !mIsNestedTooDeeply
                            && XmlAttributeCount::DeclaresEntityPastExpansionLimit(mText);
        return false;
    }
    mFirstNode = card.FirstNode();
    mDocumentRootTag = card.RootTag();
    return true;
}

bool CEcardDocument::Check(QString& message)
{
    mpItems.reset();
    if (mFirstNode.kind == Node::None) {
        message = QStringLiteral("Can't find xml prolog\n");
        return false;
    }
    if (mFirstNode.name != QLatin1String("xml")) {
        message = QStringLiteral("Can't find 'xml' node in prolog\n");
        return false;
    }
    // An element named "xml" has no instruction data.
    const QString data = mFirstNode.kind == Node::Instruction ? mFirstNode.text : QString();
    if (!data.contains(QLatin1String("encoding"))) {
        message = QStringLiteral("Can't find 'encoding' attribute in prolog\n");
        return false;
    }
    mTextEncoding.SetFromCharsetName(data);

    if (mDocumentRootTag.isEmpty()) {
        message = QStringLiteral("Can't find root element\n");
        return false;
    }
    if (mDocumentRootTag != mRootTag) {
        message = QStringLiteral("Root element tag name is invalid\n");
        return false;
    }
    if (!mRootHasChild) {
        message = QStringLiteral("Can't find child element\n");
        return false;
    }
    mpItems = std::make_unique<CXmlRootChildren>(mText, FileLimits::MaxMessageSourceBytes);
    mpItems->ReadRoot();
    mpItems->ReadChild();
    return true;
}

bool CEcardDocument::ReadCurrentItem(CEcardItem& item) const
{
    if (IsAtEnd()) {
        item = CEcardItem();
        return true;
    }
    EcardEntries::CEntry entry;
    const bool read = EcardEntries::Read(mpItems->Child(), entry);
    item.setType(entry.type);
    item.setSType(entry.stype);
    item.setRef(entry.ref);
    return read;
}

bool CEcardDocument::Next()
{
    if (!IsAtEnd())
        mpItems->ReadChild();
    return !IsAtEnd();
}

QString CEcardDocument::DescribeCurrent() const
{
    if (IsAtEnd())
        return QString();
    const Node& node = mpItems->Child();
    switch (node.kind) {
    case Node::Element:
        return QLatin1Char('<') + node.name + QLatin1Char('>');
    case Node::Text:
        return node.cdata ? QStringLiteral("#cdata-section") : QStringLiteral("#text");
    case Node::Comment:
        return QStringLiteral("#comment");
    default:
        // An instruction by its target, an entity reference by its name, as the DOM names them.
        return node.name;
    }
}
