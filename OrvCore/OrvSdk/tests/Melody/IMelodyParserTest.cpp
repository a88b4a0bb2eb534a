#include "Melody/CMelodyTruncate.h"
#include "MelodyTestSupport.h"
#include "TestProfile.h"

#include <gtest/gtest.h>

namespace {
struct Parsed
{
    bool ok = false;
    int error = -1;
    bool found[CMelodyTruncate::HeaderLineCount] = {};
    bool oneLine = false;
    std::unique_ptr<CDocumentMelody> doc{new CDocumentMelody};
};

Parsed Parse(const QString& text, CProfile* profile)
{
    MessageCapture quiet;
    Parsed result;
    CMelodyTruncate parser;
    result.ok = parser.ParseIMelody(text.toLatin1(), result.doc.get(), profile, result.found, &result.oneLine);
    result.error = parser.GetErrorCode();
    return result;
}

QString Describe(const CDocumentMelody& doc)
{
    return DescribeElements(doc.GetMelodyNoteList()).join(QLatin1Char(' '));
}

QString Melody(const QString& notes)
{
    return QStringLiteral("BEGIN:IMELODY\r\nVERSION:1.0\r\nMELODY:") + notes + QStringLiteral("\r\nEND:IMELODY");
}

int VolumeAt(const Parsed& p, int index)
{
    return static_cast<const MidiNote*>(p.doc->GetMelodyNoteList().at(index))->GetVolume();
}
} // namespace

TEST(IMelodyParser, HeaderFieldsAndFoundFlags)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    const Parsed p = Parse(QStringLiteral("BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:My Tune\r\n"
                                          "BEAT:140\r\nSTYLE:2\r\nVOLUME:9\r\nMELODY:c2\r\nEND:IMELODY"),
                           profile.get());
    ASSERT_TRUE(p.ok);
    for (bool f : p.found)
        EXPECT_TRUE(f);
    EXPECT_EQ(p.doc->GetMelodyName(), QStringLiteral("My"));
    EXPECT_EQ(p.doc->GetBeat(), 140);
    EXPECT_EQ(p.doc->GetStyle(), 2);
    EXPECT_EQ(p.doc->GetVolume(), 9);
    EXPECT_TRUE(p.oneLine);
}

TEST(IMelodyParser, WithoutBeginTheHeaderIsIgnored)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    const Parsed p = Parse(QStringLiteral("X\r\nBEAT:200\r\nSTYLE:2\r\nVOLUME:3\r\nMELODY:c2"), profile.get());
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc->GetBeat(), 120);
    EXPECT_EQ(p.doc->GetStyle(), 1);
    EXPECT_EQ(p.doc->GetVolume(), 7);
    for (bool f : p.found)
        EXPECT_FALSE(f);
}

TEST(IMelodyParser, BeatRangeAndProfileClamp)
{
    ProfileValues values;
    values.minBpm = 40;
    values.maxBpm = 200;
    std::unique_ptr<CProfile> profile = MakeProfile(values);
    Parsed slow = Parse(QStringLiteral("BEGIN:IMELODY\r\nBEAT:20\r\nMELODY:c2"), profile.get());
    EXPECT_FALSE(slow.ok);
    EXPECT_EQ(slow.error, 12);
    EXPECT_EQ(CMelodyTruncate::GetErrorText(slow.error), QStringLiteral("beat out of range"));
    EXPECT_EQ(Parse(QStringLiteral("BEGIN:IMELODY\r\nBEAT:300\r\nMELODY:c2"), profile.get()).doc->GetBeat(), 200);
    EXPECT_EQ(Parse(QStringLiteral("BEGIN:IMELODY\r\nBEAT:30\r\nMELODY:c2"), profile.get()).doc->GetBeat(), 40);
    // A run of digits far beyond any int saturates and is out of range.
    EXPECT_EQ(Parse(QStringLiteral("BEGIN:IMELODY\r\nBEAT:99999999999999999999\r\nMELODY:c2"), profile.get()).error,
              12);
}

TEST(IMelodyParser, StyleIsReplacedByTheSupportedOne)
{
    ProfileValues values;
    values.staccato = false;
    values.defaultStyle = "Continuous";
    std::unique_ptr<CProfile> profile = MakeProfile(values);
    EXPECT_EQ(Parse(QStringLiteral("BEGIN:IMELODY\r\nSTYLE:2\r\nMELODY:c2"), profile.get()).doc->GetStyle(), 1);
    EXPECT_EQ(Parse(QStringLiteral("BEGIN:IMELODY\r\nSTYLE:0\r\nMELODY:c2"), profile.get()).doc->GetStyle(), 0);
    EXPECT_EQ(Parse(QStringLiteral("BEGIN:IMELODY\r\nSTYLE:3\r\nMELODY:c2"), profile.get()).error, 14);
}

