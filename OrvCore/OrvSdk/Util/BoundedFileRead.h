#pragma once
// Every file read from outside (sources, settings, profiles, the language file, e-cards and the media they
// name) goes through here: it must be a regular file once links are followed and no larger than the cap of
// its kind, checked before a byte is read, so a device, a FIFO or a huge file can neither block nor exhaust
// memory.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace FileLimits {
// The caps, one per kind of file, in bytes.
constexpr qint64 MaxXmlBytes = qint64(16) * 1024 * 1024;           // settings, profiles, language, batch files
constexpr qint64 MaxMediaSourceBytes = qint64(256) * 1024 * 1024;  // media sources and pictures they name
constexpr qint64 MaxMessageSourceBytes = qint64(16) * 1024 * 1024; // e-cards and what a translator reads
} // namespace FileLimits

namespace BoundedFileRead {
// Why path cannot be read: empty when it is a regular file (after links) of at most cap bytes that can be
// opened; otherwise a short reason in the language file's words ("is a folder", "is a FIFO", "is a broken link",
// "is larger than N bytes", "its name cannot be read in this system's character set"), or the system's own
// text ("No such file or directory").
QString Check(const QString& path, qint64 cap);

// The reasons a folder, and any other file that is not a regular one, gives.
QString FolderReason();
QString NotRegularFileReason();

// Whether a file name came from bytes that are not valid in the system's character set (a Latin-1 name under
// a UTF-8 locale, say): such a name was read with replacement characters and no longer names the file.
bool NameIsUnreadable(const QString& name);

// The whole file into content (empty files give an empty array and true). False with the reason when the
// file fails Check or its reading fails; content is then empty.
bool Read(const QString& path, qint64 cap, QByteArray& content, QString& reason);
} // namespace BoundedFileRead
