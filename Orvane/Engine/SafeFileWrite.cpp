#include "SafeFileWrite.h"
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>

namespace {

// A new, empty file in the folder of path; empty when none can be created.
QString CreateTemporaryBeside(const QString& path)
{
    const QFileInfo target(path);
    const QString stem = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.');
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = stem + QString::number(QRandomGenerator::global()->generate(), 16)
                             + QStringLiteral(".part");
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (file.error() != QFileDevice::OpenError || !QFileInfo(target.absolutePath()).isDir())
            break;
    }
    return QString();
}

} // namespace

bool WriteFileSafely(const QString& path, const std::function<bool(const QString& temporaryPath)>& write)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    const QString temporary = CreateTemporaryBeside(path);
    if (temporary.isEmpty())
        return false;
    // rename replaces an existing file in one step, where QFile::rename would refuse it.
    const bool written = write(temporary)
                         && std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData())
                                == 0;
    if (!written)
        QFile::remove(temporary);
    return written;
}

bool WriteBytesSafely(const QString& path, const QByteArray& bytes)
{
    return WriteFileSafely(path, [&bytes](const QString& temporary) {
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const bool complete = file.write(bytes) == bytes.size() && file.flush();
        file.close();
        return complete && file.error() == QFileDevice::NoError;
    });
}
