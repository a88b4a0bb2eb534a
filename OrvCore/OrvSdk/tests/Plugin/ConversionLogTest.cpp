#include "Plugin/CConversionLog.h"
#include "tests/SdkTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ConversionLog, StartsEmptyWithItsOwnClassName)
{
    CConversionLog log;
    EXPECT_TRUE(log.GetSummaryText().isEmpty());
    EXPECT_TRUE(log.GetDetailedText().isEmpty());
    EXPECT_STREQ(log.metaObject()->className(), "CConversionLog");
}

TEST(ConversionLog, FlagsChooseTheTexts)
{
    struct Case
    {
        int flags;
        const char* summary;
        const char* detailed;
    };
    // Both texts start as "s" and "d"; the text added is "+".
    const Case cases[] = {
        {0, "s", "d"},   {1, "s+", "d"}, {2, "s", "d+"},
        {3, "s+", "d+"}, {4, "s", "d"}, // clearing without a target changes nothing
        {5, "+", "d"},   {6, "s", "+"},  {7, "+", "+"},
    };
    for (const Case& c : cases) {
        CConversionLog log;
        log.AddText(1, QStringLiteral("s"));
        log.AddText(2, QStringLiteral("d"));
        log.AddText(c.flags, QStringLiteral("+"));
        EXPECT_EQ(log.GetSummaryText(), QString::fromLatin1(c.summary)) << "flags " << c.flags;
        EXPECT_EQ(log.GetDetailedText(), QString::fromLatin1(c.detailed)) << "flags " << c.flags;
    }
}

TEST(ConversionLog, AppendsWithoutSeparators)
{
    CConversionLog log;
    log.AddText(3, QStringLiteral("one"));
    log.AddText(3, QStringLiteral("two\n"));
    log.AddText(1, QStringLiteral("three"));
    EXPECT_EQ(log.GetSummaryText(), QStringLiteral("onetwo\nthree"));
    EXPECT_EQ(log.GetDetailedText(), QStringLiteral("onetwo\n"));
}

TEST(ConversionLog, EmptySummarySavesOneZeroByte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("empty.log"));
    CConversionLog log;
    log.AddText(2, QStringLiteral("detailed text is never saved"));
    log.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), QByteArray(1, '\0'));
}

TEST(ConversionLog, SavesTheSummaryAsLatin1AndReplacesTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("summary.log"));
    ASSERT_TRUE(WriteFileBytes(path, QByteArray(100, 'x')));
    CConversionLog log;
    log.AddText(1, QString::fromUtf8("caf\xC3\xA9\n"));
    log.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), QByteArray("caf\xE9\n\0", 6));
}

TEST(ConversionLog, UnwritablePathIsIgnored)
{
    CConversionLog log;
    log.AddText(1, QStringLiteral("text"));
    log.SaveToFile(QStringLiteral("/nonexistent-folder/run.log"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/nonexistent-folder/run.log")));
}
