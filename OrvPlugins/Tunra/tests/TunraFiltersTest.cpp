// Adjusting the parameters to the phone and to the document, and the
// converter's answers to the host's queries.
#include "TunraTestSupport.h"

#include "Melody/CDocumentMidi.h"
#include "Wave/CDocumentWave.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace TunraTest;

namespace {
QStringList AllowedStyles(CParameters& parameters)
{
    return Enum(parameters, "Style")->GetEnumType()->GetValues();
}

std::unique_ptr<CDocumentMidi> MidiWithTempo(int microsecondsPerQuarter)
{
    QByteArray events;
    if (microsecondsPerQuarter > 0)
        events += Bytes({0x00, 0xFF, 0x51, 0x03, (microsecondsPerQuarter >> 16) & 0xFF,
                         (microsecondsPerQuarter >> 8) & 0xFF, microsecondsPerQuarter & 0xFF});
    events += Bytes({0x00, 0x90, 72, 100, 0x60, 0x80, 72, 0});
    return MidiDocument(OneTrackMidiFile(96, events));
}

class TunraFilters : public ::testing::Test
{
protected:
    MessageCapture capture;
};
} // namespace

TEST_F(TunraFilters, ProfileNarrowsTheTempoRange)
{
    struct Case
    {
        int value;
        bool constant;
        int expected;
    };
    // Model A plays 40 to 200 beats per minute; the file allows 25 to 900.
    const Case cases[] = {{63, false, 63}, {250, false, 200}, {30, false, 40}, {250, true, 250}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.value);
        Converter c;
        CIntParameter* tempo = Int(c.parameters, "Tempo");
        ASSERT_EQ(tempo->mMin, 25);
        ASSERT_EQ(tempo->mMax, 900);
        tempo->mValue = t.value;
        tempo->mIsConst = t.constant;
        c.tunra.FilterParametersWithProfile(&c.parameters, nullptr, 0);
        c.tunra.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
        EXPECT_EQ(tempo->mMin, 40);
        EXPECT_EQ(tempo->mMax, 200);
        EXPECT_EQ(tempo->mValue, t.expected);
    }
}

TEST_F(TunraFilters, CrossedLimitsTakeTheMaximumThenTheMinimum)
{
    Converter c;
    Int(c.profile, "MinBpmBuzzer")->mValue = 300;
    Int(c.profile, "MaxBpmBuzzer")->mValue = 100;
    CIntParameter* tempo = Int(c.parameters, "Tempo");
    tempo->mValue = 500;
    c.tunra.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
    EXPECT_EQ(tempo->mMin, 300);
    EXPECT_EQ(tempo->mMax, 100);
    // Above the maximum: the maximum, which lies below the minimum, so the
    // minimum; that is not below the minimum, so it stays.
    EXPECT_EQ(tempo->mValue, 300);
}

TEST_F(TunraFilters, StylesThePhoneLacksAreWithdrawnUntilTheNextReset)
{
    Converter c;
    Bool(c.profile, "BuzzerContinuousCompatible")->mValue = false;
    Bool(c.profile, "BuzzerStaccatoCompatible")->mValue = false;
    c.tunra.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
    EXPECT_EQ(AllowedStyles(c.parameters), QStringList{QStringLiteral("Natural")});
    c.tunra.FilterParametersWithProfile(&c.parameters, nullptr, 0);
    EXPECT_EQ(AllowedStyles(c.parameters),
              (QStringList{QStringLiteral("Natural"), QStringLiteral("Continuous"), QStringLiteral("Staccato")}));
}

TEST_F(TunraFilters, UnsupportedStyleBecomesThePhonesDefault)
{
    Converter c("Model_C"); // no Natural; default Staccato
    ASSERT_EQ(Enum(c.parameters, "Style")->GetValue(), QStringLiteral("Natural"));
    c.tunra.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
    EXPECT_EQ(Enum(c.parameters, "Style")->GetValue(), QStringLiteral("Staccato"));
    EXPECT_EQ(AllowedStyles(c.parameters), (QStringList{QStringLiteral("Continuous"), QStringLiteral("Staccato")}));
}

TEST_F(TunraFilters, DocumentTempoWithinTheLimits)
{
    struct Case
    {
        int microseconds; // 0: no Set Tempo event, the MIDI default of 120 bpm
        int expected;
    };
    const Case cases[] = {{500000, 120}, {0, 120}, {50000, 900}, {3000000, 25}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.microseconds);
        Converter c;
        auto midi = MidiWithTempo(t.microseconds);
        c.tunra.FilterParametersWithDocument(&c.parameters, midi.get());
        EXPECT_EQ(Int(c.parameters, "Tempo")->mValue, t.expected);
    }

    Converter c;
    Int(c.parameters, "Tempo")->mIsConst = true;
    auto midi = MidiWithTempo(500000 / 2);
    c.tunra.FilterParametersWithDocument(&c.parameters, midi.get());
    EXPECT_EQ(Int(c.parameters, "Tempo")->mValue, 120);
}

