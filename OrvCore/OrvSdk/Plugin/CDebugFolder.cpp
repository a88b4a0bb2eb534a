#include "Plugin/CDebugFolder.h"

#include "Documents/CDocument.h"
#include "Plugin/CConversionLog.h"
#include "Plugin/CRunFiles.h"
#include "Text/CLanguageResources.h"
#include "Text/ShownName.h"
#include "Util/SafeFileWrite.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <utility>

namespace {
bool IsRealFolder(const QFileInfo& info)
{
    return info.exists() && info.isDir() && !info.isSymLink();
}
} // namespace

CDebugFolder::CDebugFolder(QStringList ownFileNames) : mOwnFileNames(std::move(ownFileNames)) {}

QString CDebugFolder::Prepare(const CDocument* document, bool enabled, const CRunFiles* runFiles, CConversionLog* log)
{
    mFolder.clear();
    mFailed = false;
    mpRunFiles = runFiles;
    mpLog = log;
    // Without a source name the folder would be the current directory's.
    if (!enabled || !document || document->GetName().isEmpty())
        return mFolder;

    const QString folder = QFileInfo(document->GetName()).absolutePath() + QStringLiteral("/Debug");
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink()) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0) {
            Fail(folder, QString::fromLocal8Bit(std::strerror(errno)));
            return mFolder;
        }
        NoteCreatedFolder(folder);
    } else if (!IsRealFolder(info)) {
        Fail(folder, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
        return mFolder;
    } else {
        for (const QString& name : mOwnFileNames) {
            const QString path = folder + QLatin1Char('/') + name;
            const QFileInfo file(path);
            // A file of the run is left alone here; its write is skipped and said later.
            if (file.isFile() && !file.isSymLink() && !(mpRunFiles && mpRunFiles->Find(path))) {
                qDebug() << "deleting " << name.toLatin1().constData();
                RemoveFileNoted(path);
            }
        }
    }
    mFolder = folder;
    return mFolder;
}

QString CDebugFolder::FilePath(const QString& name) const
{
    return mFolder.isEmpty() ? QString() : mFolder + QLatin1Char('/') + name;
}

bool CDebugFolder::Write(const QString& name, const QByteArray& bytes)
{
    return WriteWith(name, [&bytes](const QString& file) { return WriteBytesToFile(file, bytes); });
}

bool CDebugFolder::WriteWith(const QString& name, const std::function<bool(const QString& file)>& write)
{
    // No folder: none was asked for, or it could not be made (and that failed the conversion).
    if (mFolder.isEmpty())
        return !mFailed;
    const QString path = FilePath(name);
    // Writing through a link (or over a folder) would reach outside the
    // debug folder: only a fresh or regular file is written.
    const QFileInfo info(path);
    if (info.isSymLink())
        return Fail(path, QString::fromLocal8Bit(std::strerror(ELOOP)));
    if (info.exists() && !info.isFile())
        return Fail(path, QString::fromLocal8Bit(std::strerror(EISDIR)));
    if (IsRunFile(path))
        return true;
    QString reason;
    if (!WriteFileSafely(path, write, &reason))
        return Fail(path, reason);
    return true;
}

bool CDebugFolder::Fail(const QString& path, const QString& reason)
{
    mFailed = true;
    if (mpLog)
        mpLog->AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                       CLanguageResources::GetMessage(QStringLiteral("CDebugFolder"),
                                                      QStringLiteral("id_debug_file_failed"))
                               .arg(ShowName(path), reason)
                           + QLatin1Char('\n'));
    return false;
}

bool CDebugFolder::IsRunFile(const QString& path) const
{
    const CRunFiles::CFile* file = mpRunFiles ? mpRunFiles->Find(path) : nullptr;
    if (!file)
        return false;
    static const char* const ids[] = {"id_debug_file_is_source", "id_debug_file_is_parameter_file",
                                      "id_debug_file_is_run_log"};
    if (mpLog)
        mpLog->AddText(
            CConversionLog::SUMMARY | CConversionLog::DETAILED,
            CLanguageResources::GetMessage(QStringLiteral("CDebugFolder"), QString::fromLatin1(ids[file->role]))
                    .arg(ShowName(path), ShowName(file->name))
                + QLatin1Char('\n'));
    return true;
}
