#include "SafeFileWrite.h"
#include "Util/StopSignals.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// A write may run inside another one (a callback that writes a file of its own): each has a slot for its
// temporary file's name, for the signal handler. Fixed buffers, since a handler may neither allocate nor lock;
// an empty slot holds no temporary file. Writes nested deeper than this still remove their files on every
// way out, only not when a signal ends the run.
constexpr int kNestingSlots = 4;
char g_Temporaries[kNestingSlots][4096];
// Writes in progress in this module; the outermost one takes the stopping signals over and gives them back.
int g_Depth = 0;
StopSignals::CTakeover g_Signals;
// The innermost record of written files alive in this module, and where this module notes: its own place, or the
// program's once the program has handed that over.
CWrittenFiles* g_pOwnRecord = nullptr;
CWrittenFiles** g_ppRecords = &g_pOwnRecord;
// While records made in this module live, a stop removes the old files they keep (what the source wrote stays,
// whole, as a stopped write leaves it); the outermost one takes the signals over and gives them back.
StopSignals::CTakeover g_RecordSignals;

void RemoveTemporariesAndStop(int signal)
{
    for (char* temporary : g_Temporaries) {
        if (temporary[0] != '\0')
            ::unlink(temporary);
        temporary[0] = '\0';
    }
    g_Signals.PassOn(signal);
}

// One write's temporary file, from before it exists until it is renamed into place or removed, whichever way
// the write ends (a failure, a callback that throws, a signal). The handlers are this module's only while a
// write is in progress: the program and every plug-in carry their own copy of this code, and a plug-in's copy
// goes when the plug-in is unloaded, so a handler left installed could be one whose code is gone.
class CTemporaryFile
{
public:
    // Call with the stopping signals held.
    CTemporaryFile() : m_Slot(g_Depth++)
    {
        if (m_Slot == 0)
            g_Signals.Take(RemoveTemporariesAndStop);
    }
    ~CTemporaryFile()
    {
        const StopSignals::CHeld hold;
        if (!m_Name.isEmpty())
            ::unlink(m_Name.constData());
        if (m_Slot < kNestingSlots)
            g_Temporaries[m_Slot][0] = '\0';
        if (--g_Depth == 0)
            g_Signals.GiveBack();
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    // The file now exists under name; call with the stopping signals held.
    void Record(const QByteArray& name)
    {
        m_Name = name;
        if (m_Slot < kNestingSlots && size_t(name.size()) < sizeof g_Temporaries[m_Slot])
            std::memcpy(g_Temporaries[m_Slot], name.constData(), size_t(name.size()) + 1);
    }
    // The file was renamed into place: nothing is left to remove.
    void Keep()
    {
        const StopSignals::CHeld hold;
        m_Name.clear();
        if (m_Slot < kNestingSlots)
            g_Temporaries[m_Slot][0] = '\0';
    }
    const QByteArray& Name() const { return m_Name; }

private:
    int m_Slot;
    QByteArray m_Name;
};

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file a write to path lands in: a symbolic link (or a chain of them) is followed to its target, so the
// link stays a link. A link to nothing names the file it would create.
QString WriteTarget(const QString& path)
{
    QString target = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return target;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return target;
        target = next;
    }
    return target;
}

// A new, empty file in the folder of target with a short name (the target's own name may already be as long
// as a name can be); empty with the reason when none can be created.
QByteArray CreateTemporaryBeside(const QString& target, QString& reason)
{
    const QString folder = QFileInfo(target).absolutePath();
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/.orv-XXXXXX.part"));
    const int fd = ::mkstemps(name.data(), 5);
    if (fd < 0) {
        reason = SystemReason(errno);
        return QByteArray();
    }
    ::close(fd);
    return name;
}

