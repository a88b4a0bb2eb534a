#pragma once
// One XML document in memory with a cursor element. Every configuration file
// (paths, language, settings, parameters, profiles, batches) goes through it.
// Elements are addressed by tag paths joined by "."; attribute values are text,
// converted by the typed accessors. Failures are results, never exceptions.
#include <QByteArray>
#include <QDomNode>
#include <QString>

#include <memory>

class QDomDocument;

namespace PlainXml {
class ElementTree;
}
class QDomElement;

class CXmlFile
{
public:
    CXmlFile();
    virtual ~CXmlFile();

    CXmlFile(const CXmlFile&) = delete;
    CXmlFile& operator=(const CXmlFile&) = delete;

    // Document. Each loader first drops the current document; a failure leaves none.
    virtual bool Load(const QString& path);
    // Writes the document whole or not at all (through the checked safe write); reason, when given, says why not.
    virtual bool Save(const QString& path, QString* reason = nullptr);
    bool LoadFromData(const QByteArray& data);
    // Why the last Load failed (the file's kind, size or the system's reason, or a malformed document);
    // empty after a successful one.
    const QString& GetLoadError() const { return mLoadError; }
    bool CreateDocument(const QString& tag);
    bool HasDocument() const;
    QDomNode GetRootElement() const;
    QDomNode GetCurrentNode() const;

    // Cursor. Paths are relative to the cursor unless fromRoot; index counts
    // among the matching children of the last path component only.
    bool FindElement(const QString& path, bool fromRoot = false, int index = 0) const;
    bool GoToElement(const QString& path, bool fromRoot = false, int index = 0);
    bool GoToChild(int n);
    // A backward walk over the cursor's child elements of one tag (a null tag:
    // every child element), in one pass instead of one search per index: the
    // last such child, then from a child to the one of that tag before it.
    // On false the cursor stays where it was.
    bool GoToLastChildElement(const QString& tag);
    bool GoToPreviousSiblingElement(const QString& tag);
    // Runs visit() with the cursor on each child element of that tag, last
    // first, then puts the cursor back on the parent. visit() leaves the cursor
    // where it found it; its first false ends the walk with false.
    template <typename Visit>
    bool ForEachChildBackwards(const QString& tag, Visit visit)
    {
        if (!GoToLastChildElement(tag))
            return true;
        do {
            if (!visit())
                return false;
        } while (GoToPreviousSiblingElement(tag));
        GoToParent();
        return true;
    }
    bool GoToParent();
    QString GetPath() const;
    QString GetTagName() const;
    // A null tag (QString()) counts every child element; an empty one counts none.
    int CountElements(const QString& tag = QString()) const;
    int CountAttributes() const;
    bool AddElement(const QString& tag);
    // True when an element was removed.
    bool RemoveElement(const QString& tag);

    // Attributes of the cursor element.
    bool HasAttribute(const QString& name) const;
    bool GetStringAttribute(const QString& name, QString& value) const;
    // Read as a signed 32-bit decimal; text that does not convert reads as 0.
    bool GetLongAttribute(const QString& name, long& value) const;
    // Read as a 32-bit float; text that does not convert reads as 0.
    bool GetFloatAttribute(const QString& name, float& value) const;
    // kind: 1 converts as a float, 0 as an integer, 2 neither.
    bool GetAttributeType(const QString& name, int& kind) const;
    bool SetIntAttribute(const QString& name, int value);
    bool SetFloatAttribute(const QString& name, float value);
    bool SetStringAttribute(const QString& name, const QString& value);
    // The same writes without the document check; always true.
    bool WriteIntAttribute(const QString& name, int value);
    bool WriteFloatAttribute(const QString& name, float value);
    bool WriteStringAttribute(const QString& name, const QString& value);

protected:
    // For readers of a loaded document that refuse what they find in it.
    void SetLoadError(const QString& error) { mLoadError = error; }

private:
    void DropDocument();
    // Reads the bytes into the element tree, else the toolkit's DOM; the caller has checked their attributes.
    bool ReadDocument(const QByteArray& data);
    // Builds the DOM of a document read into its element tree, the cursor on
    // the same element, and lets the tree go: from then on the DOM is the document.
    void BuildDom() const;
    QDomDocument* Document() const;
    QDomNode& Cursor() const;
    QDomElement FindNode(const QString& path, bool fromRoot, int index) const;
    int FindTreeElement(const QString& path, bool fromRoot, int index) const;
    bool InTree() const { return mpTree != nullptr; }
    bool TreeCursorIsRoot() const;

    // A plain document is read into its element tree, which every read of the
    // cursor uses; the DOM is built from the same bytes only when something
    // needs it (a change, a save, a node handed out).
    mutable std::unique_ptr<PlainXml::ElementTree> mpTree;
    int mTreeCursor = -1;
    mutable QByteArray mSource; // what the tree was read from
    mutable std::unique_ptr<QDomDocument> mpDocument;
    mutable QDomNode mCursor;
    QString mLoadError;
};
