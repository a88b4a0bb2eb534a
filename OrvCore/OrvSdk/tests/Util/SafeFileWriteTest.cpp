// Result files appear complete or not at all, and never damage the file they would replace.
#include "Util/SafeFileWrite.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
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
        QFile partial(file);
        partial.open(QIODevice::WriteOnly);
        partial.write("half");
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
    for (const int signal : {SIGTERM, SIGINT}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("result.bin"));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            WriteFileSafely(path, [signal](const QString& temporary) {
                QFile partial(temporary);
                if (partial.open(QIODevice::WriteOnly))
                    partial.write("half");
                partial.close();
                ::kill(::getpid(), signal);
                return true;
            });
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(FilesIn(dir.path()), QStringList()) << signal;
    }
}

} // namespace
