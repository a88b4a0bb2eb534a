// The converter as the host drives it: exports, the authored parameter file,
// settings, progress, cancel, the media script and the debug folder.
#include "CPolyra.h"
#include "MediaScriptFile.h"
#include "PolyraTestSupport.h"

#include "LoadedPluginModule.h"

#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CRunFiles.h"
#include "Plugin/PluginExports.h"
#include "Text/CLanguageResources.h"
#include "Wave/CDocumentWave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace PolyraTest;
using MidiTest::TrackBuilder;

namespace {

QString SourcePath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + QString::fromLatin1(relative);
}

QString ParameterFilePath()
{
    return SourcePath("data/app/Plugins/Parameters/MSEQParameters.xml");
}

QString LogLine(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CPolyra"), QString::fromLatin1(id)) + QLatin1Char('\n');
}

QByteArray ThreeVoiceTune()
{
    TrackBuilder music;
    music.Event(0, {0xC0, 0})
        .Event(0, {0x90, 60, 100})
        .Event(0, {0x91, 40, 90})
        .Event(0, {0x99, 36, 100})
        .Event(96, {0x80, 60, 0})
        .Event(0, {0x81, 40, 0})
        .Event(0, {0x89, 36, 0})
        .Event(0, {0x90, 64, 100})
        .Event(96, {0x80, 64, 0})
        .EndOfTrack();
    return TwoTrackFile(music);
}

class PolyraConverterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CLanguageResources::Load(SourcePath("data/app/Languages/English.xml")));
        ASSERT_TRUE(folder.isValid());
        LoadParameters(ParameterFilePath());
        ASSERT_TRUE(profile.Load(SourcePath("data/app/Profiles/Model_C.xml")));
        converter.SetProfile(&profile);
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }

    void LoadParameters(const QString& path)
    {
        parameters = std::make_unique<CParameters>();
        ASSERT_TRUE(parameters->Load(path));
        converter.SetParameters(parameters.get());
    }

    std::unique_ptr<CDocumentMidi> Document(const QByteArray& midi)
    {
        auto document = std::make_unique<CDocumentMidi>();
        document->SetRawData(reinterpret_cast<const unsigned char*>(midi.constData()), unsigned(midi.size()));
        document->SetName(folder.filePath(QStringLiteral("tune.mid")));
        return document;
    }

    bool Convert(const QByteArray& midi)
    {
        converter.ClearRawData();
        auto document = Document(midi);
        return converter.Convert(document.get());
    }

    QByteArray Result() const
    {
        return converter.GetRawDataList().isEmpty() ? QByteArray() : converter.GetRawDataList().first();
    }
    QString Summary() { return converter.GetConversionLog()->GetSummaryText(); }
    QString DebugPath(const char* name) const
    {
        return folder.filePath(QStringLiteral("Debug/") + QLatin1String(name));
    }

    QTemporaryDir folder;
    QString previous;
    std::unique_ptr<CParameters> parameters;
    CProfile profile;
    CPolyra converter;
};

TEST(PolyraPlugin, ExportsMakeAnMseqConverter)
{
    LoadedPluginModule module(ORV_PLUGIN_FILE);
    ASSERT_NO_FATAL_FAILURE(ExpectModuleIdentity(module, "Polyra", 0x10000, 1));
    CPluginBase* converter = module.classInfo(0)->CreateInstance();
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(converter->GetExportExtension(), QStringLiteral("SEQ"));
    EXPECT_EQ(converter->GetDescription(), QStringLiteral("SEQ converter"));
    EXPECT_EQ(converter->GetParametersFileName(), QStringLiteral("MSEQParameters.xml"));
    EXPECT_EQ(converter->GetDocumentType(), 0x4);
    EXPECT_EQ(converter->GetPreviewDocumentType(), 0x2);
    EXPECT_EQ(converter->GetConverterType(), 2);
    EXPECT_EQ(converter->IsCancelable(), 1);
    delete converter;
}