TEST(IMelodyParser, HeaderErrors)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    struct Case
    {
        const char* text;
        int error;
    };
    const Case cases[] = {
        {"BEGIN:IMELODY\r\nVOLUME:16\r\nMELODY:c2", 11},
        {"BEGIN:IMELODY\r\nNAME:\r\n\r\nMELODY:c2", 2},
        {"BEGIN:IMELODY\r\nVERSION:1.0\r\nEND:IMELODY", 1},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(QString::fromLatin1(c.text), profile.get());
        EXPECT_FALSE(p.ok) << c.text;
        EXPECT_EQ(p.error, c.error) << c.text;
    }
}

TEST(IMelodyParser, NotesAndLoops)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    const Parsed p = Parse(Melody(QStringLiteral("c2d2(e2f2@3)g2")), profile.get());
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(Describe(*p.doc), QStringLiteral("0/4/2/0 2/4/2/0 (3 4/4/2/0 5/4/2/0 )3 7/4/2/0"));

    const Parsed signs = Parse(Melody(QStringLiteral("#c1&d0.*3#f5:&b4;r3*8e2")), profile.get());
    ASSERT_TRUE(signs.ok);
    EXPECT_EQ(Describe(*signs.doc), QStringLiteral("1/4/1/0 1/4/0/1 6/3/5/2 10/4/4/3 12/4/3/0 4/8/2/0"));

    const Parsed upper = Parse(Melody(QStringLiteral("C2 D2\r\n E2")), profile.get());
    ASSERT_TRUE(upper.ok);
    EXPECT_EQ(Describe(*upper.doc), QStringLiteral("0/4/2/0 2/4/2/0 4/4/2/0"));
    EXPECT_FALSE(upper.oneLine);
}

TEST(IMelodyParser, MelodyErrors)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    struct Case
    {
        const char* melody;
        int error;
    };
    const Case cases[] = {
        {"((c2@2)@2)", 3}, {"c2@2)", 6}, {"(c2", 5},      {"#e3", 8},    {"&c3", 9},  {"*9c2", 13},
        {"c2)", 16},       {"(c2@)", 4}, {"(c2@16)", 10}, {"(c2@2x", 5}, {"c", 15},   {"c9", 15},
        {"c.", 15},        {"r6", 15},   {"#", 7},        {"++", 7},     {"*c2", 13}, {"c2@2)(", 6},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(Melody(QString::fromLatin1(c.melody)), profile.get());
        EXPECT_FALSE(p.ok) << c.melody;
        EXPECT_EQ(p.error, c.error) << c.melody << " " << CMelodyTruncate::GetErrorText(p.error).toStdString();
    }
}

TEST(IMelodyParser, VolumeMarksBelongToTheirNote)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    const Parsed p =
        Parse(QStringLiteral("BEGIN:IMELODY\r\nVOLUME:7\r\nMELODY:c2+d2--e2\r\nEND:IMELODY"), profile.get());
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(VolumeAt(p, 0), 64);
    EXPECT_EQ(VolumeAt(p, 1), 48);
    EXPECT_EQ(VolumeAt(p, 2), 48);
}

TEST(IMelodyParser, WriterTokensWithLongMarkRunsParse)
{
    // An octave prefix, a dot and seven volume marks make a 12-character token.
    std::unique_ptr<CProfile> profile = MakeProfile();
    const Parsed p = Parse(Melody(QStringLiteral("c2*5d3.-------r4*6#f1:++++++++++++")), profile.get());
    ASSERT_TRUE(p.ok) << CMelodyTruncate::GetErrorText(p.error).toStdString();
    EXPECT_EQ(Describe(*p.doc), QStringLiteral("0/4/2/0 2/5/3/1 12/4/4/0 6/6/1/2"));
    EXPECT_EQ(VolumeAt(p, 0), 56);
    EXPECT_EQ(VolumeAt(p, 1), 0);
    EXPECT_EQ(VolumeAt(p, 3), 96);
}

TEST(IMelodyParser, ErrorTexts)
{
    const char* const texts[] = {"name too long",
                                 "melody tag not found",
                                 "melody name string empty",
                                 "nesty loop unsupported",
                                 "digits not found for loop",
                                 "closed parenthesis not found for loop",
                                 "invalid loop specifier found",
                                 "note value not found",
                                 "invalid sharp found",
                                 "invalid flat found",
                                 "repeat specifier out of range",
                                 "volume out of range",
                                 "beat out of range",
                                 "scale out of range",
                                 "style out of range",
                                 "invalid note found",
                                 "invalid end of loop found",
                                 "short silence found before note",
                                 "invalid volume specifier found",
                                 "begin or end pattern mismatch",
                                 "bad size"};
    for (int code = 0; code <= 20; ++code)
        EXPECT_EQ(CMelodyTruncate::GetErrorText(code), QString::fromLatin1(texts[code]));
    EXPECT_EQ(CMelodyTruncate::GetErrorText(21), QStringLiteral("unknown"));
    EXPECT_EQ(CMelodyTruncate::GetErrorText(-1), QStringLiteral("unknown"));
    CMelodyTruncate melody;
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    MessageCapture quiet;
    EXPECT_FALSE(melody.ParseIMelody(QByteArrayLiteral("no tag"), &doc, profile.get(), nullptr, nullptr));
    EXPECT_EQ(melody.GetErrorText(), QStringLiteral("melody tag not found"));
}
