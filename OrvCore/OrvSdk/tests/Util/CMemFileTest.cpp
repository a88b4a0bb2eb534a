#include "Util/CMemFile.h"
#include "tests/SdkTestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {
QByteArray Contents(const CMemFile& file)
{
    QByteArray bytes;
    file.CopyToArray(&bytes);
    return bytes;
}

QByteArray LocalPath(const QTemporaryDir& dir, const char* name)
{
    return QFile::encodeName(dir.filePath(QString::fromLatin1(name)));
}
} // namespace

TEST(CMemFile, TextCountsItsTerminatorAndFixesTheMode)
{
    CMemFile file;
    ASSERT_TRUE(file.SetText("abc"));
    EXPECT_EQ(file.GetSize(), 4u);
    EXPECT_EQ(file.GetMode(), int(CMemFile::ModeText));
    EXPECT_EQ(Contents(file), QByteArray("abc", 4));
    const uchar byte = 1;
    EXPECT_FALSE(file.SetData(&byte, 1));
    EXPECT_EQ(file.GetSize(), 4u);
    EXPECT_FALSE(file.SetText(nullptr));
}

TEST(CMemFile, BinaryModeRefusesText)
{
    CMemFile file;
    const uchar bytes[] = {1, 2, 3};
    ASSERT_TRUE(file.SetData(bytes, 3));
    EXPECT_EQ(file.GetMode(), int(CMemFile::ModeBinary));
    EXPECT_FALSE(file.SetText("x"));
    EXPECT_EQ(Contents(file), QByteArray("\x01\x02\x03", 3));
    EXPECT_EQ(file.GetPosition(), 0u);
}

TEST(CMemFile, GrowsWithATenthOfHeadroom)
{
    struct Case
    {
        uint bytes;
        uint32_t capacity;
    };
    const Case cases[] = {{1, 1}, {10, 11}, {100, 110}, {1000, 1100}};
    for (const Case& c : cases) {
        CMemFile file;
        const QByteArray bytes(int(c.bytes), 'x');
        EXPECT_EQ(file.Write(bytes.constData(), 1, c.bytes), c.bytes);
        EXPECT_EQ(file.GetCapacity(), c.capacity) << c.bytes;
        EXPECT_EQ(file.GetSize(), c.bytes);
        EXPECT_EQ(file.GetPosition(), c.bytes);
    }
    // A write that still fits the headroom keeps the buffer.
    CMemFile file;
    file.Write("0123456789", 1, 10);
    file.Write("a", 1, 1);
    EXPECT_EQ(file.GetCapacity(), 11u);
    file.Write("b", 1, 1);
    EXPECT_EQ(file.GetCapacity(), 13u); // 12 + 12 / 10
    EXPECT_EQ(Contents(file), QByteArray("0123456789ab"));
}

TEST(CMemFile, WritesOverwriteAndExtend)
{
    CMemFile file;
    file.Write("abc", 1, 3);
    ASSERT_EQ(file.Seek(2, 0), 0);
    EXPECT_EQ(file.Write("WXYZ", 2, 2), 2u);
    EXPECT_EQ(file.GetSize(), 6u);
    ASSERT_EQ(file.Rewind(), 0);
    EXPECT_EQ(file.Write("!", 1, 1), 1u);
    EXPECT_EQ(file.GetSize(), 6u);
    EXPECT_EQ(file.GetPosition(), 1u);
    EXPECT_EQ(Contents(file), QByteArray("!bWXYZ"));
}

TEST(CMemFile, ReadsWholeItemsOnly)
{
    CMemFile file;
    file.Write("0123456789", 1, 10);
    file.Rewind();
    char out[12] = {};
    EXPECT_EQ(file.Read(out, 4, 3), 2u);
    EXPECT_EQ(file.GetPosition(), 8u);
    EXPECT_EQ(std::memcmp(out, "01234567", 8), 0);
    EXPECT_EQ(file.Read(out, 1, 5), 2u);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(file.Read(out, 1, 1), 0u); // at the size
    file.Rewind();
    EXPECT_EQ(file.Read(out, 0, 4), 0u); // item size 0
    EXPECT_EQ(file.GetPosition(), 0u);
}

