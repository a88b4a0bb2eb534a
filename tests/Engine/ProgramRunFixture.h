#pragma once
// The real program (ORV_PROGRAM_FILE) on the built application folder (ORV_APP_DIR), run as a user would run it
// in a scratch work folder: its exit code, what it says on standard error, and what it leaves in its folders.
#include "ForkedChild.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace ProgramRunFixture {

const QString LF = QStringLiteral("\n");

struct CRun
{
    int exitCode = -1;
    QString err;
};

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QByteArray Example(const char* name)
{
    return ReadBytes(QStringLiteral(ORV_SOURCE_DIR "/examples/") + QString::fromLatin1(name));
}

// Bytes that are no format at all, the same in every run.
inline QByteArray Noise(int size, unsigned seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = char(seed >> 16);
    }
    return bytes;
}

// Command-line words, plain text and made ones mixed: Words("/profile=Model A", QStringLiteral("/logfile=") + log).
inline QString Word(const char* text)
{
    return QString::fromUtf8(text);
}
inline QString Word(const QString& text)
{
    return text;
}
template <typename... Texts>
QStringList Words(const Texts&... texts)
{
    return QStringList{Word(texts)...};
}

class CProgramRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Dir.isValid());
        m_Work = QDir(m_Dir.path()).canonicalPath();
    }

    QString W(const QString& relative) const { return m_Work + QLatin1Char('/') + relative; }
    QString W(const char* relative) const { return W(Word(relative)); }
    QString Write(const QString& relative, const QByteArray& bytes) const
    {
        const QString path = W(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
        file.write(bytes);
        return path;
    }
    QString Write(const char* relative, const QByteArray& bytes) const { return Write(Word(relative), bytes); }
    // An example source, under its own name or another.
    QString CopyExample(const char* name, const char* as = nullptr) const
    {
        return Write(Word(as ? as : name), Example(name));
    }
    // An application folder of the built one's files, with profiles of the test's own beside copies of the shipped
    // ones (the profiles are the folder's own, so a run that damaged one would damage no other test's).
    QString AppFolderWith(const QMap<QString, QByteArray>& profiles = {}) const
    {
        const QString app = W(QStringLiteral("app"));
        QDir().mkpath(app + QStringLiteral("/Profiles"));
        const QDir built(QStringLiteral(ORV_APP_DIR));
        for (const QString& name : built.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (name != QLatin1String("Profiles"))
                QFile::link(built.filePath(name), app + QLatin1Char('/') + name);
        }
        for (const QString& name : QDir(built.filePath(QStringLiteral("Profiles"))).entryList(QDir::Files))
            QFile::copy(built.filePath(QStringLiteral("Profiles/") + name), app + QStringLiteral("/Profiles/") + name);
        for (auto profile = profiles.constBegin(); profile != profiles.constEnd(); ++profile)
            Write(QStringLiteral("app/Profiles/") + profile.key(), profile.value());
        return app;
    }
    // Empties the work folder between the cases of a test.
    void ClearWork() const
    {
        QDir(m_Work).removeRecursively();
        QDir().mkpath(m_Work);
    }
    void Fifo(const QString& relative) const
    {
        ASSERT_EQ(::mkfifo(QFile::encodeName(W(relative)).constData(), 0600), 0);
    }

    // Everything in a folder, hidden files included, so a temporary file left behind shows.
    QStringList Files(const QString& relative = QString()) const
    {
        QStringList names =
            QDir(relative.isEmpty() ? m_Work : W(relative))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        return names;
    }
    QStringList Files(const char* relative) const { return Files(Word(relative)); }

    std::unique_ptr<QProcess> Start(const QStringList& arguments, qint64 fileSizeLimit = 0,
                                    const QString& program = QStringLiteral(ORV_PROGRAM_FILE)) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        for (auto entry = m_Environment.constBegin(); entry != m_Environment.constEnd(); ++entry)
            environment.insert(entry.key(), entry.value());
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(m_Work);
        const std::function<void()> setup = m_ChildSetup;
        if (fileSizeLimit > 0 || setup)
            process->setChildProcessModifier([fileSizeLimit, setup]() {
                if (fileSizeLimit > 0)
                    SetFileSizeLimit(fileSizeLimit);
                if (setup)
                    setup();
            });
        process->start(program, arguments);
        return process;
    }
    static CRun Finish(QProcess& process)
    {
        CRun run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(1000);
            ADD_FAILURE() << "the program did not end";
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }
    CRun Run(const QStringList& arguments, qint64 fileSizeLimit = 0) const
    {
        return Finish(*Start(arguments, fileSizeLimit));
    }
    // An iMelody run for Model A with its log in run.log.
    CRun Imy(const QStringList& arguments, qint64 fileSizeLimit = 0) const
    {
        return Run(Words("/profile=Model A", "/converter=imy", "/logfile=run.log") + arguments, fileSizeLimit);
    }
    // The program through the shell: words can then hold bytes that are no text, as $(printf '\351').
    CRun RunThroughShell(const QString& words) const
    {
        return Finish(*Start(
            QStringList{QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + words, QStringLiteral(ORV_PROGRAM_FILE)},
            0, QStringLiteral("/bin/sh")));
    }
    QString Log(const QString& name = QStringLiteral("run.log")) const
    {
        return QString::fromLocal8Bit(ReadBytes(W(name)));
    }
    QString Log(const char* name) const { return Log(Word(name)); }

    QTemporaryDir m_Dir;
    QString m_Work;
    // Set in the program's environment on top of the tests' own.
    QMap<QString, QString> m_Environment;
    // Run in the program's process before it starts (signal dispositions, limits).
    std::function<void()> m_ChildSetup;
};

} // namespace ProgramRunFixture
