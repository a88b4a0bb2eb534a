// Melodies to QBR files: header bytes and one-note files worked out by hand,
// size limits, bands, tempo and volume at their limits, round trips through
// the one-line reader, the preview's loops and the debug files.
#include "CChimo.h"
#include "ExporterTestSupport.h"

#include "Documents/CDocumentPicture.h"
#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMelodyTruncate.h"
#include "Melody/MidiNote.h"
#include "Wave/CDocumentWave.h"

#include "MidiFileBuilder.h"

#include <QFileInfo>
#include <memory>

using namespace ExporterTest;

namespace {
MidiNote* Note(int key, int duration = 2, int volume = 100)
{
    MidiNote* note = new MidiNote;
    note->SetMidiKey(key);
    note->SetDuration(duration);
    note->SetVolume(volume);
    return note;
}

MidiNote* Rest(int duration = 2)
{
    MidiNote* rest = new MidiNote;
    rest->SetDuration(duration);
    return rest;
}

std::unique_ptr<CDocumentMelody> Melody(const QList<MelodyElement*>& elements,
                                        const QString& name = QStringLiteral("/tunes/tune.mid"))
{
    std::unique_ptr<CDocumentMelody> melody(new CDocumentMelody);
    melody->SetName(name);
    for (MelodyElement* element : elements)
        melody->GetMelodyNoteList().append(element);
    return melody;
}

// Alternating pitches: every note a two-byte code.
std::unique_ptr<CDocumentMelody> LongMelody(int notes)
{
    QList<MelodyElement*> elements;
    for (int i = 0; i < notes; ++i)
        elements.append(Note(i % 2 ? 69 : 72));
    return Melody(elements);
}

struct Chimo : Fixture<CChimo>
{
    explicit Chimo(const char* model = "Model_A") : Fixture(QStringLiteral("QBRParameters.xml"), model)
    {
        LoadLanguage();
    }
    QString Line(const char* id) { return LogLine("CChimo", id); }
    void SetInt(const char* name, int value) { parameters.GetIntParameter(QString::fromLatin1(name))->mValue = value; }
    void SetBool(const char* name, bool value)
    {
        parameters.GetBoolParameter(QString::fromLatin1(name))->mValue = value;
    }
    int PreviewSamples()
    {
        const auto* wave = static_cast<CDocumentWave*>(converter.GetPreviewDocument());
        return wave ? int(wave->m_WAVEheader.data_ckSize / 2) : -1;
    }
};
} // namespace

TEST(ChimoConvert, OneNoteFileWorkedByHand)
{
    Chimo t;
    t.SetEnum("Style", "Staccato");
    auto melody = Melody({Note(69)});
    const QByteArray out = t.Run(melody.get());
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    // n = 3; tempo 120 >> 2 = 0x1E; (120 & 3) x 64 + 2 x 16 + 7 = 0x27; a
    // quarter A of octave 3 one volume level down: low byte quarter x 8 +
    // step code 2 x 2, high byte 3 x 16 + 9.
    EXPECT_EQ(out, QByteArray(".QBR") + Bytes({0x03, 0x00, 0x10, 0x20, 0x1E, 0x27, 0x14, 0x39, 0x1F}));
    EXPECT_EQ(melody->GetBeat(), 120);
    EXPECT_EQ(melody->GetStyle(), 2);
}

TEST(ChimoConvert, HeaderTempoStyleAndVolume)
{
    struct Case
    {
        int tempo, volume;
        const char* style;
        int byte8, byte9;
    } const cases[] = {
        {120, 7, "Staccato", 0x1E, 0x27},  {1, 0, "Natural", 0x00, 0x40}, {1023, 15, "Continuous", 0xFF, 0xDF},
        {121, 20, "Natural", 0x1E, 0x4F}, // the volume is kept to 15: the style bits stay
        {122, -3, "Staccato", 0x1E, 0xA0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tempo << " " << c.style << " " << c.volume);
        Chimo t;
        t.SetInt("Tempo", c.tempo);
        t.SetInt("Volume", c.volume);
        t.SetEnum("Style", c.style);
        auto melody = Melody({Note(69)});
        const QByteArray out = t.Run(melody.get());
        ASSERT_TRUE(t.converted) << t.Summary().toStdString();
        EXPECT_EQ(quint8(out.at(8)), c.byte8);
        EXPECT_EQ(quint8(out.at(9)), c.byte9);
    }
}