TEST_F(PolyraConverterTest, ParameterFileDeclaresEverySettingWithItsType)
{
    struct Expected
    {
        const char* stem;
        int type;
    };
    const Expected perClass[] = {{"Keep", CParameter::BOOL_TYPE},
                                 {"Shift", CParameter::INT_TYPE},
                                 {"Volume", CParameter::FLOAT_TYPE},
                                 {"Atmosphere", CParameter::ENUM_TYPE},
                                 {"Priority", CParameter::INT_TYPE}};
    for (const Expected& e : perClass)
        for (int key = 0; key < 17; ++key) {
            const CParameter* parameter = parameters->GetParameter(QLatin1String(e.stem) + QString::number(key));
            ASSERT_NE(parameter, nullptr) << e.stem << key;
            EXPECT_EQ(parameter->GetType(), e.type) << e.stem << key;
        }
    const Expected global[] = {{"GlobalShift", CParameter::INT_TYPE},
                               {"PolyphonyLimitation", CParameter::INT_TYPE},
                               {"Equalizer", CParameter::INT_TYPE},
                               {"KeepKaraoke", CParameter::BOOL_TYPE},
                               {"VolumeBoost", CParameter::ENUM_TYPE}};
    for (const Expected& e : global) {
        const CParameter* parameter = parameters->GetParameter(QLatin1String(e.stem));
        ASSERT_NE(parameter, nullptr) << e.stem;
        EXPECT_EQ(parameter->GetType(), e.type) << e.stem;
    }
    // Its presence alone would mean bass-mute mode.
    EXPECT_EQ(parameters->GetParameter(QStringLiteral("BassMute")), nullptr);
    // The equaliser stays clear of the booster bit; every detune fits a signed byte.
    const CIntParameter* equalizer = parameters->GetIntParameter(QStringLiteral("Equalizer"));
    EXPECT_EQ(equalizer->mMin, 0);
    EXPECT_EQ(equalizer->mMax, 7);
    const CIntParameter* shift = parameters->GetIntParameter(QStringLiteral("Shift0"));
    const CIntParameter* globalShift = parameters->GetIntParameter(QStringLiteral("GlobalShift"));
    EXPECT_LE(shift->mMax * 12 + globalShift->mMax, 127);
    EXPECT_GE(shift->mMin * 12 + globalShift->mMin, -128);
}

TEST_F(PolyraConverterTest, DocumentOffersOnlyItsOwnInstruments)
{
    TrackBuilder drums;
    drums.Event(0, {0x99, 36, 100}).Event(96, {0x89, 36, 0}).EndOfTrack();
    // A file without a readable note says nothing of its instruments: every one stays offered.
    TrackBuilder silent;
    silent.Event(0, {0xC0, 5}).EndOfTrack();
    const struct
    {
        TrackBuilder* track;
        int onlyOffered; // -1: every key
    } cases[] = {{&drums, 4}, {&silent, -1}};
    for (const auto& c : cases) {
        auto document = Document(TwoTrackFile(*c.track));
        converter.FilterParametersWithDocument(parameters.get(), document.get());
        for (int key = 0; key < 17; ++key) {
            const CBoolParameter* keep = parameters->GetBoolParameter(QStringLiteral("Keep%1").arg(key));
            EXPECT_TRUE(keep->mValue) << key;
            EXPECT_EQ(keep->mIsConst, c.onlyOffered >= 0 && key != c.onlyOffered) << key;
        }
    }
}

TEST_F(PolyraConverterTest, AnotherDocumentLeavesTheParametersAlone)
{
    parameters->GetBoolParameter(QStringLiteral("Keep3"))->mValue = false;
    CDocumentWave wave;
    MessageCapture capture;
    converter.FilterParametersWithDocument(parameters.get(), &wave);
    EXPECT_FALSE(capture.Warnings().isEmpty());
    EXPECT_FALSE(parameters->GetBoolParameter(QStringLiteral("Keep3"))->mValue);
    EXPECT_FALSE(parameters->GetBoolParameter(QStringLiteral("Keep3"))->mIsConst);
}

TEST_F(PolyraConverterTest, ConvertWritesSequencePreviewAndDebugFiles)
{
    QDir(folder.path()).mkdir(QStringLiteral("Debug"));
    ASSERT_TRUE(WriteFileBytes(DebugPath("mine.txt"), "keep me"));

    ASSERT_TRUE(Convert(ThreeVoiceTune())) << Summary().toStdString();
    const QByteArray sequence = Result();
    ASSERT_GE(sequence.size(), 26);
    EXPECT_EQ(sequence.left(4), QByteArray(".SEQ"));
    EXPECT_EQ(int(sequence[22]), 1);
    ASSERT_NE(converter.GetPreviewDocument(), nullptr);
    EXPECT_EQ(converter.GetPreviewDocument()->GetDocType(), int(CDocument::WAVE));

    for (const char* name : {"Trace.txt", "Format0.mid", "Dest.mid", "Out.seq", "Preview.wav"})
        EXPECT_TRUE(QFileInfo(DebugPath(name)).isFile()) << name;
    EXPECT_EQ(ReadFileBytes(DebugPath("mine.txt")), QByteArray("keep me"));
    EXPECT_TRUE(ReadFileBytes(DebugPath("Trace.txt")).startsWith(Summary().left(20).toLatin1()));
    EXPECT_TRUE(Summary().contains(QStringLiteral("*** Lecture du fichier MIDI source...\n")));
}

