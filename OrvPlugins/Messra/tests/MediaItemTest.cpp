// Media items: classification, reading files within the limit, content checks.
#include "CSmsItem.h"
#include "MessraTestSupport.h"
#include "Plugin/CRunFiles.h"
#include "SmsMelodyCut.h"
#include "Text/CLanguageResources.h"
#include <QDir>
#include <gtest/gtest.h>

using namespace MessraTest;

namespace {
struct Built
{
    bool result = false;
    CSmsItem item;
    QString messages;
};

class MediaItemTest : public ::testing::Test
{
protected:
    void SetUp() override { CSmsItem::SetMaxMediaSize(1000); }

    Built Make(const char* type, const char* stype, const QString& ref, bool truncate = false, int packets = 1,
               CProfile* profile = nullptr)
    {
        Built built;
        built.result = built.item.SetContent(QString::fromLatin1(type), QString::fromLatin1(stype), ref, folder.Path(),
                                             truncate, packets, profile, built.messages, 0);
        return built;
    }
    Built MakeFile(const char* type, const char* stype, const QByteArray& content)
    {
        folder.Write("media.bin", content);
        return Make(type, stype, QStringLiteral("media.bin"));
    }

    TempFolder folder;
};
} // namespace

TEST_F(MediaItemTest, ClassificationOfEveryEntryKind)
{
    struct Case
    {
        const char* type;
        const char* stype;
        QByteArray file;
        int kind;
        bool ems, single, tmpl;
        QByteArray content;
    };
    const QByteArray melody = Media::IMelody("c2d2e2");
    const QByteArray picture = Media::PictureBody(16, 16);
    const QByteArray animation = Media::Animation(
        {Media::PictureBody(8, 8), Media::PictureBody(8, 8), Media::PictureBody(8, 8), Media::PictureBody(8, 8)});
    const Case cases[] = {
        {"EMP", "LRG", Filled(128, 1), CSmsItem::LARGE_PICTURE, true, false, false, Filled(128, 1)},
        {"EMP", "SML", Filled(32, 2), CSmsItem::SMALL_PICTURE, true, false, false, Filled(32, 2)},
        {"EMP", "SML", Filled(33, 2), CSmsItem::SMALL_PICTURE, false, false, false, Filled(33, 2)},
        {"EMP", "USR", Bytes({0x04, 0x20}) + Filled(128, 3), CSmsItem::LARGE_PICTURE, true, false, false,
         Filled(128, 3)},
        {"EMP", "USR", Bytes({0x02, 0x10}) + Filled(32, 4), CSmsItem::SMALL_PICTURE, true, false, false, Filled(32, 4)},
        {"EMA", "LRG", Filled(128, 5), CSmsItem::LARGE_ANIMATION, true, false, false, Filled(128, 5)},
        {"EMA", "SML", Filled(32, 6), CSmsItem::SMALL_ANIMATION, true, false, false, Filled(32, 6)},
        {"EMA", "USR", Filled(32, 7), CSmsItem::SMALL_ANIMATION, true, false, false, Filled(32, 7)},
        {"EMA", "USR", Filled(128, 7), CSmsItem::LARGE_ANIMATION, true, false, false, Filled(128, 7)},
        {"EMA", "USR", Filled(64, 7), CSmsItem::SMALL_ANIMATION, false, false, false, Filled(64, 7)},
        {"IMY", "USR", melody, CSmsItem::IMELODY, true, true, true, melody},
        {"IMY", "USR", Filled(129, 'c'), CSmsItem::IMELODY, false, true, true, Filled(129, 'c')},
        {"SEQ", "X", Filled(500, 8), CSmsItem::POLYPHONIC_SEQUENCE, false, true, false, Filled(500, 8)},
        {"VOX", "USR", Filled(700, 9), CSmsItem::SPEECH_CLIP, false, true, false, Filled(700, 9)},
        {"QBR", "USR", Media::OneLineMelody(10), CSmsItem::ONE_LINE_MELODY, true, true, true, Media::OneLineMelody(10)},
        {"QBR", "USR", Media::OneLineMelody(100), CSmsItem::ONE_LINE_MELODY, false, true, false,
         Media::OneLineMelody(100)},
        {"PIC", "USR", picture, CSmsItem::PICTURE, true, true, true, picture},
        {"ANI", "ANY", animation, CSmsItem::ANIMATION, true, true, true, animation},
    };
    for (const Case& c : cases) {
        const Built built = MakeFile(c.type, c.stype, c.file);
        SCOPED_TRACE(std::string(c.type) + "/" + c.stype + " size " + std::to_string(c.file.size()));
        EXPECT_TRUE(built.result);
        EXPECT_TRUE(built.item.IsValid());
        EXPECT_EQ(built.item.GetType(), c.kind);
        EXPECT_EQ(built.item.IsEmsUsable(), c.ems);
        EXPECT_EQ(built.item.IsTddSingleUsable(), c.single);
        EXPECT_EQ(built.item.IsTddTemplateUsable(), c.tmpl);
        EXPECT_EQ(built.item.GetContent(), c.content);
        const bool checkedFile = QByteArray("SEQ VOX").indexOf(c.type) < 0;
        EXPECT_EQ(built.messages,
                  checkedFile && !c.ems ? QStringLiteral("media.bin : File is not EMS compatible\n") : QString());
    }
}

