#pragma once
#include "Util/FileIdentity.h"
#include <QString>
#include <memory>
#include <optional>

class QDateTime;
class QFile;

// The run log of one run: the file every step of a run is written to, each text flushed at once. When the disk
// refuses a write, the log says so once on standard error and from then on writes its texts there, so nothing
// a run reports is lost. A log that still holds nothing when it is closed, and that this run created, is
// removed: a window opened and closed without a conversion leaves no file behind. A name given as a link to
// nothing creates the file the link names, and only that file goes; the link stays.
class CRunLog
{
public:
    CRunLog() = default;
    ~CRunLog();
    CRunLog(const CRunLog&) = delete;
    CRunLog& operator=(const CRunLog&) = delete;

    // Creates the log in folder: the user's name (an existing plain file is emptied) or, when it is empty, a new
    // file named for the moment ("_2", "_3"... when that name is taken). False, said on standard error, when it
    // cannot be created or its name cannot be read in the system's character set; the run goes on without a log.
    bool Open(const QString& folder, const QString& userName, const QDateTime& moment);
    // Appends the text as it stands.
    void Write(const QString& text);
    // Ends the log, removing it when it is empty and this run created it.
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

private:
    std::unique_ptr<QFile> m_pFile;
    QString m_FileName;
    // The file this run created (links followed), empty when it replaced one; removed at the end when empty.
    QString m_CreatedPath;
    std::optional<FileIdentity> m_CreatedIdentity;
    bool m_ToStandardError = false;
};
