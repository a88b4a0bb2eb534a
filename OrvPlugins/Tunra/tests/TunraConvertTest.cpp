// Byte-exact iMelody output of hand-worked melodies: header lines, size
// limits, the buzzer's band, both encodings and the refusals.
#include "TunraTestSupport.h"

#include "Melody/CDocumentMidi.h"
#include "Wave/CDocumentWave.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace TunraTest;

namespace {
// C of octave 4 as a quarter, D of octave 5 as a dotted eighth, a sixteenth rest.
std::unique_ptr<CDocumentMelody> ThreeElements()
{
    return Melody({Note(72, 2), Note(86, 3, 1), Rest(4)});
}

const char* const kThreeElementsLine = "MELODY:c2*5d3.r4\r\n";

class TunraConvert : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadLanguage()); }
    MessageCapture capture;
};
} // namespace

TEST_F(TunraConvert, FullHeaderAroundTheMelodyLine)
{
    Converter c;
    ASSERT_TRUE(c.parametersLoaded);
    ASSERT_TRUE(c.profileLoaded);
    auto melody = ThreeElements();
    EXPECT_EQ(c.Run(melody.get()), QByteArray("BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:Tune\r\n"
                                              "BEAT:120\r\nSTYLE:0\r\nVOLUME:7\r\nMELODY:c2*5d3.r4\r\nEND:IMELODY"));
    EXPECT_TRUE(c.converted);
    EXPECT_TRUE(c.Summary().isEmpty());
}

TEST_F(TunraConvert, EachHeaderFlagAddsItsOwnLine)
{
    struct Case
    {
        const char* label;
        bool version, format, name, beat, style, volume;
        const char* line;
    };
    const Case cases[] = {
        {"no line", false, false, false, false, false, false, ""},
        {"version", true, false, false, false, false, false, "VERSION:1.0\r\n"},
        {"format", false, true, false, false, false, false, "FORMAT:CLASS1.0\r\n"},
        {"name", false, false, true, false, false, false, "NAME:Tune\r\n"},
        {"beat", false, false, false, true, false, false, "BEAT:90\r\n"},
        {"style", false, false, false, false, true, false, "STYLE:1\r\n"},
        {"volume", false, false, false, false, false, true, "VOLUME:5\r\n"},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.label);
        Converter c;
        c.HeaderFlags(true, t.version, t.format, t.name, t.beat, t.style, t.volume);
        Int(c.parameters, "Tempo")->mValue = 90;
        Int(c.parameters, "Volume")->mValue = 5;
        Enum(c.parameters, "Style")->SetValue(QStringLiteral("Continuous"));
        auto melody = ThreeElements();
        const QByteArray expected =
            QByteArray("BEGIN:IMELODY\r\n") + t.line + kThreeElementsLine + QByteArray("END:IMELODY");
        EXPECT_EQ(c.Run(melody.get()), expected);
    }
}

TEST_F(TunraConvert, HeaderOffWritesOnlyTheMelodyLineAtBeat120AndVolume7)
{
    Converter c;
    c.HeaderFlags(false, true, true, true, true, true, true);
    Int(c.parameters, "Tempo")->mValue = 60;
    Int(c.parameters, "Volume")->mValue = 15;
    auto melody = ThreeElements();
    EXPECT_EQ(c.Run(melody.get()), QByteArray(kThreeElementsLine));
    EXPECT_EQ(melody->GetBeat(), 120);
    EXPECT_EQ(melody->GetVolume(), 7);

    // At beat 120: quarter 250 ms tone + 250 ms silence, dotted eighth 187 +
    // 188 ms, sixteenth rest 125 ms, each ms count x 22050 / 1000 truncated.
    auto* wave = static_cast<CDocumentWave*>(c.tunra.GetPreviewDocument());
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->m_WAVEheader.data_ckSize, 2u * (5512 + 5512 + 4123 + 4145 + 2756));
}