// mkstemps makes the file private; a replaced file keeps its own bits, a new one gets the usual ones.
mode_t ModeFor(bool replacing, const struct stat& old)
{
    if (replacing)
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Copies the file at path into the open file kept (closing it) with the old file's permission bits, checking every
// read, write and the close. False with the system's reason.
bool CopyInto(const QByteArray& path, int kept, QString& reason)
{
    const int from = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat old;
    bool copied = from >= 0 && ::fstat(from, &old) == 0;
    char piece[16384];
    while (copied) {
        const ssize_t got = ::read(from, piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            copied = got == 0;
            break;
        }
        for (ssize_t done = 0; copied && done < got;) {
            const ssize_t put = ::write(kept, piece + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            copied = put > 0;
            done += put > 0 ? put : 0;
        }
    }
    copied = copied && ::fchmod(kept, old.st_mode & 07777) == 0;
    if (!copied)
        reason = SystemReason(errno != 0 ? errno : EIO);
    if (from >= 0)
        ::close(from);
    if (::close(kept) != 0 && copied) {
        reason = SystemReason(errno);
        copied = false;
    }
    return copied;
}

// The file at path kept under a new hidden name in its folder: a second link to it, or (on a file system without
// them, or when the file is to be changed in place) a copy. Empty with the reason when it cannot be kept.
QByteArray KeepBeside(const QByteArray& path, bool copy, QString& reason)
{
    const QByteArray pattern =
        QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath() + QStringLiteral("/.orv-XXXXXX.old"));
    for (int attempt = 0; attempt < 16; ++attempt) {
        QByteArray name = pattern;
        int kept = ::mkstemps(name.data(), 4);
        if (kept < 0) {
            reason = SystemReason(errno);
            return QByteArray();
        }
        if (!copy) {
            ::close(kept);
            ::unlink(name.constData());
            if (::link(path.constData(), name.constData()) == 0)
                return name;
            if (errno == EEXIST)
                continue;
            kept = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (kept < 0) {
                if (errno == EEXIST)
                    continue;
                reason = SystemReason(errno);
                return QByteArray();
            }
        }
        errno = 0;
        if (CopyInto(path, kept, reason))
            return name;
        ::unlink(name.constData());
        return QByteArray();
    }
    reason = SystemReason(EEXIST);
    return QByteArray();
}

// The name a record notes a file by: absolute, so that a change of the current folder during the source never
// makes it another file, and clean, so that one file has one name.
QByteArray NotedName(const QString& path)
{
    return QFile::encodeName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

} // namespace

// What the writes here tell the records alive.
struct CWrittenFilesNotes
{
    enum How
    {
        REPLACE,         // by renaming another file into place
        CHANGE_IN_PLACE, // by writing into the file itself
        REMOVE,
    };

    static CWrittenFiles::CEntry* Find(CWrittenFiles& record, const QByteArray& path)
    {
        for (CWrittenFiles::CEntry& entry : record.m_Entries)
            if (entry.path == path)
                return &entry;
        return nullptr;
    }

    // Before path (its links followed) changes: each record alive that has not yet noted it does, keeping the file
    // there now. False with the reason when it cannot be kept: the change must then not happen.
    static bool Before(const QByteArray& path, How how, QString& reason)
    {
        for (CWrittenFiles* record = *g_ppRecords; record; record = record->m_pOuter) {
            if (Find(*record, path))
                continue;
            // Room first: once the old file is kept, noting it must not fail.
            QList<CWrittenFiles::CEntry>& entries = record->m_Entries;
            if (entries.capacity() == entries.size())
                entries.reserve(entries.size() * 2 + 8);
            CWrittenFiles::CEntry entry{path, QByteArray(), CWrittenFiles::CEntry::CREATED, false};
            // A stop must find every kept file noted.
            const StopSignals::CHeld hold;
            struct stat old;
            if (::lstat(path.constData(), &old) == 0) {
                entry.kind = CWrittenFiles::CEntry::KEPT;
                entry.kept = KeepBeside(path, how == CHANGE_IN_PLACE, reason);
                if (entry.kept.isEmpty())
                    return false;
            }
            entries.append(entry);
        }
        return true;
    }

    // path has changed; allocates nothing, so it cannot fail once the change is made.
    static void Changed(const QByteArray& path)
    {
        for (CWrittenFiles* record = *g_ppRecords; record; record = record->m_pOuter)
            if (CWrittenFiles::CEntry* entry = Find(*record, path))
                entry->changed = true;
    }

    // From the stop handler: allocates nothing.
    static void RemoveKept(CWrittenFiles** place)
    {
        for (CWrittenFiles* record = *place; record; record = record->m_pOuter)
            for (const CWrittenFiles::CEntry& entry : std::as_const(record->m_Entries))
                if (entry.kind == CWrittenFiles::CEntry::KEPT)
                    ::unlink(entry.kept.constData());
    }

    static void CreatedFolder(const QByteArray& path)
    {
        const StopSignals::CHeld hold;
        for (CWrittenFiles* record = *g_ppRecords; record; record = record->m_pOuter)
            if (!Find(*record, path))
                record->m_Entries.append(
                    CWrittenFiles::CEntry{path, QByteArray(), CWrittenFiles::CEntry::CREATED_FOLDER, true});
    }
};

bool WriteFileSafely(const QString& path, const std::function<bool(const QString& temporaryPath)>& write,
                     QString* reason)
{
    QString why;
    const auto fail = [&](const QString& text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (path.isEmpty())
        return fail(SystemReason(ENOENT));
    const QString target = WriteTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old;
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return fail(SystemReason(EISDIR));

    // A stop between creating the temporary file and recording its name would leave it behind.
    std::optional<StopSignals::CHeld> held(std::in_place);
    CTemporaryFile temporary;
    const QByteArray temporaryName = CreateTemporaryBeside(target, why);
    if (temporaryName.isEmpty())
        return fail(why);
    temporary.Record(temporaryName);
    held.reset();

    errno = 0;
    bool written = write(QFile::decodeName(temporaryName));
    if (!written)
        why = errno != 0 ? SystemReason(errno) : QStringLiteral("the file could not be written");
    if (written && ::chmod(temporaryName.constData(), ModeFor(replacing, old)) != 0) {
        why = SystemReason(errno);
        written = false;
    }
    const QByteArray notedName = NotedName(target);
    if (written && !CWrittenFilesNotes::Before(notedName, CWrittenFilesNotes::REPLACE, why))
        written = false;
    // rename replaces an existing file in one step, where QFile::rename would refuse it.
    if (written && std::rename(temporaryName.constData(), targetName.constData()) != 0) {
        why = SystemReason(errno);
        written = false;
    }
    if (!written)
        return fail(why);
    temporary.Keep();
    CWrittenFilesNotes::Changed(notedName);
    return true;
}

CWrittenFiles** WrittenFilesPlace()
{
    return g_ppRecords;
}

void UseWrittenFilesPlace(CWrittenFiles** place)
{
    g_ppRecords = place ? place : &g_pOwnRecord;
}

namespace {

void RemoveKeptAndStop(int signal)
{
    CWrittenFilesNotes::RemoveKept(g_ppRecords);
    g_RecordSignals.PassOn(signal);
}

} // namespace

CWrittenFiles::CWrittenFiles() : m_pOuter(*g_ppRecords), m_ppPlace(g_ppRecords)
{
    const StopSignals::CHeld hold;
    if (!m_pOuter)
        g_RecordSignals.Take(RemoveKeptAndStop);
    *m_ppPlace = this;
}

CWrittenFiles::~CWrittenFiles()
{
    const StopSignals::CHeld hold;
    for (const CEntry& entry : m_Entries)
        if (entry.kind == CEntry::KEPT)
            ::unlink(entry.kept.constData());
    *m_ppPlace = m_pOuter;
    if (!m_pOuter)
        g_RecordSignals.GiveBack();
}

QStringList CWrittenFiles::Paths() const
{
    QStringList paths;
    for (const CEntry& entry : m_Entries)
        if (entry.changed && entry.kind != CEntry::CREATED_FOLDER)
            paths.append(QFile::decodeName(entry.path));
    return paths;
}

void CWrittenFiles::PutBack()
{
    const StopSignals::CHeld hold;
    for (qsizetype i = m_Entries.size() - 1; i >= 0; --i) {
        const CEntry& entry = m_Entries.at(i);
        switch (entry.kind) {
        case CEntry::CREATED:
            if (entry.changed)
                ::unlink(entry.path.constData());
            break;
        case CEntry::KEPT:
            // Both names of an untouched file are links to it: the kept one simply goes.
            if (!entry.changed || std::rename(entry.kept.constData(), entry.path.constData()) != 0)
                ::unlink(entry.kept.constData());
            break;
        case CEntry::CREATED_FOLDER:
            ::rmdir(entry.path.constData());
            break;
        }
    }
    m_Entries.clear();
}

bool RemoveFileNoted(const QString& path)
{
    const QByteArray name = NotedName(path);
    QString reason;
    if (!CWrittenFilesNotes::Before(name, CWrittenFilesNotes::REMOVE, reason))
        return false;
    if (::unlink(name.constData()) != 0)
        return false;
    CWrittenFilesNotes::Changed(name);
    return true;
}

void NoteCreatedFolder(const QString& folder)
{
    CWrittenFilesNotes::CreatedFolder(NotedName(folder));
}

bool WriteAllBytes(QFileDevice& file, const QByteArray& bytes, QString* reason)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        // After a short write the next one fails with the system's reason, which the short one lacks.
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            if (reason)
                *reason = file.error() != QFileDevice::NoError ? file.errorString() : SystemReason(EIO);
            return false;
        }
        done += written;
    }
    return true;
}

