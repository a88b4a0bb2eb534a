// The run log removes only what its run created, and says in the system's words why the disk refused it.
#include "Core/CRunLog.h"
#include "ForkedChild.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include "Text/CLanguageResources.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
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

// The name links to nothing, and the file it names appears between the open that found nothing and the one that
// creates: the run takes it as the existing file it is, never as one it created. Refused, it keeps its bytes and
// stays; taken, it is the user's log, emptied, and stays even when nothing is written.
TEST_F(RunLog, AFileThatAppearsBeforeTheLogIsCreatedIsNeverTakenForTheRunsOwn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("dl.log"));
    const QString target = dir.filePath(QStringLiteral("Race.xml"));
    ASSERT_TRUE(QFile::link(target, link));
    for (const bool refused : {true, false}) {
        QFile::remove(target);
        CRunLog::SetBeforeCreating([&target] { WriteFileBytes(target, "<profile/>"); });
        std::optional<bool> createdSeen;
        CRunLog log;
        const bool opened = log.Open(dir.path(), QStringLiteral("dl.log"), QDateTime::currentDateTime(),
                                     [&](const FileIdentity&, bool created) {
                                         createdSeen = created;
                                         return refused ? QStringLiteral("a file of the program") : QString();
                                     });
        CRunLog::SetBeforeCreating({});
        log.Close();
        EXPECT_EQ(opened, !refused);
        EXPECT_EQ(createdSeen, std::optional<bool>(false)) << refused;
        EXPECT_TRUE(QFileInfo::exists(target)) << refused;
        EXPECT_EQ(ReadFileBytes(target), refused ? QByteArray("<profile/>") : QByteArray()) << refused;
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << refused;
    }
}

// A file of a kernel file system passes as regular but keeps no lines (/proc/self/comm keeps 15 bytes): it is
// refused with its reason, as a device is, and the lines go to standard error; the run goes on.
TEST_F(RunLog, AFileOfAKernelFileSystemIsNoLog)
{
    const CChildEnd child = RunInChild([]() {
        CRunLog log;
        log.Write(QStringLiteral("held\n"));
        const bool opened = log.Open(QStringLiteral("/"), QStringLiteral("/proc/self/comm"),
                                     QDateTime::currentDateTime(), [](const FileIdentity&, bool) { return QString(); });
        log.Write(QStringLiteral("later\n"));
        std::_Exit(!opened && !log.IsRefused() ? 0 : 3);
    });
    ASSERT_TRUE(child.ExitedWithZero());
    EXPECT_EQ(QString::fromLocal8Bit(child.err),
              QStringLiteral("The run log /proc/self/comm cannot be created: is a file of a kernel file system, which "
                             "keeps no lines. Its lines follow on standard error.\nheld\nlater\n"));
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

namespace {

// The guard is asked about the file the name opened, before anything is emptied. Between the opening and the
// answer the test points the name at another file, as a loop renaming links over it would: the answer, and what is
// emptied, stay with the file opened.
TEST_F(RunLog, TheGuardJudgesTheFileOpenedAndOnlyThenIsItEmptied)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString frame = dir.filePath(QStringLiteral("frame.png"));
    const QString other = dir.filePath(QStringLiteral("other.log"));
    const QString name = dir.filePath(QStringLiteral("run.log"));
    for (const bool isFrame : {true, false}) {
        ASSERT_TRUE(WriteFileBytes(frame, "picture"));
        ASSERT_TRUE(WriteFileBytes(other, "older"));
        QFile::remove(name);
        ASSERT_TRUE(QFile::link(isFrame ? frame : other, name));
        const std::optional<FileIdentity> frameIdentity = FileIdentity::Of(frame);
        QByteArray seen;
        CRunLog log;
        const bool opened = log.Open(dir.path(), QStringLiteral("run.log"), QDateTime::currentDateTime(),
                                     [&](const FileIdentity& opened, bool) {
                                         seen = ReadFileBytes(isFrame ? frame : other);
                                         QFile::remove(name);
                                         QFile::link(isFrame ? other : frame, name);
                                         return opened == frameIdentity ? QStringLiteral("a frame") : QString();
                                     });
        // Nothing was emptied before the guard answered.
        EXPECT_EQ(seen, isFrame ? "picture" : "older") << isFrame;
        EXPECT_EQ(opened, !isFrame);
        EXPECT_EQ(log.IsRefused(), isFrame);
        if (opened)
            log.Write(QStringLiteral("line\n"));
        log.Close();
        EXPECT_EQ(ReadFileBytes(frame), "picture") << isFrame;
        EXPECT_EQ(ReadFileBytes(other), isFrame ? "older" : "line\n") << isFrame;
    }
}

// The reasons a log cannot be created are the language file's words, whichever language it is.
TEST_F(RunLog, AFolderOrAFifoIsRefusedInTheLanguageFilesWords)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("dirlog")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifolog"))).constData(), 0600), 0);
    const QString words = dir.filePath(QStringLiteral("Words.xml"));
    ASSERT_TRUE(
        WriteFileBytes(words, "<?xml version=\"1.0\"?><Language name=\"Test\"><class name=\"COrvApplication\"><message>"
                              "<string id=\"id_logfile_failed\" value=\"Journal %1 impossible: %2.\"/>"
                              "</message></class><class name=\"BoundedFileRead\"><message>"
                              "<string id=\"id_is_folder\" value=\"c'est un dossier\"/>"
                              "<string id=\"id_is_not_regular_file\" value=\"pas un fichier\"/>"
                              "</message></class></Language>"));
    const CChildEnd child = RunInChild([&dir, &words]() {
        if (!CLanguageResources::Load(words))
            std::_Exit(2);
        for (const char* name : {"dirlog", "fifolog"}) {
            CRunLog log;
            log.Open(dir.path(), QString::fromLatin1(name), QDateTime::currentDateTime());
        }
    });
    ASSERT_TRUE(child.ExitedWithZero());
    EXPECT_EQ(QString::fromLocal8Bit(child.err),
              QStringLiteral("Journal %1 impossible: c'est un dossier.\nJournal %2 impossible: pas un fichier.\n")
                  .arg(dir.filePath(QStringLiteral("dirlog")), dir.filePath(QStringLiteral("fifolog"))));
}

} // namespace