TEST_F(TunraConvert, PhoneWithItsOwnStyleOverridesTheParameter)
{
    Converter c("Model_C"); // plays Staccato whatever is asked
    c.HeaderFlags(true, false, false, false, false, true, false);
    auto melody = ThreeElements();
    EXPECT_EQ(c.Run(melody.get()), QByteArray("BEGIN:IMELODY\r\nSTYLE:2\r\nMELODY:c2*5d3.r4\r\nEND:IMELODY"));
    EXPECT_EQ(melody->GetStyle(), int(CDocumentMelody::Staccato));
}

TEST_F(TunraConvert, OneSmsPacketKeepsTheWholeRingToneWithin128Bytes)
{
    Converter c;
    Bool(c.parameters, "SMSPaquet")->mValue = true;
    Int(c.parameters, "SMSPaquetCount")->mValue = 1;
    auto melody = Melody({});
    for (int i = 0; i < 20; ++i)
        melody->GetMelodyNoteList().append(Note(72, 3));
    // 85 header bytes and 11 of "END:IMELODY" leave 32: "MELODY:", CR LF
    // and eleven two-character notes.
    const QByteArray expected = QByteArray("BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:Tune\r\n"
                                           "BEAT:120\r\nSTYLE:0\r\nVOLUME:7\r\nMELODY:")
                                + QByteArray("c3").repeated(11) + QByteArray("\r\nEND:IMELODY");
    const QByteArray out = c.Run(melody.get());
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.size(), 127);
}

TEST_F(TunraConvert, SizeLimitThatLeavesNoRoomForNotesFailsWithItsOwnMessage)
{
    // Header 81 bytes + the name; with "MELODY:", CR LF and "END:IMELODY"
    // the 128 bytes hold a 25-character name and one note.
    struct Case
    {
        int nameLength;
        const char* id; // null: converts
    };
    const Case cases[] = {{25, nullptr},
                          {26, "id_no_room_for_notes"},
                          {27, "id_no_room_for_notes"},
                          {28, "id_header_exceeds_size_limit"},
                          {200, "id_header_exceeds_size_limit"}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.nameLength);
        Converter c;
        Bool(c.parameters, "SMSPaquet")->mValue = true;
        Int(c.parameters, "SMSPaquetCount")->mValue = 1;
        auto melody = Melody({Note(72, 3), Note(74, 3)});
        melody->SetMelodyName(QString(t.nameLength, QLatin1Char('n')));
        const QByteArray out = c.Run(melody.get());
        if (!t.id) {
            EXPECT_TRUE(c.converted);
            EXPECT_EQ(out.size(), 128);
            EXPECT_TRUE(out.endsWith("MELODY:c3\r\nEND:IMELODY"));
            continue;
        }
        EXPECT_FALSE(c.converted);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(c.Summary(), LogLine(t.id));
        EXPECT_FALSE(LogLine(t.id).trimmed().isEmpty());
        EXPECT_EQ(c.tunra.GetPreviewDocument(), nullptr);
    }
}

TEST_F(TunraConvert, BandMustSpanAWholeOctave)
{
    struct Case
    {
        int low, high;
        const char* line; // null: refused
    };
    const Case cases[] = {
        {60, 72, "MELODY:c2*3d3.r4\r\n"}, // D5 comes down two octaves to D3
        {60, 71, nullptr},
        {60, 70, nullptr},
        {72, 60, nullptr},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(testing::Message() << t.low << ".." << t.high);
        Converter c;
        c.HeaderFlags(false, false, false, false, false, false, false);
        c.Band(t.low, t.high);
        auto melody = ThreeElements();
        const QByteArray out = c.Run(melody.get());
        if (t.line) {
            EXPECT_EQ(out, QByteArray(t.line));
            continue;
        }
        EXPECT_FALSE(c.converted);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(c.Summary(), LogLine("id_bandwith_too_small"));
    }
}

