// The TDD translator end to end: single media files and e-card templates.
#include "CSmsItem.h"
#include "CTranslatorTDD.h"
#include "TranslatorTestSupport.h"
#include <gtest/gtest.h>

using namespace MessraTest;

namespace {
class TddTranslatorTest : public TranslatorFixture<CTranslatorTDD>
{
protected:
    TddTranslatorTest() : TranslatorFixture(5000, "TDDParameters.xml") {}

    Outcome Template(const QByteArray& body, const char* encoding = "ISO-8859-1")
    {
        return Source("card.ecd", Card("TEMPLATE", body, encoding));
    }
};

UserDataReader::TddElement TddOf(const QByteArray& chunk)
{
    const auto found = UserDataReader::ElementsOf(HeaderOf(chunk), 0x80);
    EXPECT_EQ(found.size(), 1u);
    UserDataReader::TddElement tdd;
    if (!found.empty()) {
        EXPECT_TRUE(UserDataReader::ParseTdd(found[0].data, tdd));
    }
    return tdd;
}

QByteArray TextEntry(int septets, char letter)
{
    return Ie("TXT", "T", QByteArray(septets, letter));
}
} // namespace

TEST_F(TddTranslatorTest, OneLineMelodyWithItsName)
{
    const QByteArray melody = Filled(20, 0x3C);
    const Outcome run = Source("ab.qbr", melody);
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    ASSERT_EQ(run.chunks.size(), 1);
    // Title "AB" in two septets packed, content type 1, total 20.
    EXPECT_EQ(run.chunks[0], Bytes({0x08, 0x80, 0x06, 0x02, 0x41, 0x21, 0x01, 0x00, 0x14}) + melody);

    SetBool(*parameters, "Copyrighted", true);
    SetBool(*parameters, "EncodeName", false);
    const Outcome plain = Source("ab.qbr", melody);
    ASSERT_EQ(plain.chunks.size(), 1);
    EXPECT_EQ(plain.chunks[0], Bytes({0x06, 0x80, 0x04, 0x00, 0x81, 0x00, 0x14}) + melody);
}

TEST_F(TddTranslatorTest, TitleFromTheFileName)
{
    const Outcome run = Source("ringtone.qbr", Filled(20, 1));
    ASSERT_TRUE(run.ok);
    const UserDataReader::TddElement tdd = TddOf(run.chunks[0]);
    EXPECT_EQ(tdd.lengthOctet, 8);
    EXPECT_EQ(UserDataReader::UnpackSeptets(tdd.title, 8), QByteArray("RINGTONE"));
}

TEST_F(TddTranslatorTest, SpeechClipOverManyMessages)
{
    QByteArray clip;
    for (int i = 0; i < 2000; ++i)
        clip.append(char(i * 7));
    const Outcome run = Source("voice.vox", clip);
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    ASSERT_GT(run.chunks.size(), 1);
    QByteArray joined;
    for (int i = 0; i < run.chunks.size(); ++i) {
        const UserDataReader::UserData ud = HeaderOf(run.chunks[i]);
        UserDataReader::Concatenation concatenation;
        ASSERT_TRUE(UserDataReader::FindConcatenation(ud, concatenation));
        EXPECT_EQ(concatenation.total, run.chunks.size());
        EXPECT_EQ(concatenation.segment, i + 1);
        const UserDataReader::TddElement tdd = TddOf(run.chunks[i]);
        EXPECT_EQ(tdd.contentType, 3);
        EXPECT_EQ(tdd.total, 2000);
        EXPECT_EQ(UserDataReader::UnpackSeptets(tdd.title, tdd.lengthOctet), QByteArray("VOICE"));
        EXPECT_LE(run.chunks[i].size(), 140);
        joined += ud.body;
    }
    EXPECT_EQ(joined, clip);
}

