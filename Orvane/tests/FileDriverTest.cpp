#include "ForkedChild.h"
#include "Host/CFileInfo.h"
#include "Host/CLocalFileDriver.h"
#include "Host/CLocalFileInfo.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList Names(const CFileInfoList* list)
{
    QStringList names;
    for (const CFileInfo* item : *list)
        names.append(item->GetFileName());
    return names;
}

// Each test works inside its own folder and puts the current folder back afterwards.
class FileDriverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Dir.isValid());
        m_Saved = QDir::currentPath();
        m_Root = m_Dir.path();
        ASSERT_TRUE(QDir::setCurrent(m_Root));
    }
    void TearDown() override { QDir::setCurrent(m_Saved); }
    QString Path(const char* name) const { return m_Root + QLatin1Char('/') + QString::fromLatin1(name); }

    QTemporaryDir m_Dir;
    QString m_Saved;
    QString m_Root;
    CLocalFileDriver m_Driver;
};

TEST_F(FileDriverTest, EntryListMatchesLettersOfEitherCaseAndSkipsDots)
{
    for (const char* name : {"b.so", "A.SO", "c.So", "d.dll", "notes"})
        WriteBytes(Path(name), "x");
    QDir(m_Root).mkdir(QStringLiteral("sub.so"));

    const int byNameIgnoringCase = CFileDriver::SORT_NAME | CFileDriver::SORT_IGNORE_CASE;
    EXPECT_EQ(Names(m_Driver.GetEntryList(QStringLiteral("*.so"), CFileDriver::FILES, byNameIgnoringCase)),
              (QStringList{QStringLiteral("A.SO"), QStringLiteral("b.so"), QStringLiteral("c.So")}));
    EXPECT_EQ(Names(m_Driver.GetEntryList(QStringLiteral("*.SO"), CFileDriver::DIRS, byNameIgnoringCase)),
              QStringList{QStringLiteral("sub.so")});
    EXPECT_EQ(m_Driver.GetEntryList(QString(), CFileDriver::FILES | CFileDriver::DIRS, byNameIgnoringCase)->count(), 6);
    EXPECT_EQ(Names(m_Driver.GetEntryList(QStringLiteral("*.dll;notes"), CFileDriver::FILES, byNameIgnoringCase)),
              (QStringList{QStringLiteral("d.dll"), QStringLiteral("notes")}));
    // Unsorted with folders first, and both kinds: never "." or "..".
    const QStringList all = Names(m_Driver.GetEntryList(QString(), 3, 0x43));
    EXPECT_EQ(all.size(), 6);
    EXPECT_FALSE(all.contains(QStringLiteral(".")));
    EXPECT_FALSE(all.contains(QStringLiteral("..")));
    EXPECT_EQ(all.first(), QStringLiteral("sub.so"));
}

TEST_F(FileDriverTest, ListingItemsCarryAbsolutePaths)
{
    WriteBytes(Path("song.mid.bak"), "12345");
    const CFileInfoList* list = m_Driver.GetEntryList(QStringLiteral("*.bak"), CFileDriver::FILES, 0);
    ASSERT_EQ(list->count(), 1);
    const CFileInfo* item = list->at(0);
    EXPECT_EQ(item->GetFilePath(), Path("song.mid.bak"));
    EXPECT_EQ(item->GetBaseName(false), QStringLiteral("song"));
    EXPECT_EQ(item->GetBaseName(true), QStringLiteral("song.mid"));
    EXPECT_EQ(item->GetExtension(false), QStringLiteral("bak"));
    EXPECT_EQ(item->GetExtension(true), QStringLiteral("mid.bak"));
    EXPECT_EQ(item->GetSize(), 5u);
    EXPECT_TRUE(item->IsFile());
    EXPECT_FALSE(item->IsDir());
    EXPECT_EQ(list->at(1), nullptr);
    EXPECT_EQ(list->at(-1), nullptr);
}

TEST_F(FileDriverTest, FolderItemsOutliveLaterFolderListings)
{
    QDir(m_Root).mkpath(QStringLiteral("outer/inner"));
    const CFileInfoList* top = m_Driver.GetDirList();
    ASSERT_EQ(top->count(), 1);
    CFileInfo* outer = top->at(0);
    ASSERT_TRUE(m_Driver.SetCurrentDir(outer->GetFilePath()));
    EXPECT_EQ(Names(m_Driver.GetDirList()), QStringList{QStringLiteral("inner")});
    EXPECT_EQ(outer->GetFileName(), QStringLiteral("outer"));
}