TEST_F(TunraConvert, AsciiOutputIsTheTextAndGsm7OutputCodesEveryCharacter)
{
    struct Case
    {
        const char* model;
        QByteArray out;
    };
    const Case cases[] = {
        {"Model_A", "BEGIN:IMELODY\r\nNAME:A[b]~\r\nMELODY:c3(d3@2)\r\nEND:IMELODY"},
        // The same text with "[", "]", "~" as escape pairs and "@" as 0x00.
        {"Model_B", QByteArray("BEGIN:IMELODY\r\nNAME:A") + Bytes({0x1B, 0x3C}) + "b" + Bytes({0x1B, 0x3E, 0x1B, 0x3D})
                        + "\r\nMELODY:c3(d3" + Bytes({0x00}) + "2)\r\nEND:IMELODY"},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.model);
        Converter c(t.model);
        c.HeaderFlags(true, false, false, true, false, false, false);
        auto melody = Melody({Note(72, 3), new MelodyBeginPattern, Note(74, 3), new MelodyEndPattern(2)});
        melody->SetMelodyName(QStringLiteral("A[b]~"));
        EXPECT_EQ(c.Run(melody.get()), t.out);
    }
}

TEST_F(TunraConvert, MidiFileOfDrumsOnlyHasNoMelody)
{
    Converter c;
    const auto midi = MidiDocument(
        OneTrackMidiFile(96, Bytes({0x00, 0x99, 36, 100, 0x60, 0x89, 36, 0, 0x00, 0x99, 38, 100, 0x60, 0x89, 38, 0})));
    EXPECT_TRUE(c.Run(midi.get()).isEmpty());
    EXPECT_FALSE(c.converted);
    EXPECT_EQ(c.Summary(), LogLine("id_midi_file_empty"));
}

TEST_F(TunraConvert, MidiTempoGivesWayToTheTempoParameter)
{
    Converter c;
    c.HeaderFlags(true, false, false, false, true, false, false);
    Int(c.parameters, "Tempo")->mValue = 100;
    // Set Tempo 500000 us (120 bpm), then two quarters at 96 ticks each.
    const auto midi =
        MidiDocument(OneTrackMidiFile(96, Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 72, 100, 0x60,
                                                 0x80, 72,   0,    0x00, 0x90, 67,   100,  0x60, 0x80, 67, 0})));
    EXPECT_EQ(c.Run(midi.get()), QByteArray("BEGIN:IMELODY\r\nBEAT:100\r\nMELODY:c2*3g2\r\nEND:IMELODY"));
}

// The beat the document filter takes from a MIDI file, fitted to each phone:
// 120 without a tempo event; a final ritardando does not set the tune's pace
// (46 quarters at 333,333 us and 2 at 869,565: 48 x 60e6 / 17,072,448 us).
TEST_F(TunraConvert, MidiFileGivesItsTunesTempoOnEveryPhone)
{
    SmfTrack tune; // twelve whole notes
    for (int i = 0; i < 12; ++i)
        tune.NoteOn(0, 0, i % 2 ? 67 : 72, 100).NoteOff(1920, 0, i % 2 ? 67 : 72);
    SmfTrack ritardando;
    ritardando.Tempo(0, 333333).Tempo(46 * 480, 869565);
    const QByteArray melody = "MELODY:" + QByteArray("c0*3g0").repeated(6) + "\r\nEND:IMELODY";
    struct Case
    {
        QList<SmfTrack> tracks;
        const char* beat;
    };
    const Case cases[] = {{{tune}, "BEAT:120"}, {{ritardando, tune}, "BEAT:168"}};
    for (const Case& t : cases) {
        for (const char* model : {"Model_A", "Model_B", "Model_C"}) {
            SCOPED_TRACE(model);
            Converter c(model);
            c.HeaderFlags(true, false, false, false, true, false, false);
            const auto midi = MidiDocument(SmfFile(t.tracks));
            c.tunra.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
            c.tunra.FilterParametersWithDocument(&c.parameters, midi.get());
            EXPECT_EQ(c.Run(midi.get()).toStdString(),
                      ("BEGIN:IMELODY\r\n" + QByteArray(t.beat) + "\r\n" + melody).toStdString());
        }
    }
}