TEST_F(MediaItemTest, TextAndPredefinedEntries)
{
    const Built text = Make("TXT", "", QStringLiteral("Hello"));
    EXPECT_TRUE(text.result);
    EXPECT_TRUE(text.item.IsText());
    EXPECT_EQ(text.item.GetText(), QStringLiteral("Hello"));
    EXPECT_TRUE(text.item.IsEmsUsable());
    EXPECT_FALSE(text.item.IsTddSingleUsable());
    EXPECT_TRUE(text.item.IsTddTemplateUsable());

    struct Case
    {
        const char* type;
        const char* ref;
        int kind;
        bool ems, single;
    } cases[] = {
        {"IMY", "9", CSmsItem::PREDEFINED_SOUND, true, true},
        {"IMY", "0", CSmsItem::PREDEFINED_SOUND, true, true},
        {"IMY", "10", CSmsItem::PREDEFINED_SOUND, false, true},
        {"IMY", "-1", CSmsItem::PREDEFINED_SOUND, false, true},
        {"IMY", "two", CSmsItem::PREDEFINED_SOUND, false, true},
        {"EMA", "5", CSmsItem::PREDEFINED_ANIMATION, true, false},
        {"EMA", "6", CSmsItem::PREDEFINED_ANIMATION, false, false},
    };
    for (const Case& c : cases) {
        const Built built = Make(c.type, "PRE", QString::fromLatin1(c.ref));
        SCOPED_TRACE(std::string(c.type) + " " + c.ref);
        EXPECT_TRUE(built.result);
        EXPECT_EQ(built.item.GetType(), c.kind);
        EXPECT_EQ(built.item.IsEmsUsable(), c.ems);
        EXPECT_EQ(built.item.IsTddTemplateUsable(), c.ems);
        EXPECT_EQ(built.item.IsTddSingleUsable(), c.single);
        EXPECT_EQ(built.item.GetContent(), c.ems ? QByteArray(1, char(atoi(c.ref))) : QByteArray());
    }
}

