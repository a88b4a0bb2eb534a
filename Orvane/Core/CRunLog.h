#pragma once
#include "Util/FileIdentity.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDateTime;
class QFile;

// The run log of one run: the file every step of a run is written to, each text flushed at once. Texts written
// before it is opened are held and written first: start-up reads its files before the log may empty one. When the
// log cannot be created, or the disk refuses a write, the log says so once on standard error and from then on
// writes its texts there, so nothing a run reports is lost. A log that still holds nothing when it is closed, and
// that this run created, is removed: a window opened and closed without a conversion leaves no file behind, and
// neither does a run ended by a stopping signal (Util/StopSignals.h). A name given as a link to nothing creates the
// file the link names, and only that file goes; the link stays. A file is created only exclusively: one that
// appears meanwhile is taken as the existing file it is, never removed. A file of a kernel file system (/proc,
// /sys) keeps no lines: it is refused like a device, and the lines go to standard error.
class CRunLog
{
public:
    CRunLog() = default;
    ~CRunLog();
    CRunLog(const CRunLog&) = delete;
    CRunLog& operator=(const CRunLog&) = delete;

    // Why the file opened may not be the log (it is a file the run reads, or one of the program's); empty when it
    // may. created: the log did not exist and this run created it.
    using Guard = std::function<QString(const FileIdentity& opened, bool created)>;

    // Creates the log in folder: the user's name or, when it is empty, a new file named for the moment ("_2",
    // "_3"... when that name is taken), and writes the texts held so far. A user's name is opened first, without
    // emptying it; guard (when given) is asked about the file opened, which a name swapped meanwhile cannot change,
    // and only then is an existing plain file emptied. A file the run created is shown to guard too, and removed
    // when refused. False, said on standard error, when guard refuses the file (which keeps its bytes:
    // IsRefused), or the log cannot be created or its name cannot be read in the system's character set: the
    // texts then go to standard error.
    bool Open(const QString& folder, const QString& userName, const QDateTime& moment, const Guard& guard = Guard());
    // The last Open was refused by its guard.
    bool IsRefused() const { return m_Refused; }
    // Appends the text as it stands.
    void Write(const QString& text);
    // Ends the log, removing it when it is empty and this run created it. Texts still held go to standard error;
    // later ones go nowhere.
    void Close();

    bool IsOpen() const { return m_pFile != nullptr; }
    // The name as the user gave it or as it was made; empty before Open.
    const QString& GetFileName() const { return m_FileName; }
    // The absolute path of the open log; empty when none is open.
    QString GetFilePath() const;

    // "Logfile" + "dd_MM_yyyy" + "_" + "hh_mm_ss" + ".log".
    static QString MakeFileName(const QDateTime& moment);
    // The text on standard error, with a line feed.
    static void SayOnStandardError(const QString& text);
    // Tests only: hook runs between the open that found no file at the end of a link and the open that creates it.
    static void SetBeforeCreating(std::function<void()> hook);
    // A message of the application's class about its log, with its arguments. A start without the language file
    // is fatal but still writes its report to the log, and may refuse or fail to open it: the text is then the
    // id followed by the arguments.
    static QString Message(const char* id, const QStringList& arguments);

private:
    // Opens the user's file without emptying it, asks guard, then empties it. False when it is refused or fails.
    bool OpenUserFile(QFile& file, const QString& path, const Guard& guard, bool& created);
    // A file that could not be opened for writing, opened to read and asked of guard: true when it refuses it
    // (and has said why).
    bool IsRefusedUnwritable(const QByteArray& name, const Guard& guard);
    // Asks guard about the file at fd that path opened; a refused file that the run created is removed. False,
    // said, when refused.
    bool PassesGuard(const Guard& guard, int fd, const QString& path, bool created);
    // Removes the file at fd, which the run created by path, while path still leads to it.
    static void RemoveCreated(int fd, const QString& path);

    enum Destination
    {
        HELD,
        IN_FILE,
        ON_STANDARD_ERROR,
        NOWHERE
    };
    // From now on the texts go to standard error, after the reason and the texts held so far.
    void TurnToStandardError(const QString& reason);
    // Closes the file, removing it when it is empty and this run created it.
    void EndFile();
    // The run ended by a stopping signal removes the log this run created while it is empty.
    void WatchStopSignals();

    Destination m_Destination = HELD;
    QString m_Held;
    std::unique_ptr<QFile> m_pFile;
    QString m_FileName;
    // The path the log was opened by (a file opened from its descriptor keeps no name).
    QString m_FilePath;
    // The file this run created (links followed), empty when it replaced one; removed at the end when empty.
    QString m_CreatedPath;
    std::optional<FileIdentity> m_CreatedIdentity;
    bool m_WatchesSignals = false;
    bool m_Refused = false;
};