TEST(ChimoConvert, TempoTheHeaderCannotHoldIsRefused)
{
    for (int tempo : {0, -5, 1024, 5000}) {
        Chimo t;
        t.SetInt("Tempo", tempo);
        auto melody = Melody({Note(69)});
        EXPECT_TRUE(t.Run(melody.get()).isEmpty());
        EXPECT_FALSE(t.converted);
        EXPECT_EQ(t.Summary(), t.Line("id_tempo_out_of_range")) << tempo;
    }
}

TEST(ChimoConvert, SmsPacketsLimitTheFile)
{
    struct Case
    {
        int packets;
        int size; // of the written file
    } const cases[] = {
        {1, 10 + 116 + 1}, // 117 code bytes fit; notes take two
        {2, 10 + 244 + 1}, // at most 245 code bytes
        {10, 10 + 2 * 600 + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packets);
        Chimo t;
        t.SetBool("SMSPaquet", true);
        t.SetInt("SMSPaquetCount", c.packets);
        auto melody = LongMelody(600);
        const QByteArray out = t.Run(melody.get());
        ASSERT_TRUE(t.converted) << t.Summary().toStdString();
        EXPECT_EQ(out.size(), c.size);
        EXPECT_LE(out.size(), c.packets * 128);
        EXPECT_EQ(Word(out, 4), out.size() - 10);
        EXPECT_EQ(quint8(out.at(out.size() - 1)), 0x1F);
    }
}

TEST(ChimoConvert, NoRoomFailsWithAMessage)
{
    // No packet at all: the writer's own refusal is the message.
    Chimo none;
    none.SetBool("SMSPaquet", true);
    none.SetInt("SMSPaquetCount", 0);
    auto melody = LongMelody(4);
    none.Run(melody.get());
    EXPECT_FALSE(none.converted);
    EXPECT_EQ(none.Summary(), CMelodyTruncate::GetErrorText(CMelodyTruncate::BadSize) + QLatin1Char('\n'));
    EXPECT_TRUE(none.converter.GetRawDataList().isEmpty());
    EXPECT_EQ(none.converter.GetPreviewDocument(), nullptr);

    // Rests fill one packet before the first note.
    Chimo rests;
    rests.SetBool("SMSPaquet", true);
    rests.SetInt("SMSPaquetCount", 1);
    QList<MelodyElement*> elements;
    for (int i = 0; i < 200; ++i)
        elements.append(Rest());
    elements.append(Note(69));
    auto late = Melody(elements);
    rests.Run(late.get());
    EXPECT_FALSE(rests.converted);
    EXPECT_EQ(rests.Summary(), rests.Line("id_no_room_for_notes"));
}