TEST(CMemFile, ReadPastTheSizeCopiesNothing)
{
    CMemFile file;
    file.Write("abcd", 1, 4);
    ASSERT_EQ(file.Seek(100, 0), 0);
    char out[8];
    std::memset(out, 0x55, sizeof(out));
    EXPECT_EQ(file.Read(out, 1, 8), 0u);
    EXPECT_EQ(file.GetPosition(), 100u);
    for (char c : out)
        EXPECT_EQ(c, 0x55);
}

TEST(CMemFile, SeekOrigins)
{
    CMemFile file;
    file.Write("abcdef", 1, 6);
    // Each seek follows the one before; a refused origin keeps the position.
    struct Case
    {
        long offset;
        int origin;
        int result;
        uint32_t position;
    };
    const Case cases[] = {
        {2, 0, 0, 2}, {3, 1, 0, 5}, {-1, 1, 0, 4}, {-2, 2, 0, 4}, {0, 2, 0, 6}, {0, 3, -1, 6}, {0, -1, -1, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file.Seek(c.offset, c.origin), c.result) << c.offset << " from " << c.origin;
        EXPECT_EQ(file.GetPosition(), c.position) << c.offset << " from " << c.origin;
    }
}

TEST(CMemFile, SeekBeforeTheStartFailsAndWriteStaysInside)
{
    CMemFile file;
    file.Write("abc", 1, 3);
    EXPECT_EQ(file.Seek(-1, 0), -1);
    EXPECT_EQ(file.Seek(-4, 1), -1);
    EXPECT_EQ(file.Seek(-4, 2), -1);
    EXPECT_EQ(file.GetPosition(), 3u);
    // The refused seek leaves the position where it was, so the write appends.
    EXPECT_EQ(file.Write("d", 1, 1), 1u);
    EXPECT_EQ(Contents(file), QByteArray("abcd"));
}

