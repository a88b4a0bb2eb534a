// The composer's rules that the translators never reach alone.
#include "CSmsComposer.h"
#include "CTddTemplate.h"
#include "MessraTestSupport.h"
#include "UserDataReader.h"
#include <gtest/gtest.h>

using namespace MessraTest;

namespace {
CSourceEncodingType Format(int code)
{
    CSourceEncodingType format;
    if (code == 0)
        format.SetIso8859_1();
    else if (code == 2)
        format.SetUcs2();
    return format;
}

CSmsItem Text(const char* text)
{
    CSmsItem item;
    QString messages;
    EXPECT_TRUE(item.SetContent(QStringLiteral("TXT"), QString(), QString::fromLatin1(text), QString(), false, 1,
                                nullptr, messages, 0));
    return item;
}

CSmsItem Predefined(const char* type, const char* number)
{
    CSmsItem item;
    QString messages;
    EXPECT_TRUE(item.SetContent(QString::fromLatin1(type), QStringLiteral("PRE"), QString::fromLatin1(number),
                                QString(), false, 1, nullptr, messages, 0));
    return item;
}
} // namespace

TEST(Composer, SingleFileModeNeedsAContentType)
{
    // A predefined sound may go alone, but no TDD content type names it.
    CSmsComposer composer;
    composer.SetTextFormat(Format(0), CSmsComposer::MODE_TDD_SINGLE);
    const CSmsItem sound = Predefined("IMY", "3");
    ASSERT_TRUE(sound.IsTddSingleUsable());
    ASSERT_TRUE(composer.AddItem(sound));
    QList<QByteArray> chunks;
    EXPECT_FALSE(composer.Export(chunks));
    EXPECT_TRUE(chunks.isEmpty());
}

TEST(Composer, SingleFileModeTakesOneItem)
{
    TempFolder folder;
    CSmsItem::SetMaxMediaSize(100);
    folder.Write("a.vox", Filled(10, 1));
    CSmsItem clip;
    QString messages;
    ASSERT_TRUE(clip.SetContent(QStringLiteral("VOX"), QStringLiteral("USR"), QStringLiteral("a.vox"), folder.Path(),
                                false, 1, nullptr, messages, 0));
    CSmsComposer composer;
    composer.SetTextFormat(Format(0), CSmsComposer::MODE_TDD_SINGLE);
    EXPECT_TRUE(composer.AddItem(clip));
    EXPECT_FALSE(composer.AddItem(clip));
}

TEST(Composer, RefusesItemsBeforeItsFormatAndAFilledList)
{
    CSmsComposer composer;
    EXPECT_FALSE(composer.AddItem(Text("a")));
    composer.SetTextFormat(Format(0), CSmsComposer::MODE_EMS);
    ASSERT_TRUE(composer.AddItem(Text("a")));
    QList<QByteArray> chunks{QByteArray("old")};
    EXPECT_FALSE(composer.Export(chunks));
    EXPECT_EQ(chunks.size(), 1);
    chunks.clear();
    EXPECT_TRUE(composer.Export(chunks));
    EXPECT_EQ(chunks.size(), 1);
}

TEST(Composer, EmsModeRefusesItemsOfOtherMessages)
{
    TempFolder folder;
    CSmsItem::SetMaxMediaSize(1000);
    folder.Write("a.qbr", Media::OneLineMelody(4));
    CSmsItem melody;
    QString messages;
    ASSERT_TRUE(melody.SetContent(QStringLiteral("QBR"), QStringLiteral("USR"), QStringLiteral("a.qbr"), folder.Path(),
                                  false, 1, nullptr, messages, 0));
    ASSERT_TRUE(melody.IsEmsUsable());
    CSmsComposer composer;
    composer.SetTextFormat(Format(0), CSmsComposer::MODE_EMS);
    composer.AddItem(Text("hi"));
    composer.AddItem(melody);
    QList<QByteArray> chunks;
    EXPECT_FALSE(composer.Export(chunks));
    EXPECT_TRUE(chunks.isEmpty());
}

TEST(Composer, TitleOctets)
{
    struct Case
    {
        const char* title;
        int format;
        QByteArray codes; // before packing
        int length;
    } cases[] = {
        {"", 0, QByteArray(), 0},
        {"ABCDEFGHIJKLMNOPQ", 0, QByteArray("ABCDEFGHIJKLMNO"), 15},
        // The 15th septet would be an escape without its code.
        {"ABCDEFGHIJKLMN[X", 0, QByteArray("ABCDEFGHIJKLMN"), 14},
        {"ABCDEFGHIJKLM[X", 0, QByteArray("ABCDEFGHIJKLM\x1B\x3C", 15), 15},
    };
    for (const Case& c : cases) {
        QByteArray octets;
        int length = -1;
        CSmsComposer::MakeTitleOctets(QString::fromLatin1(c.title), Format(c.format), octets, length);
        EXPECT_EQ(length, c.length) << c.title;
        EXPECT_EQ(octets, UserDataReader::PackSeptets(c.codes)) << c.title;
    }
    QByteArray octets;
    int length = -1;
    CSmsComposer::MakeTitleOctets(QStringLiteral("ABCDEFG"), Format(2), octets, length);
    EXPECT_EQ(length, 12);
    EXPECT_EQ(octets, QByteArray("A\0B\0C\0D\0E\0F\0", 12));
}

TEST(Composer, TemplateEntryTypes)
{
    CTddTemplate tddTemplate(Format(0));
    QList<CSmsItem> items{Text("abc"), Predefined("IMY", "5"), Predefined("EMA", "2"), Text("")};
    ASSERT_TRUE(tddTemplate.Build(items));
    EXPECT_EQ(tddTemplate.Serialize(), Bytes({0x08, 0x00, 0x03, 0x00, 0x61, 0xF1, 0x18, 0x01, 0x01, 0x00, 0x05, 0x02,
                                              0x01, 0x00, 0x02, 0x00, 0x00, 0x00}));
}