TEST_F(MediaItemTest, UnknownTypesAndSubTypes)
{
    const Built unknown = Make("JPG", "USR", QStringLiteral("x.jpg"));
    EXPECT_FALSE(unknown.result);
    EXPECT_EQ(unknown.item.GetType(), CSmsItem::UNKNOWN_TYPE);
    EXPECT_EQ(unknown.messages, QStringLiteral("JPG: unknown media type\n"));

    const Built picture = Make("PIC", "LRG", QStringLiteral("x.pic"));
    EXPECT_FALSE(picture.result);
    EXPECT_EQ(picture.messages, QStringLiteral("PIC: unknown media type\n"));

    for (const char* type : {"EMP", "EMA", "IMY"}) {
        folder.Write("x.bin", Filled(32, 1));
        const Built built = Make(type, "BIG", QStringLiteral("x.bin"));
        EXPECT_FALSE(built.result) << type;
        EXPECT_EQ(built.item.GetType(), CSmsItem::UNKNOWN_TYPE) << type;
        EXPECT_FALSE(built.item.IsEmsUsable()) << type;
        EXPECT_EQ(built.messages, QStringLiteral("x.bin : File is not valid!\n")) << type;
    }
}

TEST_F(MediaItemTest, VariablePictures)
{
    struct Case
    {
        QByteArray file;
        bool ems;
        int widthOctet; // as sent
    } cases[] = {
        {Bytes({2, 8}) + Filled(16, 1), true, 2},     // width in octets
        {Bytes({16, 8}) + Filled(16, 1), true, 2},    // 16 pixels: sent as 2 octets
        {Bytes({72, 14}) + Filled(126, 1), true, 9},  // the largest in pixels
        {Bytes({12, 8}) + Filled(12, 1), false, 12},  // 12 pixels is no whole octet
        {Bytes({2, 8}) + Filled(15, 1), false, 2},    // one pixel octet short
        {Bytes({9, 15}) + Filled(135, 1), false, 9},  // too large
        {Bytes({34, 16}) + Filled(32, 1), false, 34}, // never taken for 2 octets
        {Bytes({5}), false, 5},                       // no height
        {QByteArray(), false, -1},                    // empty
    };
    for (const Case& c : cases) {
        const Built built = MakeFile("EMP", "USR", c.file);
        SCOPED_TRACE(c.file.left(2).toHex().toStdString());
        EXPECT_TRUE(built.result);
        EXPECT_EQ(built.item.GetType(), CSmsItem::VARIABLE_PICTURE);
        EXPECT_EQ(built.item.IsEmsUsable(), c.ems);
        if (c.widthOctet >= 0) {
            EXPECT_EQ(uchar(built.item.GetContent().at(0)), c.widthOctet);
            EXPECT_EQ(built.item.GetContent().mid(1), c.file.mid(1));
        }
    }
}

TEST_F(MediaItemTest, PicturesOfTheMakersFormat)
{
    struct Case
    {
        QByteArray file;
        bool ems;
    } cases[] = {
        {Media::PictureBody(16, 16), true},
        {Media::PictureBody(32, 32), true},                       // 128 octets: allowed as the large size
        {Media::PictureBody(72, 14), true},                       // 126 octets
        {Media::PictureBody(72, 15), false},                      // 144 octets
        {Media::PictureBody(16, 16).left(20), false},             // body shorter than its size says
        {Bytes({0x00, 0x01, 0x10, 0x10}) + Filled(64, 0), false}, // grey body
        {Bytes({16}), false},
    };
    for (const Case& c : cases) {
        const Built built = MakeFile("PIC", "USR", c.file);
        SCOPED_TRACE(c.file.left(2).toHex().toStdString());
        EXPECT_TRUE(built.result);
        EXPECT_EQ(built.item.IsEmsUsable(), c.ems);
        EXPECT_EQ(built.item.IsTddTemplateUsable(), c.ems);
        EXPECT_TRUE(built.item.IsTddSingleUsable());
    }
}