TEST(CMemFile, WriteAfterSeekPastTheEndZeroFillsTheGap)
{
    CMemFile file;
    const uchar bytes[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    file.SetData(bytes, 8);
    file.SetData(bytes, 2); // size 2, stale bytes still in the buffer
    ASSERT_EQ(file.Seek(6, 0), 0);
    file.Write("Z", 1, 1);
    EXPECT_EQ(Contents(file), QByteArray("ab\0\0\0\0Z", 7));
}

// Small buffers and ones large enough to live in their own pages: growing
// keeps every byte written, grown once or again, and a write past the end
// after growing still zeroes the gap.
TEST(CMemFile, ReserveKeepsTheBytesWritten)
{
    for (uint size : {5u, 4000u, 3u << 20}) {
        CMemFile file;
        QByteArray bytes(int(size), '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7 + 1);
        ASSERT_EQ(file.Write(bytes.constData(), 1, size), size);
        for (uint64_t needed : {uint64_t(size) * 2, uint64_t(size) * 3 + 1}) {
            ASSERT_TRUE(file.Reserve(needed));
            EXPECT_EQ(file.GetCapacity(), uint32_t(needed + needed / 10));
            EXPECT_EQ(std::memcmp(file.GetBuffer(), bytes.constData(), size), 0) << size;
        }
        EXPECT_EQ(Contents(file), bytes);
        ASSERT_EQ(file.Seek(long(size) + 3, 0), 0);
        file.Write("Z", 1, 1);
        EXPECT_EQ(Contents(file), bytes + QByteArray("\0\0\0Z", 4));
    }
}

// Both give the bytes up to the size; the view lies in the file's own buffer.
TEST(CMemFile, BytesAreACopyAndTheViewIsTheBuffer)
{
    CMemFile file;
    EXPECT_TRUE(file.Bytes().isEmpty());
    EXPECT_TRUE(file.View().isEmpty());
    file.Write("abcdef", 1, 6);
    file.Seek(0, 0);
    file.Write("XY", 1, 2);
    EXPECT_EQ(file.Bytes(), QByteArray("XYcdef"));
    EXPECT_NE(file.Bytes().constData(), reinterpret_cast<const char*>(file.GetBuffer()));
    EXPECT_EQ(file.View(), QByteArray("XYcdef"));
    EXPECT_EQ(file.View().constData(), reinterpret_cast<const char*>(file.GetBuffer()));
}

TEST(CMemFile, EmptyWriteChangesNothing)
{
    CMemFile file;
    EXPECT_EQ(file.Write("x", 0, 3), 3u);
    EXPECT_EQ(file.GetCapacity(), 0u);
    EXPECT_EQ(file.GetSize(), 0u);
}

TEST(CMemFile, CopyToNullArrayFails)
{
    CMemFile file;
    EXPECT_FALSE(file.CopyToArray(nullptr));
}

TEST(CMemFile, WriteFileNeedsSomethingStoredAndOneMode)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = LocalPath(dir, "out.bin");

    CMemFile empty;
    EXPECT_FALSE(empty.WriteFile(path.constData(), 1));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.bin"))));

    CMemFile unfixed;
    unfixed.Write("x", 1, 1);
    EXPECT_FALSE(unfixed.WriteFile(path.constData(), 0));

    CMemFile text;
    text.SetText("hi");
    EXPECT_FALSE(text.WriteFile(path.constData(), 1));
    ASSERT_TRUE(text.WriteFile(path.constData(), 2));
    EXPECT_EQ(ReadFileBytes(QFile::decodeName(path)), QByteArray("hi", 3));

    // Setting no bytes allocates nothing: there is still nothing to write.
    CMemFile emptied;
    ASSERT_TRUE(emptied.SetData(reinterpret_cast<const uchar*>(""), 0));
    EXPECT_FALSE(emptied.WriteFile(path.constData(), 1));
    emptied.Write("abc", 1, 3);
    ASSERT_TRUE(emptied.WriteFile(path.constData(), 1));
    EXPECT_EQ(ReadFileBytes(QFile::decodeName(path)), "abc");
}

TEST(CMemFile, WriteFileToAnUnwritablePathFails)
{
    CMemFile file;
    file.SetData(reinterpret_cast<const uchar*>("x"), 1);
    EXPECT_FALSE(file.WriteFile("/nonexistent-folder/x.bin", 1));
    EXPECT_FALSE(file.WriteFile(nullptr, 1));
}

TEST(CMemFile, ReadsAFileWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = LocalPath(dir, "round.bin");
    QByteArray payload;
    for (int i = 0; i < 1000; ++i)
        payload.append(char(i * 7));

    ASSERT_TRUE(WriteFileBytes(QFile::decodeName(path), payload));

    EXPECT_EQ(CMemFile::GetFileSize(path.constData(), "rb"), 1000);
    CMemFile in;
    ASSERT_TRUE(in.ReadFile(path.constData(), 1));
    EXPECT_EQ(in.GetMode(), 1);
    EXPECT_EQ(Contents(in), payload);
    EXPECT_FALSE(in.ReadFile(path.constData(), 1)); // the mode is fixed now
}

TEST(CMemFile, ReadingAMissingFileFailsAndKeepsTheMode)
{
    CMemFile file;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(file.ReadFile("/nonexistent-folder/missing.bin", 2));
    EXPECT_EQ(CMemFile::GetFileSize("/nonexistent-folder/missing.bin", "rb"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string("Catastrophic error!\nCatastrophic error!\n"));
    EXPECT_EQ(file.GetMode(), 2);
    EXPECT_EQ(file.GetSize(), 0u);
}

TEST(CMemFile, ReadsAnEmptyFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = LocalPath(dir, "empty.bin");
    ASSERT_TRUE(WriteFileBytes(QFile::decodeName(path), QByteArray()));
    CMemFile file;
    EXPECT_TRUE(file.ReadFile(path.constData(), 1));
    EXPECT_EQ(file.GetSize(), 0u);
}