// A debug file name that is a link is never written through: that debug file cannot be written, and the
// conversion fails saying so.
TEST_F(PolyraConverterTest, ADebugFileThatIsALinkFailsTheConversion)
{
    QDir(folder.path()).mkdir(QStringLiteral("Debug"));
    ASSERT_TRUE(WriteFileBytes(folder.filePath(QStringLiteral("outside.txt")), "outside"));
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("outside.txt")), DebugPath("Out.seq")));
    EXPECT_FALSE(Convert(ThreeVoiceTune()));
    EXPECT_EQ(ReadFileBytes(folder.filePath(QStringLiteral("outside.txt"))), QByteArray("outside"));
    EXPECT_TRUE(QFileInfo(DebugPath("Out.seq")).isSymLink());
}

TEST_F(PolyraConverterTest, BassMuteWritesNoDebugFilesAndOnlyUserLines)
{
    QByteArray xml = ReadFileBytes(ParameterFilePath());
    xml.replace("<PSECTION>", "<PSECTION>\n<DATA NAME=\"BassMute\" TYPE=\"Boolean\" VALUE=\"true\"/>");
    const QString path = folder.filePath(QStringLiteral("bassmute.xml"));
    ASSERT_TRUE(WriteFileBytes(path, xml));
    LoadParameters(path);
    ASSERT_TRUE(WriteFileBytes(folder.filePath(QStringLiteral(".emi")), "0\tTXT\thello\n"));

    ASSERT_TRUE(Convert(ThreeVoiceTune())) << Summary().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("Debug"))));
    EXPECT_FALSE(Summary().contains(QStringLiteral("***")));
    const QByteArray sequence = Result();
    ASSERT_GE(sequence.size(), 26);
    // Model C's "BassMuteOn" equaliser, booster off, no script read.
    EXPECT_EQ(uint8_t(sequence[21]), 0x85);
    EXPECT_EQ(int(sequence[22]), 1);
}

TEST_F(PolyraConverterTest, ScriptIsReadFromTheCurrentFolder)
{
    ASSERT_TRUE(Convert(ThreeVoiceTune()));
    EXPECT_EQ(int(Result()[22]), 1);
    EXPECT_TRUE(Summary().contains(QStringLiteral("pas de fichier .EMI")));

    ASSERT_TRUE(WriteFileBytes(folder.filePath(QStringLiteral(".emi")), "0.1\tTXT\thello\n0.2\tPIC\t7\n"));
    ASSERT_TRUE(Convert(ThreeVoiceTune()));
    EXPECT_EQ(int(Result()[22]), 3);
    EXPECT_TRUE(Summary().contains(QStringLiteral("2 media inseres\n")));
}

TEST_F(PolyraConverterTest, ProgressOnlyRisesOverTheTwoSyntheses)
{
    std::vector<int> values;
    std::vector<int> phases;
    QObject::connect(&converter, &CPluginBase::SetProgress, [&](const QString, int value) {
        if (value >= 0) {
            values.push_back(value);
            phases.push_back(converter.GetProgressPhase());
        }
    });
    ASSERT_TRUE(Convert(ThreeVoiceTune()));
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_LE(values[i], phases[i] == CPolyra::PhaseAnalysis ? 50 : 100);
        EXPECT_GE(values[i], phases[i] == CPolyra::PhaseAnalysis ? 0 : 50);
        if (i > 0) {
            EXPECT_GE(values[i], values[i - 1]);
        }
    }
}

TEST_F(PolyraConverterTest, CancelDuringTheMergeEndsQuietly)
{
    QObject::connect(&converter, &CPluginBase::SetProgress, [&](const QString, int value) {
        if (value < 0)
            converter.Cancel();
    });
    EXPECT_FALSE(Convert(ThreeVoiceTune()));
    EXPECT_TRUE(Result().isEmpty());
    EXPECT_FALSE(Summary().contains(QStringLiteral("Conversion error")));
    EXPECT_FALSE(Summary().contains(QStringLiteral("conversion annulee")));
}