TEST_F(MediaItemTest, AnimationFrameTables)
{
    const QByteArray frame8 = Media::PictureBody(8, 8);
    const QByteArray four = Media::Animation({frame8, frame8, frame8, frame8});
    QByteArray countPastEnd = four;
    countPastEnd[0] = char(100);
    QByteArray offsetPastEnd = four;
    offsetPastEnd[10] = char(0xFF);
    offsetPastEnd[11] = char(0x0E);
    struct Case
    {
        const char* name;
        QByteArray file;
        bool ems;
    } cases[] = {
        {"four 8x8", four, true},
        {"four 16x16",
         Media::Animation({Media::PictureBody(16, 16), Media::PictureBody(16, 16), Media::PictureBody(16, 16),
                           Media::PictureBody(16, 16)}),
         true},
        {"three", Media::Animation({frame8, frame8, frame8}), false},
        {"five", Media::Animation({frame8, frame8, frame8, frame8, frame8}), false},
        {"width 12", Media::Animation({frame8, frame8, frame8, Media::PictureBody(12, 8)}), false},
        {"table past the end", countPastEnd, false},
        {"offset past the end", offsetPastEnd, false},
        {"last frame cut short", four.left(four.size() - 3), false},
        {"one octet", Bytes({4}), false},
    };
    for (const Case& c : cases) {
        const Built built = MakeFile("ANI", "USR", c.file);
        EXPECT_TRUE(built.result) << c.name;
        EXPECT_EQ(built.item.IsEmsUsable(), c.ems) << c.name;
    }
}

TEST_F(MediaItemTest, MediaSizeLimit)
{
    CSmsItem::SetMaxMediaSize(40);
    folder.Write("exact.bin", Filled(40, 1));
    folder.Write("over.bin", Filled(41, 1));
    EXPECT_TRUE(Make("SEQ", "USR", QStringLiteral("exact.bin")).result);

    const Built over = Make("SEQ", "USR", QStringLiteral("over.bin"));
    EXPECT_FALSE(over.result);
    EXPECT_FALSE(over.item.IsTddSingleUsable());
    const QString path = folder.FilePath(QStringLiteral("over.bin"));
    EXPECT_EQ(over.messages, QStringLiteral("File ") + path + QStringLiteral(" too big!\nMax Size = 40 Bytes\n")
                                 + QStringLiteral("over.bin : File is not valid!\n"));
}

TEST_F(MediaItemTest, ReferencesThatNameNoFile)
{
    QDir(folder.Path()).mkdir(QStringLiteral("sub"));
    for (const char* ref : {"sub", "missing.emp"}) {
        const Built built = Make("EMP", "SML", QString::fromLatin1(ref));
        EXPECT_FALSE(built.result) << ref;
        EXPECT_FALSE(built.item.IsEmsUsable()) << ref;
        EXPECT_EQ(built.messages, QStringLiteral("Can't open file: ") + folder.Path() + QLatin1Char('/')
                                      + QString::fromLatin1(ref) + QStringLiteral("\n") + QString::fromLatin1(ref)
                                      + QStringLiteral(" : File is not valid!\n"));
    }
    // An absolute reference is taken as it stands.
    const QString absolute = folder.Write("abs.emp", Filled(32, 1));
    CSmsItem item;
    QString messages;
    EXPECT_TRUE(item.SetContent(QStringLiteral("EMP"), QStringLiteral("SML"), absolute, QStringLiteral("/nowhere"),
                                false, 1, nullptr, messages, 0));
    EXPECT_TRUE(item.IsEmsUsable());
}