TEST_F(TddTranslatorTest, ContentTypesOfSingleFiles)
{
    const QByteArray frame = Media::PictureBody(8, 8);
    struct Case
    {
        const char* name;
        QByteArray file;
        int contentType;
    } cases[] = {
        {"a.imy", Media::IMelody("c2"), 0},
        {"b.qbr", Media::OneLineMelody(3), 1},
        {"c.seq", Filled(300, 1), 2},
        {"d.vox", Filled(30, 2), 3},
        {"e.pic", Media::PictureBody(16, 16), 4},
        {"f.ani", Media::Animation({frame, frame}), 5},
    };
    for (const Case& c : cases) {
        const Outcome run = Source(c.name, c.file);
        ASSERT_TRUE(run.ok) << c.name;
        QByteArray joined;
        for (const QByteArray& chunk : run.chunks) {
            EXPECT_EQ(TddOf(chunk).contentType, c.contentType) << c.name;
            joined += HeaderOf(chunk).body;
        }
        EXPECT_EQ(joined, c.file) << c.name;
    }
}

TEST_F(TddTranslatorTest, EmptyFileStillTravels)
{
    const Outcome run = Source("quiet.vox", QByteArray());
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 1);
    EXPECT_EQ(TddOf(run.chunks[0]).total, 0);
    EXPECT_TRUE(HeaderOf(run.chunks[0]).body.isEmpty());
}

TEST_F(TddTranslatorTest, MelodyCutToThePacketCount)
{
    SetBool(*parameters, "TruncateMelody", true);
    parameters->GetIntParameter(QStringLiteral("SMSPaquetCount"))->mValue = 2;
    const Outcome run = Source("long.qbr", Media::OneLineMelody(145));
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    const int total = TddOf(run.chunks[0]).total;
    EXPECT_LE(total, 256);
    EXPECT_GT(total, 200);
}

TEST_F(TddTranslatorTest, TemplateByteExact)
{
    const Outcome run = Template("abc" + Ie("IMY", "PRE", "5") + Ie("EMA", "PRE", "2"));
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    ASSERT_EQ(run.chunks.size(), 1);
    // TDD element: title "CARD" (4 septets), content type 6, total 15; then the template.
    EXPECT_EQ(run.chunks[0], Bytes({0x0A, 0x80, 0x08, 0x04, 0xC3, 0xA0, 0x94, 0x08, 0x06, 0x00, 0x0F, 0x06, 0x00,
                                    0x03, 0x00, 0x61, 0xF1, 0x18, 0x01, 0x01, 0x00, 0x05, 0x02, 0x01, 0x00, 0x02}));
    bool ucs2 = true;
    std::vector<UserDataReader::TemplateEntry> entries;
    ASSERT_TRUE(UserDataReader::ParseTemplate(HeaderOf(run.chunks[0]).body, ucs2, entries));
    EXPECT_FALSE(ucs2);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(UserDataReader::UnpackSeptets(entries[0].data, entries[0].length), QByteArray("abc"));
}

TEST_F(TddTranslatorTest, Ucs2Template)
{
    const QString card = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-10146-UCS-2\"?><TEMPLATE>Ab</TEMPLATE>");
    QByteArray bytes;
    for (const QChar c : card)
        bytes += Bytes({c.unicode() >> 8, c.unicode() & 0xFF});
    const Outcome run = Source("card.ecd", Bytes({0xFE, 0xFF}) + bytes);
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    ASSERT_EQ(run.chunks.size(), 1);
    // Title in UCS-2 octets with the UCS-2 bit; template count octet with bit 0.
    EXPECT_EQ(run.chunks[0], Bytes({0x0E, 0x80, 0x0C, 0x09, 0x43, 0x00, 0x41, 0x00, 0x52, 0x00, 0x44, 0x00,
                                    0x06, 0x00, 0x08, 0x03, 0x00, 0x04, 0x00, 0x41, 0x00, 0x62, 0x00}));
}

