// The EMS translator end to end: e-cards and single files in, user data out.
#include "CMessra.h"
#include "CSmsItem.h"
#include "Text/CLanguageResources.h"
#include "TranslatorTestSupport.h"
#include <QDir>
#include <gtest/gtest.h>

using namespace MessraTest;
using UserDataReader::EmsObjects;

namespace {
class EmsTranslatorTest : public TranslatorFixture<CMessra>
{
protected:
    EmsTranslatorTest() : TranslatorFixture(1000, "EMSParameters.xml") {}

    Outcome Card(const QByteArray& body, const char* encoding = "ISO-8859-1")
    {
        return Source("card.ecd", MessraTest::Card("ECARD", body, encoding));
    }
};
} // namespace

TEST_F(EmsTranslatorTest, TextThatFitsOneMessage)
{
    const Outcome run = Card("hello");
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    ASSERT_EQ(run.chunks.size(), 1);
    // No header element, six fill bits, then "hello".
    EXPECT_EQ(run.chunks[0], Bytes({0x00, 0x00, 0xBA, 0xCC, 0x66, 0xBF, 0x01}));
    EXPECT_EQ(SeptetsOf(run.chunks[0], 5), QByteArray("hello"));
    EXPECT_TRUE(run.log.isEmpty());
}

TEST_F(EmsTranslatorTest, TextOverTwoMessages)
{
    const Outcome run = Card(QByteArray(153, 'x') + "abcd");
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 2);
    // Concatenation element, then one fill bit so the text starts on a septet boundary.
    EXPECT_TRUE(run.chunks[0].startsWith(Bytes({0x05, 0x00, 0x03, 0x00, 0x02, 0x01, 0xF0, 0x78, 0x3C})));
    EXPECT_EQ(run.chunks[0].size(), 140);
    EXPECT_EQ(SeptetsOf(run.chunks[0], 153), QByteArray(153, 'x'));
    EXPECT_EQ(run.chunks[1], Bytes({0x05, 0x00, 0x03, 0x00, 0x02, 0x02, 0xC2, 0xE2, 0x31, 0x19}));
}

TEST_F(EmsTranslatorTest, TextOverThreeMessages)
{
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text.append(char('a' + i % 26));
    const Outcome run = Card(text);
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 3);
    const int counts[] = {153, 153, 94};
    QByteArray joined;
    for (int i = 0; i < 3; ++i) {
        UserDataReader::Concatenation concatenation;
        ASSERT_TRUE(UserDataReader::FindConcatenation(HeaderOf(run.chunks[i]), concatenation));
        EXPECT_EQ(concatenation.reference, 0);
        EXPECT_EQ(concatenation.total, 3);
        EXPECT_EQ(concatenation.segment, i + 1);
        joined += SeptetsOf(run.chunks[i], counts[i]);
    }
    EXPECT_EQ(joined, text);
}

TEST_F(EmsTranslatorTest, EscapePairStaysInOneMessage)
{
    const Outcome run = Card(QByteArray(152, 'a') + "{" + QByteArray(10, 'b'));
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 2);
    EXPECT_EQ(SeptetsOf(run.chunks[0], 152), QByteArray(152, 'a'));
    EXPECT_EQ(SeptetsOf(run.chunks[1], 12), QByteArray("\x1B\x28", 2) + QByteArray(10, 'b'));
}

TEST_F(EmsTranslatorTest, GreekCapitalsAndUnmappedLetters)
{
    // Delta, Phi, Gamma in ISO-8859-7; a small alpha has no GSM glyph.
    const Outcome run = Card("\xC4\xD6\xC3\xE1", "ISO-8859-7");
    ASSERT_TRUE(run.ok) << run.log.toStdString();
    ASSERT_EQ(run.chunks.size(), 1);
    EXPECT_EQ(SeptetsOf(run.chunks[0], 4), Bytes({0x10, 0x12, 0x13, 0x20}));
}