TEST(ChimoConvert, BandMustSpanAnOctave)
{
    struct Case
    {
        int low, high;
        bool passes;
    } const cases[] = {{60, 71, false}, {60, 72, true}, {72, 60, false}, {0, 127, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
        Chimo t;
        t.SetProfileInt("BuzzerBandWidthLowNote", c.low);
        t.SetProfileInt("BuzzerBandWidthHighNote", c.high);
        auto melody = Melody({Note(64)});
        t.Run(melody.get());
        EXPECT_EQ(t.converted, c.passes);
        if (!c.passes) {
            EXPECT_EQ(t.Summary(), t.Line("id_bandwith_too_small"));
        }
    }
}

TEST(ChimoConvert, DocumentsItCannotConvert)
{
    MessageCapture quiet;
    Chimo t;
    auto silent = Melody({Rest(), Rest()});
    t.Run(silent.get());
    EXPECT_FALSE(t.converted);
    EXPECT_EQ(t.Summary(), t.Line("id_midi_file_empty"));

    CDocumentPicture picture;
    t.Run(&picture);
    EXPECT_FALSE(t.converted);
    EXPECT_EQ(t.Summary(), t.Line("id_document_not_compatible"));

    t.Run(nullptr);
    EXPECT_FALSE(t.converted);

    CChimo bare;
    auto melody = Melody({Note(69)});
    EXPECT_FALSE(bare.Convert(melody.get())) << "no parameters or profile";
    EXPECT_TRUE(quiet.HasWarning("GetParameters()"));
    EXPECT_TRUE(bare.GetRawDataList().isEmpty());
}

TEST(ChimoConvert, ProfileDefaultStyleWins)
{
    // Model C plays every melody in its default style, Staccato.
    Chimo t("Model_C");
    t.SetEnum("Style", "Natural");
    auto melody = Melody({Note(69)});
    const QByteArray out = t.Run(melody.get());
    ASSERT_TRUE(t.converted);
    EXPECT_EQ((quint8(out.at(9)) >> 4) & 3, 2);
}

TEST(ChimoConvert, RoundTripThroughTheOneLineReader)
{
    Chimo t;
    t.SetInt("Tempo", 150);
    t.SetInt("Volume", 9);
    t.SetEnum("Style", "Continuous");
    auto melody = Melody({Note(60, 2), Note(64, 3), Rest(1), new MelodyBeginPattern(3), Note(67, 2), Note(72, 4),
                          new MelodyEndPattern(3), Note(65, 1)});
    const QByteArray out = t.Run(melody.get());
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();

    CDocumentMelody back;
    CMelodyTruncate reader;
    ASSERT_TRUE(reader.ParseOneLineMelody(out, &back, &t.profile)) << reader.GetErrorText().toStdString();
    EXPECT_EQ(back.GetBeat(), 150);
    EXPECT_EQ(back.GetStyle(), 1);
    EXPECT_EQ(back.GetVolume(), 9);
    const MelodyNoteList& notes = back.GetMelodyNoteList();
    ASSERT_EQ(notes.count(), 8);
    struct Expected
    {
        int type, key, duration;
    } const expected[] = {{MelodyElement::Note, 60, 2},      {MelodyElement::Note, 64, 3},
                          {MelodyElement::Note, -1, 1},      {MelodyElement::BeginPattern, 0, 0},
                          {MelodyElement::Note, 67, 2},      {MelodyElement::Note, 72, 4},
                          {MelodyElement::EndPattern, 0, 0}, {MelodyElement::Note, 65, 1}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(notes.at(i)->GetElementType(), expected[i].type);
        if (expected[i].type != MelodyElement::Note)
            continue;
        const MidiNote* note = static_cast<const MidiNote*>(notes.at(i));
        if (expected[i].key < 0)
            EXPECT_TRUE(note->IsSilence());
        else
            EXPECT_EQ(note->GetMidiKey(), expected[i].key);
        EXPECT_EQ(note->GetDuration(), expected[i].duration);
    }
    EXPECT_EQ(static_cast<const MelodyEndPattern*>(notes.at(6))->GetRepeatCount(), 3);
}

// The set-up track names programs on two channels; only the second plays, in
// the next track. Its tune makes the same file as the tune written out.
TEST(ChimoConvert, SetUpTrackWithSilentProgramsGivesTheMelodyThatPlays)
{
    MessageCapture quiet;
    SmfTrack setUp;
    setUp.Program(0, 0, 0).Program(0, 1, 33);
    SmfTrack bass;
    bass.NoteOn(0, 1, 64, 100).NoteOff(480, 1, 64).NoteOn(240, 1, 67, 100).NoteOff(240, 1, 67);
    bass.NoteOn(0, 1, 60, 100).NoteOff(960, 1, 60);
    const QByteArray file = SmfFile({setUp, bass});
    CDocumentMidi midi;
    midi.SetName(QStringLiteral("/tunes/tune.mid"));
    midi.SetRawData(reinterpret_cast<const unsigned char*>(file.constData()), unsigned(file.size()));

    Chimo fromFile;
    const QByteArray out = fromFile.Run(&midi);
    ASSERT_TRUE(fromFile.converted) << fromFile.Summary().toStdString();
    Chimo byHand;
    auto melody = Melody({Note(64), Rest(3), Note(67, 3), Note(60, 1)});
    EXPECT_EQ(out, byHand.Run(melody.get()));
}

TEST(ChimoPreview, GoesOnAfterALoopHasPlayedItsTimes)
{
    Chimo one;
    auto single = Melody({Note(69)});
    one.Run(single.get());
    ASSERT_TRUE(one.converted);
    const int note = one.PreviewSamples();
    ASSERT_GT(note, 0);

    Chimo looped;
    auto melody = Melody({new MelodyBeginPattern(2), Note(69), new MelodyEndPattern(2), Note(72)});
    looped.Run(melody.get());
    ASSERT_TRUE(looped.converted) << looped.Summary().toStdString();
    EXPECT_EQ(looped.PreviewSamples(), 3 * note);
}

TEST(ChimoDebugFiles, OnlyItsOwnFilesBesideTheSource)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Debug")));
    const QString keep = folder.path() + QStringLiteral("/Debug/keep.txt");
    {
        QFile file(keep);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("mine");
    }
    MessageCapture quiet;
    Chimo t;
    t.SetBool("GenerateDebugFiles", true);
    auto melody = Melody({Note(69), Note(72)}, folder.path() + QStringLiteral("/tune.mid"));
    const QByteArray out = t.Run(melody.get());
    ASSERT_TRUE(t.converted);
    QFile written(folder.path() + QStringLiteral("/Debug/out.QBR"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), out);
    EXPECT_GT(QFileInfo(folder.path() + QStringLiteral("/Debug/preview.wav")).size(), 44);
    EXPECT_TRUE(QFileInfo::exists(keep));

    // A melody made in memory has no folder to write beside.
    Chimo unnamed;
    unnamed.SetBool("GenerateDebugFiles", true);
    auto memory = Melody({Note(69)}, QString());
    unnamed.Run(memory.get());
    EXPECT_TRUE(unnamed.converted);
    EXPECT_TRUE(unnamed.converter.GetDebugFolder().isEmpty());
}

