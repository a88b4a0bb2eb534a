// The run log removes only what its run created, and says in the system's words why the disk refused it.
#include "Core/CRunLog.h"
#include "ForkedChild.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include "TestBytes.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// The log's texts come from the language file, which the program reads before it opens its log.
class RunLog : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    }
};

// A window opened and closed without a conversion leaves no file; a file the user had stays, even emptied.
TEST_F(RunLog, OnlyALogThisRunCreatedGoesWhenItStaysEmpty)
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
            ASSERT_TRUE(WriteFileBytes(dir.filePath(c.userName), "older\n"));
        }
        CRunLog log;
        ASSERT_TRUE(log.Open(dir.path(), c.userName, QDateTime::currentDateTime())) << c.name;
        const QString path = log.GetFilePath();
        if (c.written)
            log.Write(QStringLiteral("line\n"));
        log.Close();
        EXPECT_EQ(QFileInfo::exists(path), c.stays) << c.name;
        EXPECT_EQ(ReadFileBytes(path), c.stays && c.written ? QByteArray("line\n") : QByteArray()) << c.name;
    }
}

TEST_F(RunLog, ANameThatLinksToNothingCreatesItsTargetAndOnlyThatGoes)
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
    EXPECT_EQ(ReadFileBytes(link), "kept\n");
}

// The disk stops taking the log part-way through a line: the notice gives the system's reason, never
// "Unknown error", and the line goes on on standard error.
TEST_F(RunLog, AWriteCutShortSaysTheSystemsReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Standard error goes through a pipe, which the file size limit does not reach.
    const CChildEnd child = RunInChild([&dir]() {
        LimitFileSize(64);
        CRunLog log;
        log.Open(dir.path(), QStringLiteral("run.log"), QDateTime::currentDateTime());
        log.Write(QString(40, QLatin1Char('a')) + QLatin1Char('\n'));
        log.Write(QString(40, QLatin1Char('b')) + QLatin1Char('\n'));
        log.Close();
    });
    ASSERT_TRUE(child.ExitedWithZero());
    const QString log = dir.filePath(QStringLiteral("run.log"));
    EXPECT_EQ(QString::fromLocal8Bit(child.err),
              QStringLiteral("The run log %1 cannot be written: File too large. Its lines follow on standard error.\n")
                      .arg(log)
                  + QString(40, QLatin1Char('b')) + QLatin1Char('\n'));
    EXPECT_EQ(ReadFileBytes(log), QByteArray(40, 'a') + '\n' + QByteArray(23, 'b'));
}

// Texts written before the log opens (start-up reads its files first) come first in it; when it cannot be created,
// they and every later text go to standard error after the reason.
TEST_F(RunLog, TextsBeforeOpeningComeFirstWhereverTheLogGoes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CChildEnd child = RunInChild([&dir]() {
        for (const char* name : {"run.log", "missing/run.log"}) {
            CRunLog log;
            log.Write(QStringLiteral("held\n"));
            log.Open(dir.path(), QString::fromLatin1(name), QDateTime::currentDateTime());
            log.Write(QStringLiteral("later\n"));
        }
    });
    ASSERT_TRUE(child.ExitedWithZero());
    EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("run.log"))), "held\nlater\n");
    EXPECT_EQ(
        QString::fromLocal8Bit(child.err),
        QStringLiteral("The run log %1 cannot be created: No such file or directory. Its lines follow on standard "
                       "error.\nheld\nlater\n")
            .arg(dir.filePath(QStringLiteral("missing/run.log"))));
}

// A run ended by SIGTERM (a window closed by the system, say) removes the log it created while that is empty.
TEST_F(RunLog, ARunEndedBySignalRemovesTheEmptyLogItCreated)
{
    for (const bool written : {false, true}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const CChildEnd child = RunInChild([&dir, written]() {
            CRunLog log;
            log.Open(dir.path(), QString(), QDateTime::currentDateTime());
            if (written)
                log.Write(QStringLiteral("line\n"));
            ::kill(::getpid(), SIGTERM);
        });
        EXPECT_TRUE(child.EndedBy(SIGTERM)) << written;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), written ? 1 : 0) << written;
    }
}

} // namespace
