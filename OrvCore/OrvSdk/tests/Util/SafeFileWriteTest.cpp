// Result files appear complete or not at all, and never damage the file they would replace.
#include "Util/SafeFileWrite.h"
#include "ForkedChild.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <new>
#include <sys/stat.h>

namespace {

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// What a write stopped half-way leaves of a file.
void WriteHalf(const QString& file)
{
    QFile partial(file);
    if (partial.open(QIODevice::WriteOnly))
        partial.write("half");
}

TEST(SafeFileWrite, ReplacesAnExistingFileByExactlyTheNewBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("result.bin"));
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray(100, 'o')));
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray("new", 3)));
    EXPECT_EQ(ReadFileBytes(path), "new");
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray()));
    EXPECT_EQ(ReadFileBytes(path), "");
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("result.bin")});
}

TEST(SafeFileWrite, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("result.bin"));
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray("old")));
    QString temporary;
    EXPECT_FALSE(WriteFileSafely(path, [&temporary](const QString& file) {
        temporary = file;
        WriteHalf(file);
        return false;
    }));
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(QFileInfo(temporary).absolutePath(), QFileInfo(path).absolutePath());
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("result.bin")});
}

TEST(SafeFileWrite, RefusesMissingFoldersAndFolderNames)
{
    QTemporaryDir dir;
    EXPECT_FALSE(WriteBytesSafely(dir.filePath(QStringLiteral("missing/result.bin")), "x"));
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    EXPECT_FALSE(WriteBytesSafely(dir.filePath(QStringLiteral("folder")), "x"));
    EXPECT_FALSE(WriteBytesSafely(QString(), "x"));
    EXPECT_EQ(FilesIn(dir.path()), QStringList());
}

TEST(SafeFileWrite, FailuresSayWhyInTheSystemsWords)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytesSafely(dir.filePath(QStringLiteral("plain")), "x"));
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    struct Case
    {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {dir.filePath(QStringLiteral("missing/result.bin")), QStringLiteral("No such file or directory")},
        {dir.filePath(QStringLiteral("folder")), QStringLiteral("Is a directory")},
        {dir.filePath(QStringLiteral("plain/result.bin")), QStringLiteral("Not a directory")},
        {dir.filePath(QString(256, QLatin1Char('n'))), QStringLiteral("File name too long")},
    };
    for (const Case& c : cases) {
        QString reason;
        EXPECT_FALSE(WriteBytesSafely(c.path, "x", &reason)) << qPrintable(c.path);
        EXPECT_EQ(reason, c.reason) << qPrintable(c.path);
    }
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("plain")});
}

TEST(SafeFileWrite, ALongestLegalNameIsWrittenAndAReplacedFileKeepsItsModeAndLink)
{
    QTemporaryDir dir;
    const QString longest = dir.filePath(QString(255, QLatin1Char('n')));
    ASSERT_TRUE(WriteBytesSafely(longest, "long"));
    EXPECT_EQ(ReadFileBytes(longest), "long");

    const QString path = dir.filePath(QStringLiteral("result.bin"));
    ASSERT_TRUE(WriteBytesSafely(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0604), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("result.bin"), dir.filePath(QStringLiteral("link.bin"))));
    ASSERT_TRUE(WriteBytesSafely(dir.filePath(QStringLiteral("link.bin")), "new"));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("link.bin"))).isSymLink());
    EXPECT_EQ(ReadFileBytes(path), "new");
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(FilesIn(dir.path()),
              (QStringList{QStringLiteral("link.bin"), QString(255, QLatin1Char('n')), QStringLiteral("result.bin")}));
}

TEST(SafeFileWrite, ARunEndedBySignalWhileWritingLeavesNoTemporaryFile)
{
    for (const int signal :
         {SIGTERM, SIGINT, SIGQUIT, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("result.bin"));
        const CChildEnd child = RunInChild([&path, signal]() {
            NoCoreFile();
            WriteFileSafely(path, [signal](const QString& temporary) {
                WriteHalf(temporary);
                ::kill(::getpid(), signal);
                return true;
            });
        });
        EXPECT_TRUE(child.EndedBy(signal)) << signal;
        EXPECT_EQ(FilesIn(dir.path()), QStringList()) << signal;
    }
}

TEST(SafeFileWrite, ACallbackThatThrowsLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("result.bin"));
    ASSERT_TRUE(WriteBytesSafely(path, "old"));
    EXPECT_THROW(WriteFileSafely(path,
                                 [](const QString& temporary) -> bool {
                                     WriteHalf(temporary);
                                     throw std::bad_alloc();
                                 }),
                 std::bad_alloc);
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("result.bin")});
}

void CountSignal(int) {}

// A write inside another takes the signals over once: afterwards they do what they did before, and a stop
// during the inner write removes both temporary files.
TEST(SafeFileWrite, AWriteInsideAnotherPutsTheHandlersBackOnce)
{
    const auto handlerOf = [](int signal) {
        struct sigaction action;
        ::sigaction(signal, nullptr, &action);
        return action.sa_handler;
    };
    QTemporaryDir dir;
    const auto termination = handlerOf(SIGTERM);
    const auto previous = std::signal(SIGINT, CountSignal);
    ASSERT_TRUE(WriteFileSafely(dir.filePath(QStringLiteral("outer.bin")), [&](const QString& temporary) {
        QFile(temporary).open(QIODevice::WriteOnly);
        return WriteBytesSafely(dir.filePath(QStringLiteral("inner.bin")), "inner");
    }));
    EXPECT_EQ(handlerOf(SIGINT), &CountSignal);
    EXPECT_EQ(handlerOf(SIGTERM), termination);
    std::signal(SIGINT, previous);
    EXPECT_EQ(FilesIn(dir.path()), (QStringList{QStringLiteral("inner.bin"), QStringLiteral("outer.bin")}));

    QTemporaryDir stopped;
    const CChildEnd child = RunInChild([&stopped]() {
        std::signal(SIGINT, SIG_DFL);
        WriteFileSafely(stopped.filePath(QStringLiteral("outer.bin")), [&stopped](const QString&) {
            return WriteFileSafely(stopped.filePath(QStringLiteral("inner.bin")), [](const QString&) {
                ::kill(::getpid(), SIGINT);
                return true;
            });
        });
    });
    EXPECT_TRUE(child.EndedBy(SIGINT));
    EXPECT_EQ(FilesIn(stopped.path()), QStringList());
}

// A disk that fills part-way through a write says so: the short write is followed by one that fails.
TEST(SafeFileWrite, AFileThatStopsGrowingPartWayGivesTheSystemsReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("result.bin"));
    const CChildEnd child = RunInChild([&path]() {
        LimitFileSize(100);
        QString reason;
        const bool written = WriteBytesSafely(path, QByteArray(300, 'x'), &reason);
        ::_exit(!written && reason == QStringLiteral("File too large") ? 0 : 1);
    });
    EXPECT_TRUE(child.ExitedWithZero());
    EXPECT_EQ(FilesIn(dir.path()), QStringList());
}

} // namespace
