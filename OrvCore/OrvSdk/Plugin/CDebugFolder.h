#pragma once
// The "Debug" folder beside a source document that a converter fills with its
// intermediate files. The converter names the only files it writes: those
// alone are removed when the folder is prepared, and whatever else the user
// keeps there stays. Links are never followed, nothing is recursed into, and
// no failure here ever fails a conversion.
#include <QByteArray>
#include <QString>
#include <QStringList>

class CDocument;

class CDebugFolder
{
public:
    explicit CDebugFolder(QStringList ownFileNames);

    // Makes the folder beside the document's source (creating it, or removing
    // this converter's own regular files from it, one "deleting " debug line
    // each). Nothing when disabled or when the document has no name. Returns
    // the folder, or an empty string when no debug files will be written.
    QString Prepare(const CDocument* document, bool enabled);
    // Writes one file into the prepared folder: never through a link or over
    // something that is not a regular file.
    void Write(const QString& name, const QByteArray& bytes) const;
    // The full path of a file in the prepared folder (empty when none).
    QString FilePath(const QString& name) const;

    bool IsActive() const { return !mFolder.isEmpty(); }
    const QString& GetFolder() const { return mFolder; }

private:
    QStringList mOwnFileNames;
    QString mFolder;
};
