// Result files appear complete or not at all, and never damage the file they would replace.
#include "Engine/SafeFileWrite.h"
#include "EngineTestSupport.h"
#include "QtPrinters.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SafeFileWrite, ReplacesAnExistingFileByExactlyTheNewBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("result.bin"));
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray(100, 'o')));
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray("new", 3)));
    EXPECT_EQ(ReadAll(path), "new");
    ASSERT_TRUE(WriteBytesSafely(path, QByteArray()));
    EXPECT_EQ(ReadAll(path), "");
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
    EXPECT_EQ(ReadAll(path), "old");
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

} // namespace