TEST(ChimoFilters, TempoAndStylesFollowTheBuzzer)
{
    Chimo t("Model_A");
    t.SetInt("Tempo", 300);
    t.converter.FilterParametersWithProfile(&t.parameters, &t.profile, 1);
    const CIntParameter* tempo = t.parameters.GetIntParameter(QStringLiteral("Tempo"));
    EXPECT_EQ(tempo->mMin, 40);
    EXPECT_EQ(tempo->mMax, 200);
    EXPECT_EQ(tempo->mValue, 200);
    CEnumParameter* style = t.parameters.GetEnumParameter(QStringLiteral("Style"));
    EXPECT_FALSE(style->SetValue(QStringLiteral("Staccato"))) << "Model A plays no staccato";
    t.converter.FilterParametersWithProfile(&t.parameters, &t.profile, 0);
    EXPECT_TRUE(style->SetValue(QStringLiteral("Staccato")));

    auto melody = Melody({Note(69)});
    melody->SetBeat(90);
    melody->SetStyle(1);
    t.converter.FilterParametersWithDocument(&t.parameters, melody.get());
    EXPECT_EQ(tempo->mValue, 90);
    EXPECT_EQ(style->GetValue(), QStringLiteral("Continuous"));

    // A constant tempo keeps its value through both filters.
    Chimo fixed("Model_A");
    CIntParameter* constant = fixed.parameters.GetIntParameter(QStringLiteral("Tempo"));
    constant->mIsConst = true;
    constant->mValue = 300;
    fixed.converter.FilterParametersWithProfile(&fixed.parameters, &fixed.profile, 1);
    fixed.converter.FilterParametersWithDocument(&fixed.parameters, melody.get());
    EXPECT_EQ(constant->mValue, 300);
}

TEST(ChimoFilters, TheHostsQuestions)
{
    struct Case
    {
        const char* model;
        int compatible;
    } const cases[] = {{"Model_A", 1}, {"Model_B", 1}, {"Model_C", 0}};
    for (const Case& c : cases) {
        Chimo t(c.model);
        EXPECT_EQ(t.converter.IsCompatibleWithProfile(&t.profile), c.compatible) << c.model;
    }
    CChimo chimo;
    EXPECT_EQ(chimo.IsCompatibleWithProfile(nullptr), 0);
    EXPECT_EQ(chimo.GetImageExporter(), nullptr);
    EXPECT_EQ(chimo.GetDocumentType(), 0xC);
    EXPECT_EQ(chimo.GetPreviewDocumentType(), 2);
    EXPECT_EQ(chimo.GetDescription(), QStringLiteral("IBrimsel Melody converter"));
    EXPECT_EQ(chimo.GetParametersFileName(), QStringLiteral("QBRParameters.xml"));
}