TEST_F(MediaItemTest, MelodiesAreCutWhenAsked)
{
    TempFolder profileFolder;
    auto profile = MakeProfile(profileFolder, 1000);

    folder.Write("long.qbr", Media::OneLineMelody(145));
    ASSERT_EQ(Media::OneLineMelody(145).size(), 301);
    const Built two = Make("QBR", "USR", QStringLiteral("long.qbr"), true, 2, profile.get());
    EXPECT_TRUE(two.result);
    EXPECT_LE(two.item.GetContent().size(), 256);
    EXPECT_GT(two.item.GetContent().size(), 200);
    EXPECT_TRUE(two.item.GetContent().startsWith(".QBR"));
    const QByteArray cut = two.item.GetContent();
    EXPECT_EQ((uchar(cut.at(4)) | (uchar(cut.at(5)) << 8)) + 10, cut.size());
    EXPECT_FALSE(two.item.IsEmsUsable());

    const Built one = Make("QBR", "USR", QStringLiteral("long.qbr"), true, 1, profile.get());
    EXPECT_LE(one.item.GetContent().size(), 128);
    EXPECT_TRUE(one.item.IsEmsUsable());

    const Built uncut = Make("QBR", "USR", QStringLiteral("long.qbr"), false, 1, profile.get());
    EXPECT_EQ(uncut.item.GetContent().size(), 301);

    QByteArray notes;
    for (int i = 0; i < 60; ++i)
        notes += "c2d2";
    folder.Write("long.imy", Media::IMelody(notes));
    const Built melody = Make("IMY", "USR", QStringLiteral("long.imy"), true, 1, profile.get());
    EXPECT_TRUE(melody.result);
    EXPECT_TRUE(melody.item.IsEmsUsable()) << melody.messages.toStdString();
    EXPECT_LE(melody.item.GetContent().size(), 128);
    EXPECT_TRUE(melody.item.GetContent().startsWith("BEGIN:IMELODY"));

    folder.Write("broken.qbr", Bytes({'.', 'Q', 'B', 'R', 9, 0}));
    const Built broken = Make("QBR", "USR", QStringLiteral("broken.qbr"), true, 1, profile.get());
    EXPECT_TRUE(broken.result);
    EXPECT_EQ(broken.messages,
              QStringLiteral("bad size in: ") + folder.FilePath(QStringLiteral("broken.qbr")) + QStringLiteral("\n"));
}

TEST_F(MediaItemTest, AnItemThatIsTheRunLogIsRefusedInTheLanguageFilesWords)
{
    const QString item = folder.Write("media.bin", Media::IMelody("c2d2e2"));
    CRunFiles runFiles;
    runFiles.Add(CRunFiles::RUN_LOG, item);
    runFiles.SetCurrentSource(QStringLiteral("card.ecd"));
    ASSERT_TRUE(CLanguageResources::Load(folder.Write(
        "Other.xml",
        "<Language><class name=\"CSmsTranslator\"><message><string id=\"id_item_unreadable\" "
        "value=\"%1 illisible : %2\"/></message></class><class name=\"CRunFiles\"><message>"
        "<string id=\"id_named_file_is_run_log\" value=\"journal de %1\"/></message></class></Language>")));
    CSmsItem::SetRunFiles(&runFiles);
    const Built built = Make("IMY", "USR", QStringLiteral("media.bin"));
    CSmsItem::SetRunFiles(nullptr);
    CLanguageResources::Load(QString());
    EXPECT_FALSE(built.result);
    EXPECT_TRUE(built.messages.startsWith(item + QStringLiteral(" illisible : journal de card.ecd\n")))
        << built.messages.toStdString();
}

TEST(MelodyCut, ZeroOctetsTravelAsAByteTheMelodyLacks)
{
    EXPECT_EQ(SmsMelodyCut::ZeroStandIn(QByteArray("abc\0", 4)), '@');
    EXPECT_EQ(SmsMelodyCut::ZeroStandIn(QByteArray("a@2\0", 4)), '~');
    QByteArray everything;
    for (int value = 0; value < 256; ++value)
        everything.append(char(value));
    EXPECT_EQ(SmsMelodyCut::ZeroStandIn(everything), '\0');

    // A repeat "@2" is no zero octet: it must come back as it was.
    QByteArray text = Media::IMelody("(c2d2@2)e2");
    text.insert(text.indexOf("\r\nMELODY:") + 2, QByteArray("NAME:a\0b\r\n", 10));
    QByteArray cut = text;
    QString error;
    TempFolder folder;
    auto profile = MakeProfile(folder, 1000);
    ASSERT_TRUE(SmsMelodyCut::Cut(false, cut, 200, profile.get(), error)) << error.toStdString();
    EXPECT_TRUE(cut.contains("@2")) << cut.toStdString();
    EXPECT_TRUE(cut.contains(QByteArray("NAME:a\0b", 8))) << cut.toHex().toStdString();
}