TEST_F(EmsTranslatorTest, Ucs2CardsWithAndWithoutByteOrderMark)
{
    const QString card = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-10146-UCS-2\"?><ECARD>A\u03B2</ECARD>");
    QByteArray littleEndian;
    for (const QChar c : card)
        littleEndian += Bytes({c.unicode() & 0xFF, c.unicode() >> 8});
    for (const QByteArray& bytes : {Bytes({0xFF, 0xFE}) + littleEndian, littleEndian}) {
        const Outcome run = Source("card.ecd", bytes);
        ASSERT_TRUE(run.ok) << run.log.toStdString();
        ASSERT_EQ(run.chunks.size(), 1);
        // UCS-2 travels low octet first.
        EXPECT_EQ(run.chunks[0], Bytes({0x00, 0x41, 0x00, 0xB2, 0x03}));
    }
}

TEST_F(EmsTranslatorTest, ObjectsBetweenTexts)
{
    const Outcome run = Card("Hi" + Ie("IMY", "PRE", "3") + "!");
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 1);
    // Predefined sound 3 at position 2; two fill bits after the 5-octet header.
    EXPECT_EQ(run.chunks[0], Bytes({0x04, 0x0B, 0x02, 0x02, 0x03, 0x20, 0xD3, 0x21}));
}

TEST_F(EmsTranslatorTest, EveryObjectKind)
{
    const QByteArray melody = Media::IMelody("c2d2e2");
    folder.Write("tune.imy", melody);
    folder.Write("large.ema", Filled(128, 0x11));
    folder.Write("small.ema", Filled(32, 0x22));
    folder.Write("large.emp", Bytes({0x04, 0x20}) + Filled(128, 0x33));
    folder.Write("small.emp", Bytes({0x02, 0x10}) + Filled(32, 0x44));
    folder.Write("wide.emp", Bytes({24, 4}) + Filled(12, 0x55)); // 24 pixels wide
    struct Case
    {
        QByteArray entry;
        int iei;
        QByteArray data;
    } cases[] = {
        {Ie("IMY", "PRE", "7"), 0x0B, Bytes({7})},
        {Ie("IMY", "USR", "tune.imy"), 0x0C, melody},
        {Ie("EMA", "PRE", "4"), 0x0D, Bytes({4})},
        {Ie("EMA", "USR", "large.ema"), 0x0E, Filled(128, 0x11)},
        {Ie("EMA", "SML", "small.ema"), 0x0F, Filled(32, 0x22)},
        {Ie("EMP", "USR", "large.emp"), 0x10, Filled(128, 0x33)},
        {Ie("EMP", "USR", "small.emp"), 0x11, Filled(32, 0x44)},
        {Ie("EMP", "USR", "wide.emp"), 0x12, Bytes({3, 4}) + Filled(12, 0x55)},
    };
    for (const Case& c : cases) {
        const Outcome run = Card(c.entry);
        SCOPED_TRACE(c.entry.toStdString());
        ASSERT_TRUE(run.ok) << run.log.toStdString();
        ASSERT_EQ(run.chunks.size(), 1);
        const QByteArray expected =
            QByteArray(1, char(c.data.size() + 3)) + char(c.iei) + char(c.data.size() + 1) + char(0) + c.data;
        EXPECT_EQ(run.chunks[0], expected);
    }
}

TEST_F(EmsTranslatorTest, ObjectPositionsCountCharactersOfTheirMessage)
{
    folder.Write("small.emp", Bytes({0x02, 0x10}) + Filled(32, 0x44));
    const Outcome run = Card("Hello" + Ie("EMP", "USR", "small.emp") + "{x" + Ie("EMA", "PRE", "1"));
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 1);
    const auto objects = EmsObjects(HeaderOf(run.chunks[0]));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].position, 5);
    EXPECT_EQ(objects[1].position, 7); // the escape pair is one character
    EXPECT_EQ(SeptetsOf(run.chunks[0], 8), QByteArray("Hello\x1B\x28x", 8));

    // In a later message the count starts again.
    const Outcome two = Card(QByteArray(200, 'a') + Ie("EMA", "PRE", "1"));
    ASSERT_EQ(two.chunks.size(), 2);
    const auto later = EmsObjects(HeaderOf(two.chunks[1]));
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].position, 47);
}