namespace {

// Opens the file at path with mode (besides writing), writes every byte and closes it, checking each write and the
// close. Unbuffered: every write reaches the file system here, where its failure can say why.
bool WriteBytesOpened(const QString& path, QIODevice::OpenMode mode, const QByteArray& bytes, QString* reason)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered | mode)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    if (!WriteAllBytes(file, bytes, reason))
        return false;
    // A file system may refuse the data only when the file is closed.
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool WriteBytesToFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    return WriteBytesOpened(path, QIODevice::Truncate, bytes, reason);
}

bool AppendBytesToFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    QString why;
    const QByteArray target = NotedName(WriteTarget(path));
    if (!CWrittenFilesNotes::Before(target, CWrittenFilesNotes::CHANGE_IN_PLACE, why)) {
        if (reason)
            *reason = why;
        return false;
    }
    CWrittenFilesNotes::Changed(target);
    return WriteBytesOpened(path, QIODevice::Append, bytes, reason);
}

bool WriteBytesSafely(const QString& path, const QByteArray& bytes, QString* reason)
{
    QString writeError;
    const bool written = WriteFileSafely(
        path, [&bytes, &writeError](const QString& temporary) { return WriteBytesToFile(temporary, bytes, &writeError); },
        reason);
    if (!written && reason && !writeError.isEmpty())
        *reason = writeError;
    return written;
}

bool WriteImageSafely(const QString& path, const QImage& image, const char* format, QString* reason)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        if (reason)
            *reason = writer.errorString();
        return false;
    }
    buffer.close();
    return WriteBytesSafely(path, bytes, reason);
}