TEST_F(PolyraConverterTest, CancelDuringTheFirstSynthesisSaysSo)
{
    bool synthesised = false;
    QObject::connect(&converter, &CPluginBase::SetProgress, [&](const QString, int value) {
        if (value >= 0 && converter.GetProgressPhase() == CPolyra::PhaseAnalysis) {
            synthesised = true;
            converter.Cancel();
        }
    });
    EXPECT_FALSE(Convert(ThreeVoiceTune()));
    EXPECT_TRUE(synthesised);
    EXPECT_TRUE(Summary().contains(QStringLiteral("conversion annulee\n")));
}

TEST_F(PolyraConverterTest, StrummedChordHeldTwoBarsSoundsAsLongAsItIsHeld)
{
    // Struck a tick apart and released together two bars later at 480
    // ticks a quarter: 4 s, too long for the field in units of one tick.
    const int pitches[3] = {60, 64, 67};
    TrackBuilder music;
    for (int n = 0; n < 3; ++n)
        music.Event(n ? 1 : 0, {0x90, pitches[n], 100});
    for (int n = 0; n < 3; ++n)
        music.Event(n ? 0 : 3838, {0x80, pitches[n], 0});
    music.EndOfTrack();
    const QByteArray source = TwoTrackFile(music, 480);
    ASSERT_TRUE(Convert(source)) << Summary().toStdString();

    const Words misc = MiscCommands(Result());
    ASSERT_FALSE(misc.empty());
    const unsigned rtb = misc[0] >> 5;
    const std::vector<NoteCommand> notes = NoteCommands(misc);
    const HeardMidi heard = HearMidi(source);
    ASSERT_EQ(notes.size(), heard.notes.size());
    for (size_t n = 0; n < notes.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(notes[n].pitch, heard.notes[n].pitch);
        EXPECT_LE(notes[n].units * rtb, heard.notes[n].length);
        EXPECT_GT(notes[n].units * rtb + rtb, heard.notes[n].length);
    }

    // The sound lasts the chord's 4 s and fades within the release.
    const auto* preview = static_cast<CDocumentWave*>(converter.GetPreviewDocument());
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->m_WAVEheader.nBitsPerSample, 16);
    const auto* samples = reinterpret_cast<const int16_t*>(preview->m_pInputData);
    long last = long(preview->m_WAVEheader.data_ckSize / 2) - 1;
    while (last >= 0 && std::abs(int(samples[last])) < 64)
        --last;
    const double seconds = double(last + 1) / preview->m_WAVEheader.nSamplesPerSec;
    EXPECT_GT(seconds, 3.9);
    EXPECT_LT(seconds, 4.5);
}

// The samples where the sound rises sharply: the next 5 ms are on average
// over four times as loud as the 10 ms before (and clearly audible), at
// most one every 100 ms. Looked for every millisecond.
std::vector<long> Onsets(const CDocumentWave& wave)
{
    const auto* samples = reinterpret_cast<const int16_t*>(wave.m_pInputData);
    const long count = long(wave.m_WAVEheader.data_ckSize / 2);
    auto loudness = [&](long from, long to) {
        from = std::max(from, 0L);
        to = std::min(to, count);
        long sum = 0;
        for (long i = from; i < to; ++i)
            sum += std::abs(int(samples[i]));
        return to > from ? double(sum) / double(to - from) : 0.0;
    };
    std::vector<long> onsets;
    for (long at = 0; at + 40 <= count; at += 8) {
        if (!onsets.empty() && at - onsets.back() < 800)
            continue;
        if (loudness(at, at + 40) > 4 * loudness(at - 80, at) + 200)
            onsets.push_back(at);
    }
    return onsets;
}

// A pad held 30 s at 480 ticks a quarter under a drum hit of 8 ticks on
// every eighth note.
QByteArray PadUnderDrumHits()
{
    TrackBuilder music;
    music.Event(0, {0xC0, 89}).Event(0, {0x90, 60, 100});
    for (int hit = 0; hit < 120; ++hit)
        music.Event(hit ? 232 : 0, {0x99, 38, 100}).Event(8, {0x89, 38, 0});
    music.Event(232, {0x80, 60, 0}).EndOfTrack();
    return TwoTrackFile(music, 480);
}

