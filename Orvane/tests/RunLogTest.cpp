// The run log removes only what its run created, and says in the system's words why the disk refused it.
#include "Core/CRunLog.h"
#include "QtPrinters.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A window opened and closed without a conversion leaves no file; a file the user had stays, even emptied.
TEST(RunLog, OnlyALogThisRunCreatedGoesWhenItStaysEmpty)
{
    struct Case
    {
        const char* name;
        QString userName;
        bool existed, written, stays;
    };
    const Case cases[] = {
        {"made, empty", QString(), false, false, false},
        {"made, written", QString(), false, true, true},
        {"named, new, empty", QStringLiteral("run.log"), false, false, false},
        {"named, the user's, empty", QStringLiteral("run.log"), true, false, true},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        if (c.existed) {
            QFile old(dir.filePath(c.userName));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("older\n");
        }
        CRunLog log;
        ASSERT_TRUE(log.Open(dir.path(), c.userName, QDateTime::currentDateTime())) << c.name;
        const QString path = log.GetFilePath();
        if (c.written)
            log.Write(QStringLiteral("line\n"));
        log.Close();
        EXPECT_EQ(QFileInfo::exists(path), c.stays) << c.name;
        if (c.stays)
            EXPECT_EQ(ReadBytes(path), c.written ? QByteArray("line\n") : QByteArray()) << c.name;
    }
}

TEST(RunLog, ANameThatLinksToNothingCreatesItsTargetAndOnlyThatGoes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("run.log"));
    const QString target = dir.filePath(QStringLiteral("target.log"));
    ASSERT_TRUE(QFile::link(target, link));
    for (const bool written : {false, true}) {
        CRunLog log;
        ASSERT_TRUE(log.Open(dir.path(), QStringLiteral("run.log"), QDateTime::currentDateTime()));
        EXPECT_TRUE(QFileInfo::exists(target)) << written;
        if (written)
            log.Write(QStringLiteral("kept\n"));
        log.Close();
        // The link is the user's and stays; the file the run made goes only when it holds nothing.
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << written;
        EXPECT_EQ(QFileInfo::exists(target), written) << written;
    }
    EXPECT_EQ(ReadBytes(link), "kept\n");
}

// The disk stops taking the log part-way through a line: the notice gives the system's reason, never
// "Unknown error", and the line goes on on standard error.
TEST(RunLog, AWriteCutShortSaysTheSystemsReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Standard error goes through a pipe, which the file size limit does not reach.
    int errors[2];
    ASSERT_EQ(::pipe(errors), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(errors[1], STDERR_FILENO);
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CRunLog log;
        log.Open(dir.path(), QStringLiteral("run.log"), QDateTime::currentDateTime());
        log.Write(QString(40, QLatin1Char('a')) + QLatin1Char('\n'));
        log.Write(QString(40, QLatin1Char('b')) + QLatin1Char('\n'));
        log.Close();
        ::_exit(0);
    }
    ::close(errors[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    QByteArray said(4096, '\0');
    const ssize_t got = ::read(errors[0], said.data(), size_t(said.size()));
    ::close(errors[0]);
    said.truncate(int(qMax<ssize_t>(got, 0)));
    const QString log = dir.filePath(QStringLiteral("run.log"));
    EXPECT_EQ(QString::fromLocal8Bit(said),
              QStringLiteral("The run log %1 cannot be written: File too large. Its lines follow on standard error.\n")
                      .arg(log)
                  + QString(40, QLatin1Char('b')) + QLatin1Char('\n'));
    EXPECT_EQ(ReadBytes(log), QByteArray(40, 'a') + '\n' + QByteArray(23, 'b'));
}

} // namespace
