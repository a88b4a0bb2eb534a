// The synthesiser measured on the waves it renders from small hand-made
// sequences.
#include "FixedPoint.h"
#include "FuzzSeed.h"
#include "MessageCapture.h"
#include "MseqRenderLimit.h"
#include "MseqTestFile.h"
#include "SignalMeasure.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
constexpr int Piano = 0;
constexpr int SynthLead = 10;
constexpr int DrumChannel = 9;

uint32_t Le32(const QByteArray& bytes, int offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | uchar(bytes[offset + i]);
    return value;
}

int64_t Samples(int64_t ticks, int64_t atb)
{
    return ticks * atb * 131 / 16384;
}

// Keeps the synthesiser's progress lines out of the test output.
class MseqRenderTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        MseqSetStop(false);
        MseqSetRenderLimit(MseqDefaultRenderLimit);
    }
    MessageCapture m_Messages;
};

MseqTestFile OneNote(int instrumentClass, int pitch, int velocity = 40, int duration = 400, int volume = 127)
{
    MseqTestFile file(1000, 10); // 1 ms ticks, notes in units of 10 ms
    file.Instrument(0, instrumentClass).Volume(0, volume).Note(0, pitch, velocity, duration);
    file.Delay(int64_t(duration) * 10 + 1000);
    return file;
}

} // namespace