TEST_F(PolyraConverterTest, DrumHitsUnderAHeldPadTakeOneUnitEach)
{
    ASSERT_TRUE(Convert(PadUnderDrumHits())) << Summary().toStdString();
    // Every delta and the merged end of 350 share 2: 240 ticks a quarter.
    // The pad's 14,400 ticks want 15 in 1023 units; the hits last 4.
    const Words misc = MiscCommands(Result());
    ASSERT_FALSE(misc.empty());
    EXPECT_EQ(misc[0], RtbWord(15));
    const std::vector<WrittenNote> notes = WrittenNotes(misc);
    ASSERT_EQ(notes.size(), 121u);
    EXPECT_EQ(notes[0].channel, 0);
    EXPECT_EQ(notes[0].length, 14400u);
    for (size_t hit = 1; hit < notes.size(); ++hit) {
        SCOPED_TRACE(hit);
        EXPECT_EQ(notes[hit].channel, 9);
        EXPECT_EQ(notes[hit].start, (hit - 1) * 120);
        EXPECT_EQ(notes[hit].length, 15u);
    }
    EXPECT_FALSE(Summary().contains(NoticeLine("id_short_notes_left_out", QString()).left(20)));

    // Each hit is heard: a quarter of a second apart, within 5 ms.
    const auto* preview = static_cast<CDocumentWave*>(converter.GetPreviewDocument());
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->m_WAVEheader.nSamplesPerSec, 8000u);
    const std::vector<long> onsets = Onsets(*preview);
    ASSERT_EQ(onsets.size(), 120u);
    EXPECT_EQ(onsets[0], 0);
    for (size_t hit = 1; hit < onsets.size(); ++hit)
        EXPECT_NEAR(onsets[hit] - onsets[hit - 1], 2000, 40) << hit;
}

TEST_F(PolyraConverterTest, NoteHeldTwoHundredQuarterNotesIsCutTo1023ThirtySecondNotes)
{
    // Beside a short note of 230 ticks at 480 a quarter: the deltas and the
    // merged end of 350 share 10, so 48 ticks a quarter of 10,416 us, and
    // the notes last 9,600 and 23 ticks, whose divisor is 1. The unit that
    // would hold 9,600 ticks, 10, is past a thirty-second note, 6.
    TrackBuilder music;
    music.Event(0, {0x90, 60, 100})
        .Event(0, {0x90, 64, 100})
        .Event(230, {0x80, 64, 0})
        .Event(95770, {0x80, 60, 0})
        .EndOfTrack();
    ASSERT_TRUE(Convert(TwoTrackFile(music, 480))) << Summary().toStdString();
    const Words misc = MiscCommands(Result());
    ASSERT_FALSE(misc.empty());
    EXPECT_EQ(misc[0], RtbWord(6));
    EXPECT_EQ(NoteCommands(misc), (std::vector<NoteCommand>{{60, 1023}, {64, 3}}));
    EXPECT_EQ(Summary().count(NoticeLine("id_long_notes_cut", QStringLiteral("1"), QStringLiteral("63.9"))), 1);
}

struct RefusalCase
{
    const char* name;
    const char* id;
};

TEST_F(PolyraConverterTest, RefusalsLogTheirMessage)
{
    {
        CDocumentWave wave;
        EXPECT_FALSE(converter.Convert(&wave));
        EXPECT_TRUE(Summary().endsWith(LogLine("id_document_not_compatible")));
    }
    {
        for (int key = 0; key < 17; ++key)
            parameters->GetBoolParameter(QStringLiteral("Keep%1").arg(key))->mValue = false;
        EXPECT_FALSE(Convert(ThreeVoiceTune()));
        EXPECT_TRUE(Summary().endsWith(LogLine("id_at_least_one_instrument_must_be_selected")));
    }
    {
        parameters->GetBoolParameter(QStringLiteral("Keep4"))->mValue = true;
        TrackBuilder piano;
        piano.Event(0, {0x90, 60, 100}).Event(96, {0x80, 60, 0}).EndOfTrack();
        EXPECT_FALSE(Convert(TwoTrackFile(piano)));
        EXPECT_TRUE(Summary().endsWith(LogLine("id_not_a_valid_midi_file")));
    }
    {
        // A phone that plays no note is said to be one, not taken for a silent file.
        const int polyphony = profile.GetIntParameter(QStringLiteral("PolyphonyCapacity"))->mValue;
        profile.GetIntParameter(QStringLiteral("PolyphonyCapacity"))->mValue = 0;
        EXPECT_FALSE(Convert(ThreeVoiceTune()));
        EXPECT_TRUE(Summary().endsWith(LogLine("id_no_polyphony")));
        EXPECT_FALSE(Summary().contains(QStringLiteral("all volumes")));
        profile.GetIntParameter(QStringLiteral("PolyphonyCapacity"))->mValue = polyphony;
    }
    {
        converter.SetParameters(nullptr);
        MessageCapture quiet;
        EXPECT_FALSE(Convert(ThreeVoiceTune()));
        EXPECT_TRUE(Summary().endsWith(LogLine("id_no_parameters_or_profile")));
    }
}

