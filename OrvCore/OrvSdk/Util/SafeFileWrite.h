#pragma once
// Result, preview and debug files are written beside their final name and renamed into place only when
// complete, so a failed or stopped write never leaves a half-written file under the file's name and never
// damages the file it replaces. The program and the plug-ins all write through here.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QFileDevice;
class QImage;

// Lets write fill a new temporary file in the target's folder (it receives that file's path), then renames the
// temporary file to path, replacing any file of that name. A path that is a symbolic link is written through to
// the file it names, and a replaced file keeps its permission bits. False when write fails or the file cannot be
// created or renamed; the temporary file is then removed, an existing file at path is left as it was, and
// reason (when given) says why in the system's words. The temporary file goes on every way out, a write that
// throws included. A run ended by a stopping signal (Util/StopSignals.h) while it exists removes it first; the
// handlers that do so are in place only while a write is in progress (a write inside another one installs
// none of its own), and a signal the run was started with ignored stays ignored.
bool WriteFileSafely(const QString& path, const std::function<bool(const QString& temporaryPath)>& write,
                     QString* reason = nullptr);

// The file at path holds exactly the bytes afterwards, or is untouched when false is returned.
bool WriteBytesSafely(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// The picture encoded in format (a name the toolkit's picture writer knows, such as "BMP") into memory, then
// written as WriteBytesSafely writes: the toolkit's own file writing checks no write and would leave a cut file.
bool WriteImageSafely(const QString& path, const QImage& image, const char* format, QString* reason = nullptr);

// Writes the bytes into the file at path (created or emptied) in place, checking every write and the close: for
// the write function of WriteFileSafely. False with the system's reason.
bool WriteBytesToFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// Adds the bytes at the end of the file at path (created when missing), checking every write and the close. False
// with the system's reason; the bytes already written then stay in the file. A record alive (CWrittenFiles) keeps a
// copy of the file as it was first.
bool AppendBytesToFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// Removes the file at path (never what a link names: the link goes); a record alive keeps it to put back. False when
// it could not be removed.
bool RemoveFileNoted(const QString& path);

// Notes that the folder was just made, for the records alive: a failed source takes it away again when it is empty.
void NoteCreatedFolder(const QString& folder);

// Writes every byte to the open file, going on after a short write: a disk that fills part-way then says why
// in the system's words, where a short write alone carries no reason. False with the reason otherwise.
bool WriteAllBytes(QFileDevice& file, const QByteArray& bytes, QString* reason = nullptr);

// The record of what one source did to files while it lives: every file that WriteFileSafely puts in place (links
// followed), AppendBytesToFile changes or RemoveFileNoted removes, and every folder noted as created, in the program
// and in every plug-in. Until the record ends, a file it replaced, changed or removed is kept beside it under a
// hidden name (a second link to the same file where the file system allows, else a copy), so that a source that
// fails part-way leaves its files as it found them. Records nest: each one alive notes every file.
class CWrittenFiles
{
public:
    CWrittenFiles();
    // What was written stays; the kept old files go.
    ~CWrittenFiles();
    CWrittenFiles(const CWrittenFiles&) = delete;
    CWrittenFiles& operator=(const CWrittenFiles&) = delete;

    // The files written, changed or removed, each once, in the order first noted.
    QStringList Paths() const;
    // Puts every file back as it was when the record began, in the reverse order: a replaced, changed or removed
    // file gets its old bytes back, a created file or (empty) folder goes. Then forgets them all.
    void PutBack();

private:
    friend struct CWrittenFilesNotes;
    struct CEntry
    {
        enum Kind
        {
            CREATED,        // nothing was there: put back by removing it
            KEPT,           // the old file is kept under kept: put back by renaming it into place
            CREATED_FOLDER, // put back by removing it when empty
        };
        QByteArray path; // encoded, so that putting back allocates nothing
        QByteArray kept;
        Kind kind;
        bool changed; // the file was touched (a write that failed before touching it leaves it false)
    };

    QList<CEntry> m_Entries;
    CWrittenFiles* m_pOuter;
    CWrittenFiles** m_ppPlace; // where this record was made the innermost
};

// The place that holds the innermost record alive. Each module (the program and each plug-in) carries its own copy
// of this code; the program hands its place to every plug-in it loads (CPluginBase::ShareWrittenFiles), so that a
// plug-in's writes reach the records of the program, whose guards keep them.
CWrittenFiles** WrittenFilesPlace();
// Makes this module note into the records of place; null: into its own.
void UseWrittenFilesPlace(CWrittenFiles** place);
