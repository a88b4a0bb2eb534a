#pragma once
// The application folder a command-line run of the program starts from. The
// program refuses to start without an SMS translator: while the real one is
// not installed, a scratch copy of the folder gets the test translator.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>

namespace TunraAppFolder {

inline bool CopyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir() ? !QDir().mkpath(target) : !QFile::copy(path, target))
            return false;
    }
    return true;
}

// The real folder when it has a translator; else a copy in scratch with the
// test translator; else an empty text.
inline QString Prepare(const QString& real, const QString& testTranslator, const QString& scratch)
{
    if (QFile::exists(real + QStringLiteral("/Plugins/Messra.so")))
        return real;
    if (testTranslator.isEmpty() || !QFile::exists(testTranslator))
        return QString();
    const QString app = scratch + QStringLiteral("/app");
    if (!CopyFolder(real, app))
        return QString();
    QFile::remove(app + QStringLiteral("/Orvane"));
    if (!QFile::copy(testTranslator, app + QStringLiteral("/Plugins/TestTranslator.so")))
        return QString();
    QFile parameters(app + QStringLiteral("/Plugins/Parameters/TestTranslator.xml"));
    const QByteArray minimal = "<P><TSECTION><TYPE NAME=\"b\"/><TYPE NAME=\"i\"/><TYPE NAME=\"f\"/>"
                               "<TYPE NAME=\"s\"/></TSECTION><ISECTION/></P>";
    if (!parameters.open(QIODevice::WriteOnly) || parameters.write(minimal) != minimal.size())
        return QString();
    return app;
}

} // namespace TunraAppFolder