TEST_F(EmsTranslatorTest, LargePictureAfterLongTextGoesToAFreshMessage)
{
    folder.Write("large.emp", Bytes({0x04, 0x20}) + Filled(128, 0x33));
    const Outcome run = Card(QByteArray(100, 'a') + Ie("EMP", "USR", "large.emp"));
    ASSERT_TRUE(run.ok);
    ASSERT_EQ(run.chunks.size(), 2);
    EXPECT_EQ(run.chunks[0].size(), 6 + 88);
    EXPECT_EQ(SeptetsOf(run.chunks[0], 100), QByteArray(100, 'a'));
    EXPECT_EQ(run.chunks[1], Bytes({0x88, 0x00, 0x03, 0x00, 0x02, 0x02, 0x10, 0x81, 0x00}) + Filled(128, 0x33));
}

TEST_F(EmsTranslatorTest, ObjectDistributionIndicatorInTheFirstMessageOnly)
{
    SetBool(*parameters, "ODICopyright", true);
    const Outcome run = Card(QByteArray(200, 'a'));
    ASSERT_EQ(run.chunks.size(), 2);
    EXPECT_EQ(UserDataReader::ElementsOf(HeaderOf(run.chunks[0]), 0x17).size(), 1u);
    EXPECT_EQ(UserDataReader::ElementsOf(HeaderOf(run.chunks[0]), 0x17)[0].data, Bytes({0x00, 0x01}));
    EXPECT_TRUE(UserDataReader::ElementsOf(HeaderOf(run.chunks[1]), 0x17).empty());

    // A phone without ODI support never gets it.
    profile = MakeProfile(folder, 1000, false);
    const Outcome none = Card("hi");
    ASSERT_EQ(none.chunks.size(), 1);
    EXPECT_TRUE(HeaderOf(none.chunks[0]).elements.empty());
}

TEST_F(EmsTranslatorTest, MaxDelivers)
{
    // 254 full messages of 153 characters and a last one of 151.
    const Outcome most = Card(QByteArray(254 * 153 + 151, 'a'));
    ASSERT_TRUE(most.ok);
    EXPECT_EQ(most.chunks.size(), 255);
    UserDataReader::Concatenation last;
    ASSERT_TRUE(UserDataReader::FindConcatenation(HeaderOf(most.chunks.last()), last));
    EXPECT_EQ(last.total, 255);
    EXPECT_EQ(last.segment, 255);

    const Outcome tooMany = Card(QByteArray(254 * 153 + 152, 'a'));
    EXPECT_FALSE(tooMany.ok);
    EXPECT_TRUE(tooMany.chunks.isEmpty());
    EXPECT_EQ(tooMany.log, QStringLiteral("EMS export error !\n"));
}

TEST_F(EmsTranslatorTest, SingleMediaFiles)
{
    const Outcome picture = Source("logo.emp", Bytes({0x02, 0x10}) + Filled(32, 0x44));
    ASSERT_TRUE(picture.ok);
    ASSERT_EQ(picture.chunks.size(), 1);
    EXPECT_EQ(picture.chunks[0], Bytes({0x23, 0x11, 0x21, 0x00}) + Filled(32, 0x44));

    const Outcome animation = Source("wave.ema", Filled(32, 0x22));
    ASSERT_TRUE(animation.ok);
    EXPECT_EQ(animation.chunks[0], Bytes({0x23, 0x0F, 0x21, 0x00}) + Filled(32, 0x22));

    const Outcome twoDots = Source("card.v2.ecd", MessraTest::Card("ECARD", "hi"));
    EXPECT_FALSE(twoDots.ok);
    EXPECT_EQ(twoDots.log, QStringLiteral("V2.ECD: unknown media type\n"));
}

