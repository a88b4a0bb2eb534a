#pragma once
// Result, preview and debug files are written beside their final name and renamed into place only when
// complete, so a failed or stopped write never leaves a half-written file under the file's name and never
// damages the file it replaces. The program and the plug-ins all write through here.
#include <QByteArray>
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

// Writes every byte to the open file, going on after a short write: a disk that fills part-way then says why
// in the system's words, where a short write alone carries no reason. False with the reason otherwise.
bool WriteAllBytes(QFileDevice& file, const QByteArray& bytes, QString* reason = nullptr);

// Notes the file behind every name WriteFileSafely puts in place in this module while it lives (links followed),
// so that a source that fails after writing some of its files can take them back. Records nest: each one alive
// notes every file.
class CWrittenFiles
{
public:
    CWrittenFiles();
    ~CWrittenFiles();
    CWrittenFiles(const CWrittenFiles&) = delete;
    CWrittenFiles& operator=(const CWrittenFiles&) = delete;

    const QStringList& Paths() const { return m_Paths; }
    // Removes every file noted and forgets them.
    void RemoveAll();

private:
    friend void NoteWrittenFile(const QString& path);
    QStringList m_Paths;
    CWrittenFiles* m_pOuter;
};