TEST_F(FileDriverTest, WriteAppendsAndCreateEmptiesFirst)
{
    const QString path = Path("out.bin");
    const unsigned char first[] = {1, 2, 3};
    const unsigned char second[] = {4, 5};
    EXPECT_TRUE(m_Driver.WriteFile(path, first, 3));
    EXPECT_TRUE(m_Driver.WriteFile(path, second, 2));
    EXPECT_EQ(ReadFileBytes(path), QByteArray("\x01\x02\x03\x04\x05", 5));
    EXPECT_TRUE(m_Driver.CreateEmptyFile(path));
    EXPECT_EQ(m_Driver.GetFileSize(path), 0u);
    EXPECT_TRUE(m_Driver.WriteFile(path, second, 2));
    EXPECT_TRUE(m_Driver.WriteFile(path, first, 3));
    EXPECT_TRUE(m_Driver.WriteFile(path, nullptr, 0));
    EXPECT_FALSE(m_Driver.WriteFile(path, nullptr, 1));
    EXPECT_EQ(ReadFileBytes(path), QByteArray("\x04\x05\x01\x02\x03", 5));
    EXPECT_FALSE(m_Driver.WriteFile(Path("missing/out.bin"), first, 3));
    EXPECT_FALSE(m_Driver.CreateEmptyFile(Path("missing/out.bin")));
    EXPECT_TRUE(m_Driver.RemoveFile(path));
    EXPECT_FALSE(m_Driver.Exists(path));
    EXPECT_EQ(m_Driver.GetFileSize(path), 0u);
}

// Under a file size limit the block that does not fit is a failure; what fitted stays at the end of the file.
TEST_F(FileDriverTest, AWriteCutByTheFileSizeLimitFails)
{
    const QString path = Path("out.bin");
    const unsigned char first[] = {1, 2, 3};
    const unsigned char second[] = {4, 5, 6, 7, 8};
    const CChildEnd end = RunInChild([&] {
        LimitFileSize(6);
        const bool firstFits = m_Driver.WriteFile(path, first, 3);
        const bool secondFits = m_Driver.WriteFile(path, second, 5);
        ::_exit(firstFits && !secondFits ? 0 : 1);
    });
    EXPECT_TRUE(end.ExitedWithZero()) << end.err.constData();
    EXPECT_EQ(ReadFileBytes(path), QByteArray("\x01\x02\x03\x04\x05\x06", 6));
}

TEST_F(FileDriverTest, ReadFileResults)
{
    WriteBytes(Path("empty"), QByteArray());
    WriteBytes(Path("data"), "abcd");
    uint32_t size = 99;
    EXPECT_EQ(m_Driver.ReadFile(Path("empty"), &size), nullptr);
    EXPECT_EQ(size, 0u);
    size = 99;
    EXPECT_EQ(m_Driver.ReadFile(Path("missing"), &size), nullptr);
    EXPECT_EQ(size, 0u);

    std::unique_ptr<unsigned char[]> owned(m_Driver.ReadFile(Path("data"), &size));
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(owned.get()), int(size)), QByteArray("abcd"));

    unsigned char buffer[8] = {};
    EXPECT_EQ(m_Driver.ReadFile(Path("data"), &size, buffer, sizeof buffer), buffer);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buffer[3], 'd');
    // A buffer too small for the file is refused rather than overrun.
    unsigned char small[3] = {7, 7, 7};
    EXPECT_EQ(m_Driver.ReadFile(Path("data"), &size, small, sizeof small), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(small[0], 7);
    // The size pointer may be null.
    std::unique_ptr<unsigned char[]> again(m_Driver.ReadFile(Path("data"), nullptr));
    EXPECT_NE(again, nullptr);
}

TEST_F(FileDriverTest, CurrentFolderAndCdUp)
{
    QDir(m_Root).mkdir(QStringLiteral("child"));
    EXPECT_TRUE(m_Driver.SetCurrentDir(Path("child")));
    EXPECT_EQ(m_Driver.GetCurrentDir(), Path("child"));
    EXPECT_TRUE(m_Driver.CdUp());
    EXPECT_EQ(m_Driver.GetCurrentDir(), m_Root);
    EXPECT_FALSE(m_Driver.SetCurrentDir(Path("absent")));
    EXPECT_FALSE(m_Driver.SetCurrentDir(QString()));
    EXPECT_EQ(m_Driver.GetCurrentDir(), m_Root);

    ASSERT_TRUE(m_Driver.SetCurrentDir(QStringLiteral("/")));
    EXPECT_FALSE(m_Driver.CdUp());
    EXPECT_EQ(m_Driver.GetCurrentDir(), QStringLiteral("/"));
    const CFileInfoList* drives = m_Driver.GetDrives();
    ASSERT_GE(drives->count(), 1);
    EXPECT_TRUE(drives->at(0)->IsDir());
}

TEST_F(FileDriverTest, FileInfoEqualityIsExact)
{
    CLocalFileInfo a(Path("Tune.mid"));
    CLocalFileInfo b(Path("Tune.mid"));
    CLocalFileInfo c(Path("tune.mid"));
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_FALSE(a.IsEqual(&c));
    EXPECT_FALSE(a.IsEqual(nullptr));
    std::unique_ptr<CFileInfo> clone(a.Clone());
    EXPECT_TRUE(a.IsEqual(clone.get()));
    EXPECT_EQ(a.GetDirPath(), m_Root);
    EXPECT_FALSE(a.IsFile());
    WriteBytes(Path("Tune.mid"), "x");
    EXPECT_TRUE(a.IsFile());
    EXPECT_TRUE(a.IsReadable());
}

} // namespace