TEST_F(MseqRenderTest, WritesAMono16Bit8000HzWaveOf64BytesABlock)
{
    const MseqRenderResult r = RenderMseq(OneNote(SynthLead, 69).Bytes());
    ASSERT_GT(r.wave.size(), 44);
    EXPECT_EQ(r.wave.left(4), QByteArray("RIFF"));
    EXPECT_EQ(r.wave.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(Le32(r.wave, 16), 16u);
    EXPECT_EQ(Le32(r.wave, 20), 0x00010001u); // PCM, one channel
    EXPECT_EQ(Le32(r.wave, 24), 8000u);
    EXPECT_EQ(Le32(r.wave, 28), 16000u);
    EXPECT_EQ(Le32(r.wave, 32), 0x00100002u); // block align 2, 16 bits
    EXPECT_EQ(r.wave.mid(36, 4), QByteArray("data"));
    const uint32_t dataSize = Le32(r.wave, 40);
    EXPECT_EQ(dataSize, uint32_t(r.wave.size() - 44));
    EXPECT_EQ(Le32(r.wave, 4), 36 + dataSize);
    EXPECT_EQ(dataSize % 64, 0u);
    // 4000 + 1000 ms of time: the last block may end up to one block early.
    EXPECT_NEAR(double(dataSize / 2), 5000 * 8000 / 1000 * 0.99976, 64);
    EXPECT_TRUE(r.log.startsWith(QStringLiteral("Version: 1.9\tLOG REPORT\n")));
    EXPECT_TRUE(r.log.contains(QStringLiteral("processed samples: %1\n").arg(dataSize / 2)));
    EXPECT_TRUE(r.log.contains(QStringLiteral("length (secondes): %1\n").arg(dataSize / 16000.0, 0, 'f', 6)));
    SaveSeed(QStringLiteral("one-note.seq"), OneNote(SynthLead, 69).Bytes());
}

TEST_F(MseqRenderTest, RendersTheSameBytesEveryTime)
{
    MseqTestFile file(2000, 4);
    file.Instrument(0, Piano).Instrument(1, 5).Instrument(2, SynthLead);
    for (int i = 0; i < 12; ++i) {
        file.Note(i % 3, 48 + 3 * i, 20 + 3 * i, 40 + 5 * i).Note(DrumChannel, 35 + 4 * i, 50, 10).Delay(97);
    }
    const QByteArray bytes = file.WithMediaTracks().Bytes();
    const MseqRenderResult first = RenderMseq(bytes);
    const MseqRenderResult second = RenderMseq(bytes);
    EXPECT_GT(PeakOf(first.samples), 1000);
    EXPECT_EQ(first.wave, second.wave);
    EXPECT_EQ(first.log, second.log);
    SaveSeed(QStringLiteral("mixed.seq"), bytes);
}

TEST_F(MseqRenderTest, NotesStartOnTimeAndEndWithTheirTail)
{
    // Notes at the given ticks, each alone: onset within two blocks of
    // ticks x ATB x 131 / 16384, silence from duration + 500 samples on.
    struct Case
    {
        int instrumentClass;
        uint32_t atb;
        int rtb;
        int64_t startTicks;
        int duration;
    } const cases[] = {
        {SynthLead, 1000, 10, 0, 100}, {SynthLead, 1000, 10, 777, 50}, {Piano, 2500, 3, 3001, 200},
        {5, 125, 100, 40000, 30},      {7, 20000, 1, 33, 17},          {Piano, 1000, 1, 12345, 1},
    };
    for (const Case& c : cases) {
        MseqTestFile file(c.atb, c.rtb);
        file.Instrument(0, c.instrumentClass).Delay(c.startTicks).Note(0, 60, 50, c.duration);
        file.Delay(int64_t(c.duration) * c.rtb + 2 * 8000 * 1000 / c.atb);
        const MseqRenderResult r = RenderMseq(file.Bytes());
        const int64_t onset = Samples(c.startTicks, c.atb);
        const int64_t length = Samples(int64_t(c.duration) * c.rtb, c.atb);
        const long first = FirstSoundingBlock(r.samples);
        ASSERT_GE(first, 0) << c.startTicks;
        EXPECT_LE(std::abs(first - onset), 64) << "class " << c.instrumentClass << " at " << c.startTicks;
        const size_t silentFrom = size_t(onset + length + 500 + 32);
        ASSERT_LT(silentFrom, r.samples.size());
        EXPECT_GT(PeakOf(r.samples, size_t(onset), size_t(onset + length + 500)), 100);
        EXPECT_EQ(PeakOf(r.samples, silentFrom), 0) << "class " << c.instrumentClass;
    }
}

TEST_F(MseqRenderTest, PitchedPresetsSoundAtTheirNote)
{
    // The synth lead is a plain sine: its strongest component is the note.
    const struct
    {
        int pitch;
        double hertz;
    } leads[] = {{57, 220.0}, {69, 440.0}, {81, 880.0}};
    for (const auto& lead : leads) {
        const MseqRenderResult r = RenderMseq(OneNote(SynthLead, lead.pitch).Bytes());
        const double found = StrongestFrequency(r.samples, 800, 8000, 100, 1500);
        EXPECT_NEAR(found, lead.hertz, lead.hertz / 100) << "note " << lead.pitch;
    }
    // The piano's partials are harmonics of the note.
    const MseqRenderResult piano = RenderMseq(OneNote(Piano, 69).Bytes());
    EXPECT_NEAR(AutocorrelationFrequency(piano.samples, 400, 4000, 12, 30), 440.0, 4.4);
}

TEST_F(MseqRenderTest, VolumeScalesTheChannelGain)
{
    const int full = PeakOf(RenderMseq(OneNote(SynthLead, 69, 40, 100, 127).Bytes()).samples);
    const int half = PeakOf(RenderMseq(OneNote(SynthLead, 69, 40, 100, 64).Bytes()).samples);
    ASSERT_GT(full, 1000);
    EXPECT_NEAR(double(half) / full, 0.5, 0.025);
}

TEST_F(MseqRenderTest, ANoteBeyondTheBudgetsEndsTheVoiceWithTheLeastTimeLeft)
{
    // Piano voices cost 270 of the 2400 budget: the ninth ends one. Synth
    // lead voices are cheap: only the 16-voice limit ends one on the 17th.
    const struct
    {
        int instrumentClass;
        int notes;
        int preset;
    } cases[] = {{Piano, 9, 0}, {SynthLead, 17, 20}};
    for (const auto& c : cases) {
        MseqTestFile file(1000, 1);
        file.Instrument(3, c.instrumentClass);
        const int shortest = 4;
        for (int n = 0; n < c.notes; ++n)
            file.Note(3, 50 + n, 40, n == shortest ? 300 : 600 + n);
        file.Delay(500);
        const MseqRenderResult r = RenderMseq(file.Bytes());
        const QString expected = QStringLiteral("Destroy note %1 preset_id %2 timer %3\n")
                                     .arg(50 + shortest)
                                     .arg(c.preset)
                                     .arg(Samples(300, 1000) + 500);
        EXPECT_EQ(r.log.count(QStringLiteral("Destroy note")), 1) << r.log.toStdString();
        EXPECT_TRUE(r.log.contains(expected)) << r.log.toStdString();
    }
    // Eight piano voices fit.
    MseqTestFile eight(1000, 1);
    for (int n = 0; n < 8; ++n)
        eight.Note(0, 60 + n, 40, 200);
    eight.Delay(300);
    EXPECT_FALSE(RenderMseq(eight.Bytes()).log.contains(QStringLiteral("Destroy")));
}

TEST_F(MseqRenderTest, SilentNotesStartNoVoice)
{
    const QByteArray silent[] = {OneNote(SynthLead, 69, 0, 100).Bytes(), OneNote(Piano, 69, 40, 0).Bytes(),
                                 MseqTestFile().Bytes()};
    for (const QByteArray& bytes : silent) {
        const MseqRenderResult r = RenderMseq(bytes);
        EXPECT_EQ(PeakOf(r.samples), 0);
        EXPECT_EQ(r.scale, 1.0f);
        EXPECT_TRUE(r.log.contains(QStringLiteral("scale_factor:      1.000000\n"))) << r.log.toStdString();
    }
}

TEST_F(MseqRenderTest, DrumPitchesOutsideTheMapPlayTheFirstDrum)
{
    const auto drum = [](int pitch) {
        MseqTestFile file(1000, 10);
        file.Note(DrumChannel, pitch, 50, 20).Delay(1000);
        return RenderMseq(file.Bytes()).samples;
    };
    const std::vector<int16_t> crash = drum(49);
    EXPECT_GT(PeakOf(crash), 500);
    EXPECT_EQ(drum(20), crash);
    EXPECT_EQ(drum(127), crash);
    EXPECT_NE(drum(38), crash);
}

TEST_F(MseqRenderTest, TextAndPictureTracksChangeNoSample)
{
    MseqTestFile plain(1500, 2), media(1500, 2);
    for (MseqTestFile* file : {&plain, &media})
        file->Instrument(1, 3).Note(1, 52, 60, 300).Note(DrumChannel, 36, 60, 50).Delay(700);
    media.WithMediaTracks();
    const MseqRenderResult a = RenderMseq(plain.Bytes());
    const MseqRenderResult b = RenderMseq(media.Bytes());
    EXPECT_GT(PeakOf(a.samples), 500);
    EXPECT_EQ(a.samples, b.samples);
}

TEST_F(MseqRenderTest, RefusesWhatIsNotAnMseqFile)
{
    QByteArray other = OneNote(SynthLead, 69).Bytes();
    other[1] = 'X';
    const QByteArray refused[] = {other, QByteArray(".SE"), QByteArray(), QByteArray(".SEQ")};
    for (const QByteArray& bytes : refused) {
        const MseqRenderResult logged = RenderMseq(bytes, true);
        EXPECT_EQ(logged.scale, -1.0f);
        EXPECT_EQ(logged.log, QStringLiteral("Conversion error : NOT AN MSEQ FILE\t\t              "));
        EXPECT_EQ(RenderMseq(bytes, false).scale, -1.0f);
    }
}

TEST_F(MseqRenderTest, AFullScaleRenderKeepsItsVolume)
{
    MseqTestFile file(1000, 10);
    file.Instrument(0, SynthLead);
    for (int n = 0; n < 6; ++n)
        file.Note(0, 69 + 12 * (n % 2), 63, 100);
    file.Delay(1500);
    const MseqRenderResult r = RenderMseq(file.Bytes());
    EXPECT_TRUE(r.log.contains(QStringLiteral("range_max:         SATURATION\n")));
    EXPECT_TRUE(r.log.contains(QStringLiteral("range_min:         SATURATION\n")));
    EXPECT_EQ(r.scale, 1.0f);

    // Below full scale, the factor brings the peak to full scale.
    const MseqRenderResult quiet = RenderMseq(OneNote(SynthLead, 69, 20).Bytes());
    const int peak = PeakOf(quiet.samples);
    EXPECT_FLOAT_EQ(quiet.scale, 32767.0f / float(peak));
}

TEST_F(MseqRenderTest, TheStopFlagEndsTheRenderAndRewindsTheWave)
{
    struct StopSink : IMseqProgressSink
    {
        int calls = 0;
        void ReportProgress(const char* text, int value, int mode) override
        {
            EXPECT_STREQ(text, "Processing");
            EXPECT_EQ(mode, 3);
            EXPECT_GE(value, 0);
            EXPECT_LE(value, 100);
            if (++calls == 2)
                MseqSetStop(true);
        }
    } sink;
    MseqTestFile file(1000, 10);
    for (int n = 0; n < 20; ++n)
        file.Note(0, 60 + n, 40, 30).Delay(300);
    CMemFile sequence, wave;
    const QByteArray bytes = file.Bytes();
    sequence.SetData(reinterpret_cast<const uchar*>(bytes.constData()), uint(bytes.size()));
    CConversionLog log;
    EXPECT_EQ(MseqRender(sequence, wave, &log, &sink), -1.0f);
    EXPECT_EQ(sink.calls, 2);
    EXPECT_TRUE(log.GetSummaryText().endsWith(QStringLiteral("LOG REPORT\nconversion annulee\n")));
    EXPECT_EQ(wave.GetPosition(), 0u);

    // The next render writes from the start again.
    MseqSetStop(false);
    EXPECT_GT(MseqRender(sequence, wave, nullptr, nullptr), 0.0f);
    EXPECT_EQ(Le32(QByteArray(reinterpret_cast<const char*>(wave.GetBuffer()), 44), 40) + 44, wave.GetPosition());
}

TEST_F(MseqRenderTest, ProgressClimbsToTheWholeFile)
{
    struct Sink : IMseqProgressSink
    {
        std::vector<int> values;
        void ReportProgress(const char*, int value, int) override { values.push_back(value); }
    } sink;
    MseqTestFile file(1000, 10);
    for (int n = 0; n < 50; ++n)
        file.Note(0, 60, 40, 5).Delay(60);
    RenderMseq(file.Bytes(), false, &sink);
    ASSERT_FALSE(sink.values.empty());
    EXPECT_TRUE(std::is_sorted(sink.values.begin(), sink.values.end()));
    EXPECT_GE(sink.values.back(), 90);
}

TEST_F(MseqRenderTest, SilenceAndAnEmptyRenderScaleByOne)
{
    // A sequence that ends at once renders no block at all.
    const MseqRenderResult empty = RenderMseq(MseqTestFile().Bytes());
    EXPECT_TRUE(empty.samples.empty());
    EXPECT_EQ(empty.scale, 1.0f);
    // One that only waits renders silence.
    MseqTestFile quiet;
    quiet.Delay(100);
    const MseqRenderResult silence = RenderMseq(quiet.Bytes());
    EXPECT_FALSE(silence.samples.empty());
    EXPECT_EQ(silence.scale, 1.0f);
}

TEST_F(MseqRenderTest, LongTimesAreHeldInSixtyFourBits)
{
    // 1023 units of 24 ticks at 5208 us: 16.7e9 before the division, past 32 bits.
    MseqTestFile file(5208, 24);
    file.Instrument(0, 5).Note(0, 60, 40, 1023).Delay(1023 * 24 + 100);
    const MseqRenderResult r = RenderMseq(file.Bytes());
    const int64_t length = Samples(1023 * 24, 5208);
    ASSERT_GT(length, 1000000);
    ASSERT_GT(int64_t(r.samples.size()), length);
    EXPECT_GT(PeakOf(r.samples, size_t(length - 8000), size_t(length - 1000)), 100);
    EXPECT_EQ(PeakOf(r.samples, size_t(length + 532)), 0);
}

TEST_F(MseqRenderTest, AnEndlessDelayStopsAtTheRenderLimit)
{
    MseqSetRenderLimit(8000);
    MseqTestFile file(1000, 10);
    file.Note(0, 69, 40, 10).Delay(100000000);
    const MseqRenderResult r = RenderMseq(file.Bytes());
    EXPECT_EQ(r.samples.size(), 8000u);
    EXPECT_TRUE(r.log.contains(QStringLiteral("render stopped: longer than 8000 samples\n")));
    EXPECT_GT(r.scale, 1.0f);
    EXPECT_EQ(MseqDefaultRenderLimit, 14400000);
}

// The wave is sized once, before the render, for exactly the samples it then
// writes (the room a memory file reserves is the size asked plus a tenth):
// never grown as it fills, never left short.
TEST_F(MseqRenderTest, TheWaveIsSizedOnceForTheSamplesItReceives)
{
    MseqSetRenderLimit(16000);
    const struct
    {
        const char* name;
        QByteArray sequence;
    } cases[] = {
        {"notes and rests", MseqTestFile(1000, 10)
                                .Instrument(0, Piano)
                                .Note(0, 60, 40, 50)
                                .Delay(333)
                                .Note(DrumChannel, 38, 40, 5)
                                .Delay(517)
                                .Bytes()},
        {"media tracks behind", OneNote(SynthLead, 69, 40, 30).WithMediaTracks().Bytes()},
        {"a delay past the limit", MseqTestFile(1000, 10).Note(0, 69, 40, 10).Delay(100000000).Bytes()},
        {"no command", MseqTestFile().Bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMemFile sequence, wave;
        sequence.SetData(reinterpret_cast<const uchar*>(c.sequence.constData()), uint(c.sequence.size()));
        ASSERT_GE(MseqRender(sequence, wave, nullptr, nullptr), 0.0f);
        EXPECT_EQ(wave.GetCapacity(), wave.GetSize() + wave.GetSize() / 10);
        EXPECT_EQ(Le32(wave.Bytes(), 40) + 44, wave.GetSize());
    }
}

TEST_F(MseqRenderTest, CommandsCutOffAtTheEndOfTheFileEndTheRender)
{
    // Each sequence ends inside a command or a track; nothing past the end is read.
    MseqTestFile file(1000, 10);
    file.Note(0, 69, 40, 10).Delay(100);
    const QByteArray whole = file.Bytes();
    const QByteArray body = whole.left(whole.size() - 4); // without the close and end words
    const QByteArray cut[] = {
        body + QByteArray("\x02\x8A", 2),                         // a NOTE without its second word
        body + QByteArray("\x17\x00", 2),                         // an EXT_DELAY without its second word
        body + QByteArray("\x06\x00", 2),                         // a two-word command cut short
        body + QByteArray("\x9E\x02\x10\x00", 4),                 // a track opening cut short
        body + QByteArray("\x9E\x02\x10\x40\x00\x00\xFF\xFF", 8), // a track longer than the file
        body + QByteArray("\x9E\x02\x10\x00\x00\x00\xFF\xFF", 8), // a track shorter than its opening
    };
    for (const QByteArray& bytes : cut) {
        const MseqRenderResult r = RenderMseq(bytes);
        EXPECT_GT(r.scale, 0.0f);
        EXPECT_EQ(r.samples.size() % 32, 0u);
        EXPECT_LE(r.samples.size(), 1000u);
    }
    SaveSeed(QStringLiteral("cut.seq"), cut[4]);
}

TEST_F(MseqRenderTest, LeavesTheOperatorsWrapping)
{
    RenderMseq(MseqTestFile().Note(0, 60, 40, 100).Note(DrumChannel, 38, 40, 50).Bytes());
    EXPECT_EQ(FixedPoint::g_AddMode, FixedPoint::Wrap);
    EXPECT_EQ(FixedPoint::g_ShiftMode, FixedPoint::Wrap);
}
