#pragma once
#include "Import/CEcardItem.h"
#include "Text/CSourceEncodingType.h"
#include "Xml/XmlRootChildren.h"
#include <QByteArray>
#include <QString>
#include <memory>

// Reads an e-card: checks the prolog and the root, takes the text encoding
// from the prolog, then walks the root's children as items, one at a time, as
// the toolkit's DOM would give them. No document is built: a card of millions
// of entries takes the memory of one.
class CEcardDocument
{
public:
    explicit CEcardDocument(const QString& rootTag);

    // False when the bytes are not well-formed XML, are nested deeper than
    // any e-card, hold too many attributes on an element or in the document
    // type, or declare defaults that would add more bytes than an e-card may
    // hold (IsNestedTooDeeply, HasTooManyAttributes and HasTooLargeDefaults
    // tell those cases apart).
    bool SetContent(const QByteArray& bytes);
    bool IsNestedTooDeeply() const { return mIsNestedTooDeeply; }
    bool HasTooManyAttributes() const { return mRefusal == XmlAttributeCount::TooManyAttributes; }
    bool HasTooLargeDefaults() const { return mRefusal == XmlAttributeCount::DefaultsTooLarge; }
    // The card was refused by the reader for an entity longer than it expands.
    bool HasTooLongEntity() const { return mHasTooLongEntity; }
    // Prolog and root checks; on success the cursor is on the root's first child.
    bool Check(QString& message);

    bool IsAtEnd() const { return !mpItems || mpItems->Child().kind == CXmlRootChildren::Node::None; }
    // False for a child that is neither an "IE" element with TYPE, STYPE and REF nor text.
    bool ReadCurrentItem(CEcardItem& item) const;
    bool Next();
    // A short name of the current child for messages: its tag, or the kind of node.
    QString DescribeCurrent() const;

    const CSourceEncodingType& GetTextEncoding() const { return mTextEncoding; }

private:
    QString mRootTag;
    // The card as text, and what one reading of all of it found.
    QString mText;
    CXmlRootChildren::Node mFirstNode;
    QString mDocumentRootTag;
    bool mRootHasChild = false;
    // The walk over the items, from Check on.
    std::unique_ptr<CXmlRootChildren> mpItems;
    CSourceEncodingType mTextEncoding;
    bool mIsNestedTooDeeply = false;
    XmlAttributeCount::Verdict mRefusal = XmlAttributeCount::Fits;
    bool mHasTooLongEntity = false;
};
