#pragma once
// The real program (ORV_PROGRAM_FILE) run from the command line in a work
// folder, on the built application folder (ORV_APP_DIR) and without the
// tests' display setting: what the program tests of every plug-in do.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#ifdef ORV_PROGRAM_FILE
// The exit code; -1 when the program did not end normally within the time.
inline int RunProgramIn(const QString& work, const QStringList& arguments, int timeoutMs = 30000)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANEDIR"), QString::fromUtf8(ORV_APP_DIR));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(work);
    process.start(QString::fromUtf8(ORV_PROGRAM_FILE), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
#endif