// The media script is read from the source's folder; when the run logs to it, the source fails, naming both, each
// shown once: a folder a\b reads a\x5cb in both names.
TEST_F(PolyraConverterTest, AMediaScriptThatIsTheRunLogFailsTheSource)
{
    for (const char* sub : {"", "a\\b"}) {
        SCOPED_TRACE(sub);
        const QString here = folder.filePath(QString::fromLatin1(sub));
        ASSERT_TRUE(QDir().mkpath(here));
        QDir::setCurrent(here);
        const QString script = here + QStringLiteral("/.emi");
        const QString source = here + QStringLiteral("/tune.mid");
        ASSERT_TRUE(WriteFileBytes(script, "Opening tune.mid\n"));
        CRunFiles files;
        files.Add(CRunFiles::RUN_LOG, script);
        files.SetCurrentSource(source);
        converter.SetRunFiles(&files);
        EXPECT_FALSE(Convert(ThreeVoiceTune()));
        converter.SetRunFiles(nullptr);
        const auto shown = [](QString name) { return name.replace(QLatin1Char('\\'), QStringLiteral("\\x5c")); };
        EXPECT_TRUE(Summary().endsWith(QStringLiteral("The media script %1 cannot be read: it is the run log of this "
                                                      "run, so the source %2 fails.\n")
                                           .arg(shown(script), shown(source))))
            << qPrintable(Summary());
        EXPECT_TRUE(Result().isEmpty());
    }
}

} // namespace

// The converter's own rule for its media script: ".emi" of the folder, read whole up to 64 KB; what is not there is
// no script, and what could block or is larger is refused with the reason or the size.
TEST(PolyraMediaScriptFile, ReadsTheScriptOfTheFolderOrSaysWhyNot)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = MediaScript::PathIn(folder.path());
    EXPECT_EQ(path, folder.filePath(QStringLiteral(".emi")));
    QByteArray bytes;
    QString reason;
    qint64 size = -1;
    EXPECT_EQ(MediaScript::ReadFile(path, bytes, reason, size), MediaScript::Absent);

    const QByteArray script = "0\tTXT\thello\n";
    ASSERT_TRUE(WriteFileBytes(path, script));
    EXPECT_EQ(MediaScript::ReadFile(path, bytes, reason, size), MediaScript::Read);
    EXPECT_EQ(bytes, script);

    ASSERT_TRUE(WriteFileBytes(path, QByteArray(MediaScript::MaxBytes, 'x')));
    EXPECT_EQ(MediaScript::ReadFile(path, bytes, reason, size), MediaScript::Read);
    ASSERT_TRUE(WriteFileBytes(path, QByteArray(MediaScript::MaxBytes + 1, 'x')));
    EXPECT_EQ(MediaScript::ReadFile(path, bytes, reason, size), MediaScript::Refused);
    EXPECT_EQ(size, MediaScript::MaxBytes + 1);
    EXPECT_TRUE(bytes.isEmpty());

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral(".emi")));
    EXPECT_EQ(MediaScript::ReadFile(path, bytes, reason, size), MediaScript::Refused);
    EXPECT_EQ(size, 0);
    EXPECT_FALSE(reason.isEmpty());
}

// Beside the MIDI document a conversion reads the media script of the source's folder, and only that file.
TEST(PolyraNamedFiles, TheMediaScriptOfTheSourcesFolder)
{
    CPolyra polyra;
    EXPECT_EQ(polyra.GetNamedFiles(QStringLiteral("/tunes/a.mid"), 1000),
              QStringList{QStringLiteral("/tunes/.emi")});
}
