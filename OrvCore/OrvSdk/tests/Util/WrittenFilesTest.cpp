// A record of what a source did to files puts every file back as the source found it.
#include "ForkedChild.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include "Util/SafeFileWrite.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class WrittenFilesTest : public ::testing::Test
{
protected:
    QString P(const char* name) const { return m_Dir.filePath(QString::fromLatin1(name)); }
    void SetUp() override
    {
        ASSERT_TRUE(m_Dir.isValid());
        for (const char* name : {"replaced.bin", "appended.bin", "removed.bin", "untouched.bin"})
            ASSERT_TRUE(WriteFileBytes(P(name), QByteArray("old ") + name));
        ASSERT_TRUE(QFile::link(P("replaced.bin"), P("link.bin")));
    }
    // Replaces, appends to, removes and creates files as a source may, through every writer that notes.
    void DoEverything()
    {
        ASSERT_TRUE(WriteBytesSafely(P("link.bin"), "new"));
        ASSERT_TRUE(WriteBytesSafely(P("replaced.bin"), "newer"));
        ASSERT_TRUE(AppendBytesToFile(P("appended.bin"), "+more"));
        ASSERT_TRUE(RemoveFileNoted(P("removed.bin")));
        ASSERT_TRUE(QDir(m_Dir.path()).mkdir(QStringLiteral("Debug")));
        NoteCreatedFolder(P("Debug"));
        ASSERT_TRUE(WriteBytesSafely(P("Debug/trace.txt"), "trace"));
        ASSERT_TRUE(AppendBytesToFile(P("created.bin"), "c"));
        EXPECT_FALSE(WriteBytesSafely(P("missing/x.bin"), "no"));
    }
    QTemporaryDir m_Dir;
};

TEST_F(WrittenFilesTest, PuttingBackLeavesEveryFileAsItWas)
{
    const QStringList before = FilesIn(m_Dir.path());
    {
        CWrittenFiles record;
        DoEverything();
        EXPECT_EQ(record.Paths(), (QStringList{P("replaced.bin"), P("appended.bin"), P("removed.bin"),
                                               P("Debug/trace.txt"), P("created.bin")}));
        record.PutBack();
        EXPECT_TRUE(record.Paths().isEmpty());
    }
    EXPECT_EQ(FilesIn(m_Dir.path()), before);
    for (const char* name : {"replaced.bin", "appended.bin", "removed.bin", "untouched.bin"})
        EXPECT_EQ(ReadFileBytes(P(name)), QByteArray("old ") + name) << name;
    EXPECT_TRUE(QFileInfo(P("link.bin")).isSymLink());
}

TEST_F(WrittenFilesTest, ARecordThatEndsKeepsWhatWasWrittenAndNoOldFile)
{
    {
        CWrittenFiles record;
        DoEverything();
    }
    EXPECT_EQ(FilesIn(m_Dir.path()), (QStringList{QStringLiteral("Debug"), QStringLiteral("appended.bin"),
                                                  QStringLiteral("created.bin"), QStringLiteral("link.bin"),
                                                  QStringLiteral("replaced.bin"), QStringLiteral("untouched.bin")}));
    EXPECT_EQ(ReadFileBytes(P("replaced.bin")), "newer");
    EXPECT_EQ(ReadFileBytes(P("appended.bin")), "old appended.bin+more");
}

// An inner record put back leaves the outer one able to put back its own start; one that ends leaves it all to
// the outer one.
TEST_F(WrittenFilesTest, NestedRecordsEachPutBackTheirOwnStart)
{
    CWrittenFiles outer;
    ASSERT_TRUE(WriteBytesSafely(P("replaced.bin"), "outer"));
    {
        CWrittenFiles inner;
        ASSERT_TRUE(WriteBytesSafely(P("replaced.bin"), "inner"));
        ASSERT_TRUE(AppendBytesToFile(P("appended.bin"), "+inner"));
        inner.PutBack();
    }
    EXPECT_EQ(ReadFileBytes(P("replaced.bin")), "outer");
    EXPECT_EQ(ReadFileBytes(P("appended.bin")), "old appended.bin");
    {
        CWrittenFiles inner;
        ASSERT_TRUE(AppendBytesToFile(P("appended.bin"), "+kept"));
    }
    outer.PutBack();
    EXPECT_EQ(ReadFileBytes(P("replaced.bin")), "old replaced.bin");
    EXPECT_EQ(ReadFileBytes(P("appended.bin")), "old appended.bin");
    EXPECT_EQ(FilesIn(m_Dir.path()),
              (QStringList{QStringLiteral("appended.bin"), QStringLiteral("link.bin"), QStringLiteral("removed.bin"),
                           QStringLiteral("replaced.bin"), QStringLiteral("untouched.bin")}));
}

// A run stopped while a record keeps old files leaves none of them: what the source wrote stays whole.
TEST_F(WrittenFilesTest, AStopLeavesNoKeptFile)
{
    const CChildEnd end = RunInChild([this] {
        std::signal(SIGTERM, SIG_DFL);
        CWrittenFiles record;
        if (WriteBytesSafely(P("replaced.bin"), "new") && AppendBytesToFile(P("appended.bin"), "+"))
            std::raise(SIGTERM);
    });
    EXPECT_TRUE(end.EndedBy(SIGTERM));
    EXPECT_EQ(FilesIn(m_Dir.path()),
              (QStringList{QStringLiteral("appended.bin"), QStringLiteral("link.bin"), QStringLiteral("removed.bin"),
                           QStringLiteral("replaced.bin"), QStringLiteral("untouched.bin")}));
    EXPECT_EQ(ReadFileBytes(P("replaced.bin")), "new");
}

} // namespace
