#pragma once
// Test inputs kept as seeds of the plug-in's fuzz target: the plug-in recipe
// gives each plug-in's tests ORV_CORPUS_DIR, build/fuzz-corpus/<Name>.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#ifdef ORV_CORPUS_DIR
inline void SaveSeed(const QString& name, const QByteArray& bytes)
{
    const QString folder = QStringLiteral(ORV_CORPUS_DIR);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
#endif