TEST_F(EmsTranslatorTest, LongMelodyNeedsTruncation)
{
    QByteArray notes;
    for (int i = 0; i < 40; ++i)
        notes += "c2d2";
    const QByteArray melody = Media::IMelody(notes);
    ASSERT_GT(melody.size(), 128);
    const Outcome uncut = Source("tune.imy", melody);
    EXPECT_FALSE(uncut.ok);
    EXPECT_TRUE(uncut.chunks.isEmpty());
    EXPECT_TRUE(uncut.log.endsWith(QStringLiteral(" : File is not EMS compatible\n")));

    SetBool(*parameters, "TruncateMelody", true);
    const Outcome cut = Source("tune.imy", melody);
    ASSERT_TRUE(cut.ok) << cut.log.toStdString();
    ASSERT_EQ(cut.chunks.size(), 1);
    const auto objects = EmsObjects(HeaderOf(cut.chunks[0]));
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].iei, 0x0C);
    EXPECT_LE(objects[0].data.size(), 128);
}

TEST_F(EmsTranslatorTest, KindsWithoutEmsObjectFail)
{
    folder.Write("tune.qbr", Media::OneLineMelody(10));
    folder.Write("logo.pic", Media::PictureBody(16, 16));
    const QByteArray frame = Media::PictureBody(8, 8);
    folder.Write("wave.ani", Media::Animation({frame, frame, frame, frame}));
    folder.Write("song.seq", Filled(50, 1));
    folder.Write("voice.vox", Filled(50, 1));
    struct Case
    {
        const char* type;
        const char* ref;
    } cases[] = {
        {"QBR", "tune.qbr"}, {"PIC", "logo.pic"}, {"ANI", "wave.ani"}, {"SEQ", "song.seq"}, {"VOX", "voice.vox"}};
    for (const Case& c : cases) {
        const Outcome run = Card("Hi" + Ie(c.type, "USR", c.ref));
        EXPECT_FALSE(run.ok) << c.type;
        EXPECT_TRUE(run.chunks.isEmpty()) << c.type;
        EXPECT_EQ(run.log, QString::fromLatin1(c.ref) + QStringLiteral(" : File is not EMS compatible\n")) << c.type;
    }
}

TEST_F(EmsTranslatorTest, CardFailures)
{
    struct Case
    {
        QByteArray card;
        const char* log;
    } cases[] = {
        {MessraTest::Card("ECARD", "hi", "UTF-8"), "Text encoding type was not recognized\n"},
        {MessraTest::Card("TEMPLATE", "hi"), "Root element tag name is invalid\n"},
        {QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>hi"),
         "Ecard content is not well-formed !\n"},
        // Nested without end: the reader would take minutes over a megabyte of it.
        {MessraTest::Card("ECARD", QByteArray("<a>").repeated(256) + QByteArray("</a>").repeated(256)),
         "Ecard content is nested too deeply !\n"},
    };
    for (const Case& c : cases) {
        const Outcome run = Source("card.ecd", c.card);
        EXPECT_FALSE(run.ok) << c.log;
        EXPECT_TRUE(run.chunks.isEmpty()) << c.log;
        EXPECT_EQ(run.log, QString::fromLatin1(c.log));
    }
}

TEST_F(EmsTranslatorTest, UnreadableEntriesAreLoggedAndSkipped)
{
    const Outcome run = Card("Hi<IE TYPE=\"EMA\" REF=\"1\"/><IMG/><!-- note -->" + Ie("EMA", "PRE", "2"));
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.log,
              QStringLiteral("Entry skipped: <IE> is neither text nor an IE element with TYPE, STYPE and REF\n"
                             "Entry skipped: <IMG> is neither text nor an IE element with TYPE, STYPE and REF\n"
                             "Entry skipped: #comment is neither text nor an IE element with TYPE, STYPE and "
                             "REF\n"));
    ASSERT_EQ(run.chunks.size(), 1);
    EXPECT_EQ(EmsObjects(HeaderOf(run.chunks[0])).size(), 1u);
}

// A card of countless entries that are no item names the first ten, then counts the others on one line.
TEST_F(EmsTranslatorTest, OnlyTheFirstTenSkippedEntriesAreNamed)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    const Outcome run = Card("Hi" + QByteArray("<IMG/>").repeated(25) + Ie("EMA", "PRE", "2"));
    CLanguageResources::Load(QString());
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(
        run.log,
        QStringLiteral("Entry skipped: <IMG> is neither text nor an IE element with TYPE, STYPE and REF\n").repeated(10)
            + QStringLiteral("15 more entries skipped: each is neither text nor an IE element with TYPE, "
                             "STYPE and REF.\n"));
    ASSERT_EQ(run.chunks.size(), 1);
    EXPECT_EQ(EmsObjects(HeaderOf(run.chunks[0])).size(), 1u);
}

