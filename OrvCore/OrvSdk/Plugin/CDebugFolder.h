#pragma once
// The "Debug" folder beside a source document that a converter fills with its
// intermediate files. The converter names the only files it writes: those
// alone are removed when the folder is prepared, and whatever else the user
// keeps there stays. Links are never followed and nothing is recursed into.
// Every file is written as results are: whole or not at all, even when the run
// is stopped while it is written. A debug file that cannot be written (a full
// disk, a file size limit, a link or a folder in its place, a folder that
// cannot be made) fails the conversion: the conversion log says which file and
// the system's reason, and HasFailed tells the converter. A file of the run (a
// source, its parameter file, its run log) is never removed or replaced: the
// file is skipped with a line in the conversion log, and the conversion goes on.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class CConversionLog;
class CDocument;
class CRunFiles;

class CDebugFolder
{
public:
    explicit CDebugFolder(QStringList ownFileNames);

    // Makes the folder beside the document's source (creating it, or removing
    // this converter's own regular files from it, one "deleting " debug line
    // each). Nothing when disabled or when the document has no name. Returns
    // the folder, or an empty string when no debug files will be written.
    // runFiles (when given) are kept from harm, and log hears of each file
    // skipped for them; both must outlive the writes that follow.
    QString Prepare(const CDocument* document, bool enabled, const CRunFiles* runFiles = nullptr,
                    CConversionLog* log = nullptr);
    // Writes one file into the prepared folder: never through a link or over
    // something that is not a regular file. False when it could not be written,
    // or the folder could not be made.
    bool Write(const QString& name, const QByteArray& bytes);
    // The same for a file that write fills itself; it is given the path of a
    // new file to fill and returns whether that worked.
    bool WriteWith(const QString& name, const std::function<bool(const QString& file)>& write);
    // A debug file of this conversion (or its folder) could not be written:
    // the conversion fails. Reset by Prepare.
    bool HasFailed() const { return mFailed; }
    // The full path of a file in the prepared folder (empty when none).
    QString FilePath(const QString& name) const;

    bool IsActive() const { return !mFolder.isEmpty(); }
    const QString& GetFolder() const { return mFolder; }

private:
    // Whether path is a file of the run, said in the log when it is.
    bool IsRunFile(const QString& path) const;
    // Says in the log that path cannot be written, and why; the conversion fails.
    bool Fail(const QString& path, const QString& reason);

    QStringList mOwnFileNames;
    QString mFolder;
    const CRunFiles* mpRunFiles = nullptr;
    CConversionLog* mpLog = nullptr;
    bool mFailed = false;
};