// Eight three-note chords of a quarter each at beat 120: each gives the note
// it starts last (here its middle one), and the preview lasts the file's 4 s.
TEST_F(TunraConvert, ChordsGiveOneNoteEachAndKeepTheTunesLength)
{
    SmfTrack track;
    for (int middle : {72, 74, 76, 77, 79, 81, 83, 84}) {
        track.NoteOn(0, 0, middle - 4, 100).NoteOn(0, 0, middle + 3, 100).NoteOn(0, 0, middle, 100);
        track.NoteOff(480, 0, middle + 3).NoteOff(0, 0, middle).NoteOff(0, 0, middle - 4);
    }
    const auto midi = MidiDocument(SmfFile({track}));
    Converter c;
    c.HeaderFlags(true, false, false, false, false, false, false);
    EXPECT_EQ(c.Run(midi.get()), QByteArray("BEGIN:IMELODY\r\nMELODY:c2d2e2f2g2a2b2*5c2\r\nEND:IMELODY"));
    // A quarter at beat 120, Natural: 5512 samples of tone, 5512 of silence.
    auto* wave = static_cast<CDocumentWave*>(c.tunra.GetPreviewDocument());
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->m_WAVEheader.data_ckSize, 2u * 8 * 11024);
}

TEST_F(TunraConvert, BundledMidiExample)
{
    QFile file(SourcePath("examples/morning.mid"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto midi = MidiDocument(file.readAll());
    midi->SetName(SourcePath("examples/morning.mid"));

    Converter c;
    // The tune of morning.txt: quarters "2", eighths "3", halves "1", the
    // last C a dotted half; G4 lies below octave 4 and gets its prefix.
    EXPECT_EQ(c.Run(midi.get()), QByteArray("BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:morning\r\n"
                                            "BEAT:120\r\nSTYLE:0\r\nVOLUME:7\r\n"
                                            "MELODY:c2e2g2e2f3g3a2g1r2e2d3c3d2e2c1r2*3g2c1.\r\nEND:IMELODY"));
}

TEST_F(TunraConvert, RefusesOtherDocumentsAndMissingSettings)
{
    {
        Converter c;
        CDocumentWave wave;
        EXPECT_TRUE(c.Run(&wave).isEmpty());
        EXPECT_FALSE(c.converted);
        EXPECT_EQ(c.Summary(), LogLine("id_document_not_compatible"));
        EXPECT_FALSE(c.tunra.Convert(nullptr));
    }
    {
        CTunra tunra;
        auto melody = ThreeElements();
        EXPECT_FALSE(tunra.Convert(melody.get()));
        EXPECT_TRUE(capture.HasWarning("GetParameters()"));
        EXPECT_TRUE(capture.HasWarning("GetProfile()"));
        EXPECT_TRUE(tunra.GetRawDataList().isEmpty());
    }
    {
        Converter c;
        auto melody = Melody({Rest(2), new MelodyBeginPattern, Rest(3), new MelodyEndPattern(1)});
        EXPECT_TRUE(c.Run(melody.get()).isEmpty());
        EXPECT_EQ(c.Summary(), LogLine("id_midi_file_empty"));
    }
}

TEST_F(TunraConvert, ReportsThreePhasesOnOneBar)
{
    Converter c;
    QList<QPair<QString, int>> reports;
    QObject::connect(&c.tunra, &CPluginBase::SetProgress,
                     [&reports](const QString text, int value) { reports.append(qMakePair(text, value)); });
    auto melody = ThreeElements();
    c.Run(melody.get());
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_EQ(reports.first(), qMakePair(QStringLiteral("Generating monophonic melody"), 0));
    EXPECT_TRUE(reports.contains(qMakePair(QStringLiteral("Generating imelody notes"), 33)));
    EXPECT_TRUE(reports.contains(qMakePair(QStringLiteral("Generating imelody notes"), 66)));
    EXPECT_TRUE(reports.contains(qMakePair(QStringLiteral("Generating preview"), 67)));
    EXPECT_EQ(c.tunra.GetProgressPhase(), int(CTunra::PhasePreview));

    reports.clear();
    c.tunra.ReportProgress(50, 0);
    c.tunra.ReportProgress(50, 1);
    c.tunra.ReportProgress(50, 2);
    c.tunra.ReportProgress(50, 3);
    const QList<QPair<QString, int>> expected = {qMakePair(QStringLiteral("Generating monophonic melody"), 16),
                                                 qMakePair(QStringLiteral("Generating imelody notes"), 49),
                                                 qMakePair(QStringLiteral("Generating preview"), 83)};
    EXPECT_EQ(reports, expected);
}