TEST_F(EmsTranslatorTest, BadReferencesFailTheCard)
{
    QDir(folder.Path()).mkdir(QStringLiteral("pictures"));
    for (const char* ref : {"pictures", "missing.emp"}) {
        const Outcome run = Card("Hi" + Ie("EMP", "SML", ref) + Ie("EMA", "PRE", "1"));
        EXPECT_FALSE(run.ok) << ref;
        EXPECT_TRUE(run.chunks.isEmpty()) << ref;
        EXPECT_EQ(run.log, QStringLiteral("Can't open file: ") + folder.Path() + QLatin1Char('/')
                               + QString::fromLatin1(ref) + QStringLiteral("\n") + QString::fromLatin1(ref)
                               + QStringLiteral(" : File is not valid!\n"));
    }

    folder.Write("huge.emp", Filled(1001, 1));
    const Outcome huge = Card("Hi" + Ie("EMP", "LRG", "huge.emp") + Ie("EMA", "PRE", "1"));
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.log, QStringLiteral("File ") + folder.FilePath(QStringLiteral("huge.emp"))
                            + QStringLiteral(" too big!\nMax Size = 1000 Bytes\nhuge.emp : File is not valid!\n"));
}

TEST_F(EmsTranslatorTest, OdiParameterFollowsTheProfile)
{
    CMessra translator;
    CBoolParameter* odi = parameters->GetBoolParameter(QStringLiteral("ODICopyright"));
    ASSERT_TRUE(odi);
    auto incompatible = MakeProfile(folder, 1000, false);
    odi->mValue = true;
    translator.FilterParametersWithProfile(parameters.get(), incompatible.get(), 1);
    EXPECT_FALSE(odi->mValue);
    EXPECT_TRUE(odi->mIsConst);
    translator.FilterParametersWithProfile(parameters.get(), profile.get(), 1);
    EXPECT_FALSE(odi->mIsConst);
    odi->mValue = true;
    translator.FilterParametersWithProfile(parameters.get(), profile.get(), 0);
    EXPECT_FALSE(odi->mValue);
}

TEST_F(EmsTranslatorTest, TruncateParameterFollowsTheDocument)
{
    CMessra translator;
    CBoolParameter* truncate = parameters->GetBoolParameter(QStringLiteral("TruncateMelody"));
    ASSERT_TRUE(truncate);
    struct Case
    {
        const char* name;
        QByteArray bytes;
        bool editable;
    } cases[] = {
        {"tune.imy", "x", true},
        {"TUNE.QBR", "x", true},
        {"logo.emp", "x", false},
        {"card.ecd", MessraTest::Card("ECARD", "hi" + Ie("IMY", "USR", "t.imy")), true},
        {"card.ecd", MessraTest::Card("ECARD", "hi" + Ie("EMA", "PRE", "1")), false},
        {"card.ecd", MessraTest::Card("TEMPLATE", Ie("QBR", "USR", "t.qbr")), false},
        // The extension after the last ".".
        {"tune.old.imy", "x", true},
        {"tune.imy.emp", "x", false},
        {"card.v2.ecd", MessraTest::Card("ECARD", "hi" + Ie("QBR", "USR", "t.qbr")), true},
        {"card.ecd.imy", "x", true},
        {"card.ecd.emp", MessraTest::Card("ECARD", "hi" + Ie("IMY", "USR", "t.imy")), false},
    };
    for (const Case& c : cases) {
        truncate->mIsConst = false;
        truncate->mValue = true;
        std::unique_ptr<CDocument> document(translator.Import(c.bytes));
        document->SetName(folder.FilePath(QString::fromLatin1(c.name)));
        translator.FilterParametersWithDocument(parameters.get(), document.get());
        EXPECT_EQ(!truncate->mIsConst, c.editable) << c.name;
        EXPECT_EQ(truncate->mValue, c.editable) << c.name;
    }
}
