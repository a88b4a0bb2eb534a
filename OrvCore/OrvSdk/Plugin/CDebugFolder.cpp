#include "Plugin/CDebugFolder.h"

#include "Documents/CDocument.h"
#include "Util/SafeFileWrite.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {
bool IsRealFolder(const QFileInfo& info)
{
    return info.exists() && info.isDir() && !info.isSymLink();
}
} // namespace

CDebugFolder::CDebugFolder(QStringList ownFileNames) : mOwnFileNames(std::move(ownFileNames)) {}

QString CDebugFolder::Prepare(const CDocument* document, bool enabled)
{
    mFolder.clear();
    // Without a source name the folder would be the current directory's.
    if (!enabled || !document || document->GetName().isEmpty())
        return mFolder;

    const QString folder = QFileInfo(document->GetName()).absolutePath() + QStringLiteral("/Debug");
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink()) {
        if (!QDir().mkdir(folder)) {
            qDebug() << "cannot create" << folder;
            return mFolder;
        }
    } else if (!IsRealFolder(info)) {
        qDebug() << folder << "is not a folder of its own; no debug files";
        return mFolder;
    } else {
        for (const QString& name : mOwnFileNames) {
            const QString path = folder + QLatin1Char('/') + name;
            const QFileInfo file(path);
            if (file.isFile() && !file.isSymLink()) {
                qDebug() << "deleting " << name.toLatin1().constData();
                QFile::remove(path);
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

void CDebugFolder::Write(const QString& name, const QByteArray& bytes) const
{
    WriteWith(name, [&bytes](const QString& file) {
        QFile out(file);
        return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() && out.flush();
    });
}

void CDebugFolder::WriteWith(const QString& name, const std::function<bool(const QString& file)>& write) const
{
    if (mFolder.isEmpty())
        return;
    const QString path = FilePath(name);
    // Writing through a link (or over a folder) would reach outside the
    // debug folder: only a fresh or regular file is written.
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) {
        qDebug() << "not writing" << path;
        return;
    }
    QString reason;
    if (!WriteFileSafely(path, write, &reason))
        qDebug() << "cannot write" << path << reason;
}