TEST_F(TunraFilters, MelodyDocumentSetsTempoAndStyle)
{
    Converter c;
    auto melody = Melody({Note(72, 2)});
    melody->SetBeat(90);
    melody->SetStyle(CDocumentMelody::Continuous);
    c.tunra.FilterParametersWithDocument(&c.parameters, melody.get());
    EXPECT_EQ(Int(c.parameters, "Tempo")->mValue, 90);
    EXPECT_EQ(Enum(c.parameters, "Style")->GetValue(), QStringLiteral("Continuous"));
}

TEST_F(TunraFilters, StyleWithdrawnByTheProfileStaysAsItWas)
{
    Converter c; // Model A has no Staccato
    c.tunra.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
    auto melody = Melody({Note(72, 2)});
    melody->SetStyle(CDocumentMelody::Staccato);
    c.tunra.FilterParametersWithDocument(&c.parameters, melody.get());
    EXPECT_EQ(Enum(c.parameters, "Style")->GetValue(), QStringLiteral("Natural"));
    ASSERT_FALSE(capture.DebugLines().isEmpty());
    EXPECT_EQ(capture.DebugLines().last(),
              QStringLiteral("CTunra::FilterParametersWithDocument> Style can not be set; it can be const or the "
                             "state has been disabled by profile"));
}

TEST_F(TunraFilters, OtherDocumentsChangeNothing)
{
    Converter c;
    CDocumentWave wave;
    c.tunra.FilterParametersWithDocument(&c.parameters, &wave);
    EXPECT_TRUE(capture.HasWarning("pDocumentMelody != 0 || pDocumentMidi != 0"));
    EXPECT_EQ(Int(c.parameters, "Tempo")->mValue, 120);
}

TEST_F(TunraFilters, CompatibleOnlyWithPhonesThatSayTheyPlayIMelody)
{
    CTunra tunra;
    EXPECT_EQ(tunra.IsCompatibleWithProfile(nullptr), 0);

    CProfile profile;
    ASSERT_TRUE(profile.Load(ProfilePath("Model_A")));
    EXPECT_EQ(tunra.IsCompatibleWithProfile(&profile), 1);
    Bool(profile, "IMelodyCompatible")->mValue = false;
    EXPECT_EQ(tunra.IsCompatibleWithProfile(&profile), 0);

    // The same phone without the key.
    QFile source(ProfilePath("Model_A"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray text = source.readAll();
    const int at = text.indexOf("<DATA NAME=\"IMelodyCompatible\"");
    ASSERT_GE(at, 0);
    text.remove(at, text.indexOf('>', at) - at + 1);
    QTemporaryDir dir;
    QFile copy(dir.filePath(QStringLiteral("NoIMelody.xml")));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(text);
    copy.close();
    CProfile withoutKey;
    ASSERT_TRUE(withoutKey.Load(copy.fileName()));
    EXPECT_EQ(tunra.IsCompatibleWithProfile(&withoutKey), 0);
}

TEST(TunraQueries, AnswersOfAnIMelodyExporter)
{
    CTunra tunra;
    EXPECT_EQ(tunra.GetDocumentType(), 12);
    EXPECT_EQ(tunra.GetPreviewDocumentType(), 2);
    EXPECT_EQ(tunra.GetConverterType(), 2);
    EXPECT_EQ(tunra.GetImportExtensionCount(), 0);
    EXPECT_TRUE(tunra.GetImportExtension(0).isNull());
    EXPECT_EQ(tunra.GetExportExtension(), QStringLiteral("IMY"));
    EXPECT_EQ(tunra.GetDescription(), QStringLiteral("iMelody converter"));
    EXPECT_EQ(tunra.GetParametersFileName(), QStringLiteral("IMYParameters.xml"));
    EXPECT_EQ(tunra.Import(QByteArray("MThd")), nullptr);
    EXPECT_EQ(tunra.IsCancelable(), 0);
    EXPECT_EQ(tunra.Cancel(), 0);
    EXPECT_EQ(CTunra::GetLiveConverter(), &tunra);
}

TEST(TunraQueries, LiveConverterLastsAsLongAsItsObject)
{
    {
        CTunra tunra;
        EXPECT_EQ(CTunra::GetLiveConverter(), &tunra);
    }
    EXPECT_EQ(CTunra::GetLiveConverter(), nullptr);
}