TEST_F(TddTranslatorTest, TemplateOfTenMessagesAndNotEleven)
{
    SetBool(*parameters, "EncodeName", false);
    // Five entries of 245 octets and one of 36: 1280 octets, 128 in each message.
    QByteArray body;
    for (int i = 0; i < 5; ++i)
        body += TextEntry(280, 'a');
    const Outcome ten = Template(body + TextEntry(41, 'b'));
    ASSERT_TRUE(ten.ok) << ten.log.toStdString();
    EXPECT_EQ(ten.chunks.size(), 10);
    EXPECT_EQ(TddOf(ten.chunks[0]).total, 1280);

    const Outcome eleven = Template(body + TextEntry(42, 'b'));
    EXPECT_FALSE(eleven.ok);
    EXPECT_TRUE(eleven.chunks.isEmpty());
    EXPECT_EQ(eleven.log, QStringLiteral("TDD export error !\n"));
}

TEST_F(TddTranslatorTest, TemplateEntryLimits)
{
    QByteArray body;
    for (int i = 0; i < 127; ++i)
        body += TextEntry(1, 'a');
    const Outcome most = Template(body);
    ASSERT_TRUE(most.ok) << most.log.toStdString();
    EXPECT_EQ(uchar(HeaderOf(most.chunks[0]).body.at(0)), 254);

    const Outcome tooMany = Template(body + TextEntry(1, 'a'));
    EXPECT_FALSE(tooMany.ok);
    EXPECT_EQ(tooMany.log, QStringLiteral("TDD export error !\n"));

    // Items beyond the 128th are not even kept: the card fails as it is read.
    const Outcome farTooMany = Template(body + TextEntry(1, 'a') + TextEntry(1, 'a'));
    EXPECT_FALSE(farTooMany.ok);
    EXPECT_EQ(farTooMany.log, QStringLiteral("Parsing error !\n"));

    // 281 septets take 246 octets: one more than an entry holds.
    const Outcome tooLong = Template(TextEntry(281, 'a'));
    EXPECT_FALSE(tooLong.ok);
    EXPECT_TRUE(tooLong.chunks.isEmpty());
}

TEST_F(TddTranslatorTest, TemplateFailures)
{
    folder.Write("song.seq", Filled(40, 1));
    const Outcome sequence = Template("hi" + Ie("SEQ", "USR", "song.seq"));
    EXPECT_FALSE(sequence.ok);
    EXPECT_EQ(sequence.log, QStringLiteral("TDD export error !\n"));

    const Outcome ecard = Source("card.ecd", Card("ECARD", "hi"));
    EXPECT_FALSE(ecard.ok);
    EXPECT_EQ(ecard.log, QStringLiteral("Root element tag name is invalid\n"));

    const Outcome missing = Template("hi" + Ie("PIC", "USR", "nothing.pic"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.log, QStringLiteral("Can't open file: ") + folder.FilePath(QStringLiteral("nothing.pic"))
                               + QStringLiteral("\nnothing.pic : File is not valid!\n"));
}

TEST_F(TddTranslatorTest, TemplateWithMediaEntries)
{
    folder.Write("logo.pic", Media::PictureBody(16, 16));
    folder.Write("tune.qbr", Media::OneLineMelody(5));
    const Outcome run = Template("x" + Ie("PIC", "USR", "logo.pic") + Ie("QBR", "USR", "tune.qbr"));
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    QByteArray payload;
    for (const QByteArray& chunk : run.chunks)
        payload += HeaderOf(chunk).body;
    bool ucs2 = true;
    std::vector<UserDataReader::TemplateEntry> entries;
    ASSERT_TRUE(UserDataReader::ParseTemplate(payload, ucs2, entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].type, 4);
    EXPECT_EQ(entries[1].data, Media::PictureBody(16, 16));
    EXPECT_EQ(entries[2].type, 3);
    EXPECT_EQ(entries[2].data, Media::OneLineMelody(5));
}
