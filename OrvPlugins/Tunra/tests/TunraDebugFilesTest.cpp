// Debug files: written beside the source, never anywhere else; one that
// cannot be written fails the conversion with the reason.
#include "TunraTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace TunraTest;

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class TunraDebugFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(LoadLanguage());
        source = dir.filePath(QStringLiteral("tune.mid"));
        debug = dir.filePath(QStringLiteral("Debug"));
    }
    void TearDown() override { CLanguageResources::Load(QString()); }

    // Converts a short melody named after the source with debug files on.
    QByteArray Convert(Converter& c, const QString& name)
    {
        Bool(c.parameters, "GenerateDebugFiles")->mValue = true;
        auto melody = Melody({Note(72, 2)}, name);
        return c.Run(melody.get());
    }

    MessageCapture capture;
    QTemporaryDir dir;
    QString source;
    QString debug;
};
} // namespace

TEST_F(TunraDebugFiles, OutputIsWrittenBesideTheSourceInEachEncoding)
{
    Converter ascii("Model_A");
    const QByteArray text = Convert(ascii, source);
    ASSERT_TRUE(ascii.converted);
    EXPECT_EQ(ReadAll(debug + QStringLiteral("/outASCII.imy")), text);
    EXPECT_EQ(ascii.tunra.GetDebugFolder(), debug);

    Converter gsm("Model_B");
    const QByteArray codes = Convert(gsm, source);
    ASSERT_TRUE(gsm.converted);
    EXPECT_EQ(ReadAll(debug + QStringLiteral("/outGSM7.imy")), codes);
    // The earlier conversion's file is gone; the folder holds this one's.
    EXPECT_FALSE(QFile::exists(debug + QStringLiteral("/outASCII.imy")));
}

TEST_F(TunraDebugFiles, OnlyThisConvertersFilesAreRemoved)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Debug/keep")));
    ASSERT_TRUE(WriteAll(debug + QStringLiteral("/notes.txt"), "mine"));
    ASSERT_TRUE(WriteAll(debug + QStringLiteral("/keep/outGSM7.imy"), "nested"));
    ASSERT_TRUE(WriteAll(debug + QStringLiteral("/outGSM7.imy"), "old"));
    Converter c;
    Convert(c, source);
    EXPECT_TRUE(c.converted);
    EXPECT_EQ(ReadAll(debug + QStringLiteral("/notes.txt")), QByteArray("mine"));
    EXPECT_EQ(ReadAll(debug + QStringLiteral("/keep/outGSM7.imy")), QByteArray("nested"));
    EXPECT_FALSE(QFile::exists(debug + QStringLiteral("/outGSM7.imy")));
    EXPECT_TRUE(capture.DebugLines().join(QLatin1Char('|')).contains(QStringLiteral("deleting")));
}

TEST_F(TunraDebugFiles, LinksAreNeverFollowed)
{
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("precious.txt"));
    ASSERT_TRUE(WriteAll(victim, "precious"));

    // A debug file name that links elsewhere: neither removed nor written through; the debug file cannot be
    // written, so the conversion fails and says why.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Debug")));
    ASSERT_TRUE(QFile::link(victim, debug + QStringLiteral("/outASCII.imy")));
    Converter c;
    Convert(c, source);
    EXPECT_FALSE(c.converted);
    EXPECT_TRUE(c.Summary().contains(debug + QStringLiteral("/outASCII.imy"))) << qPrintable(c.Summary());
    EXPECT_EQ(ReadAll(victim), QByteArray("precious"));
    EXPECT_TRUE(QFileInfo(debug + QStringLiteral("/outASCII.imy")).isSymLink());

    // A "Debug" that links to another folder is not used at all.
    QTemporaryDir other;
    const QString linkedSource = other.filePath(QStringLiteral("song.mid"));
    ASSERT_TRUE(QFile::link(elsewhere.path(), other.filePath(QStringLiteral("Debug"))));
    ASSERT_TRUE(WriteAll(elsewhere.filePath(QStringLiteral("outASCII.imy")), "theirs"));
    Converter linked;
    Convert(linked, linkedSource);
    EXPECT_FALSE(linked.converted);
    EXPECT_TRUE(linked.tunra.GetDebugFolder().isEmpty());
    EXPECT_EQ(ReadAll(elsewhere.filePath(QStringLiteral("outASCII.imy"))), QByteArray("theirs"));
}

TEST_F(TunraDebugFiles, NoFilesWithoutASourceName)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    Converter c;
    Convert(c, QString());
    QDir::setCurrent(previous);
    EXPECT_TRUE(c.converted);
    EXPECT_TRUE(c.tunra.IsDebugEnabled());
    EXPECT_TRUE(c.tunra.GetDebugFolder().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(debug));
}

TEST_F(TunraDebugFiles, AFolderThatCannotBeUsedFailsTheConversionWithTheReason)
{
    // "Debug" is taken by a file; a source in a folder that does not exist.
    ASSERT_TRUE(WriteAll(debug, "a file"));
    Converter c;
    const QByteArray out = Convert(c, source);
    EXPECT_FALSE(c.converted);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(c.Summary().contains(debug)) << qPrintable(c.Summary());
    EXPECT_EQ(ReadAll(debug), QByteArray("a file"));

    Converter missing;
    Convert(missing, dir.filePath(QStringLiteral("gone/tune.mid")));
    EXPECT_FALSE(missing.converted);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));
}

TEST_F(TunraDebugFiles, OffMeansNoFolder)
{
    Converter c;
    auto melody = Melody({Note(72, 2)}, source);
    c.Run(melody.get());
    EXPECT_TRUE(c.converted);
    EXPECT_FALSE(c.tunra.IsDebugEnabled());
    EXPECT_FALSE(QFileInfo::exists(debug));
}
