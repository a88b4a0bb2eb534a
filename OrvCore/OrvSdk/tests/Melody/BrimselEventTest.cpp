#include "Melody/IBrimselEvent.h"
#include "MelodyTestSupport.h"
#include "Wave/CDocumentWave.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
uint16_t CodeOf(IBrimselEvent& event, unsigned expectedSize)
{
    unsigned size = 0;
    const uint16_t code = event.GetCode(size);
    EXPECT_EQ(size, expectedSize);
    return code;
}

// A 16-bit mono preview document at 22050 Hz.
std::unique_ptr<CDocumentWave> MakeWave()
{
    std::unique_ptr<CDocumentWave> wave(new CDocumentWave);
    EXPECT_TRUE(wave->CreateHeader(22050, 16, 1));
    return wave;
}

int SampleAt(const CDocumentWave& wave, unsigned index)
{
    const unsigned char* p = wave.m_pInputData + index * 2;
    return static_cast<int16_t>(p[0] | p[1] << 8);
}
} // namespace

TEST(BrimselEvent, NoteCodes)
{
    std::unique_ptr<MidiNote> c4(MakeNote(0, 4, 2));
    IBrimselNote plain(c4.get(), 0, 7, 0);
    EXPECT_EQ(CodeOf(plain, 2), 0x4010);
    IBrimselNote quieter(c4.get(), 0, 6, -1);
    EXPECT_EQ(CodeOf(quieter, 2), 0x4014);
    IBrimselNote louder(c4.get(), 0, 8, 1);
    EXPECT_EQ(CodeOf(louder, 2), 0x4012);
    EXPECT_EQ(plain.GetEventType(), IBrimselEvent::Note);

    std::unique_ptr<MidiNote> high(MakeNote(11, 8, 5, 3));
    IBrimselNote top(high.get(), 0, 7, 0);
    // octave 8, pitch 11, modifier 3, duration 5, no step
    EXPECT_EQ(CodeOf(top, 2), ((((8 * 16 + 11) * 4 + 3) * 8 + 5) * 4) * 2);
}

TEST(BrimselEvent, SilenceAndLoopCodes)
{
    std::unique_ptr<MidiNote> dottedEighth(MakeNote(4, 4, 3, 1));
    ShortSilence shortSilence(dottedEighth.get(), 0, 7, 0);
    EXPECT_EQ(CodeOf(shortSilence, 1), 0x5D);
    UserSilence userSilence(dottedEighth.get(), 0, 7, 0);
    EXPECT_EQ(CodeOf(userSilence, 1), 0x5B);

    struct Case
    {
        int count;
        int beginCode;
        int endCode;
    };
    const Case cases[] = {{10, 0x29, 0x59}, {5, 0x09, 0xB9}};
    for (const Case& c : cases) {
        MelodyBeginPattern begin(c.count);
        MelodyEndPattern end(c.count);
        QBRBeginPattern qbrBegin(&begin);
        QBREndPattern qbrEnd(&end);
        EXPECT_EQ(CodeOf(qbrBegin, 1), c.beginCode) << c.count;
        EXPECT_EQ(CodeOf(qbrEnd, 1), c.endCode) << c.count;
        EXPECT_EQ(qbrBegin.GetEventType(), IBrimselEvent::BeginPattern);
        EXPECT_EQ(qbrEnd.GetEventType(), IBrimselEvent::EndPattern);
    }
}

TEST(BrimselEvent, DumpTexts)
{
    std::unique_ptr<MidiNote> c4(MakeNote(1, 4, 3, 1));
    IBrimselNote note(c4.get(), 0, 7, -1);
    const QString noteText = note.Dump();
    EXPECT_TRUE(noteText.startsWith(QStringLiteral("Note 41 5C : Cd4"))) << noteText.toStdString();
    EXPECT_TRUE(noteText.contains(QStringLiteral("croche")));
    EXPECT_TRUE(noteText.contains(QStringLiteral("pointee")));
    EXPECT_TRUE(noteText.endsWith(QStringLiteral(" delta volume -1")));

    ShortSilence shortSilence(c4.get(), 0, 7, 0);
    EXPECT_EQ(shortSilence.Dump(), QStringLiteral("ShortSilence 5D => "));
    UserSilence userSilence(c4.get(), 0, 7, 0);
    EXPECT_TRUE(userSilence.Dump().startsWith(QStringLiteral("UserSilence 5B => ")));

    MelodyBeginPattern begin(10);
    QBRBeginPattern qbrBegin(&begin);
    const QString beginText = qbrBegin.Dump();
    EXPECT_TRUE(beginText.startsWith(QStringLiteral("QBRBeginPattern 29 => ")));
    EXPECT_TRUE(beginText.contains(QStringLiteral("NbRepeatMSB : 1")));
    EXPECT_TRUE(beginText.endsWith(QStringLiteral("Repeat : 10")));
    MelodyEndPattern end(10);
    QBREndPattern qbrEnd(&end);
    EXPECT_TRUE(qbrEnd.Dump().contains(QStringLiteral("NbRepeatLSB : 2")));

    std::unique_ptr<MidiNote> rest(MakeRest(2));
    IBrimselNote restNote(rest.get(), 0, 7, 0);
    EXPECT_FALSE(restNote.Dump().contains(QStringLiteral("delta volume")));
}

TEST(BrimselEvent, StaccatoPreviewSplitsToneAndSilence)
{
    // A quarter at 100 beats per minute lasts 600 ms; Staccato sounds 198 ms
    // of it and keeps 402 ms silent.
    std::unique_ptr<MidiNote> a3(MakeNote(9, 3, 2));
    IBrimselNote note(a3.get(), 2, 15, 0);
    std::unique_ptr<CDocumentWave> wave = MakeWave();
    const int samples = note.GeneratePreview(wave.get(), 100);
    EXPECT_EQ(samples, 22050 * 198 / 1000 + 22050 * 402 / 1000);
    EXPECT_EQ(wave->m_WAVEheader.data_ckSize, static_cast<uint32_t>(samples * 2));
    EXPECT_EQ(SampleAt(*wave, 22050 * 198 / 1000 + 10), 0);
    EXPECT_NE(SampleAt(*wave, 10), 0);
}

TEST(BrimselEvent, SilencePreviews)
{
    std::unique_ptr<MidiNote> quarter(MakeNote(0, 4, 2));
    std::unique_ptr<CDocumentWave> wave = MakeWave();
    UserSilence rest(quarter.get(), 0, 7, 0);
    EXPECT_EQ(rest.GeneratePreview(wave.get(), 120), 22050 / 2);
    ShortSilence repeat(quarter.get(), 1, 7, 0);
    EXPECT_EQ(repeat.GeneratePreview(wave.get(), 120), 22050 * 40 / 1000 + 22050 / 2);
    MelodyBeginPattern begin(2);
    QBRBeginPattern loop(&begin);
    EXPECT_EQ(loop.GeneratePreview(wave.get(), 120), 0);
}

TEST(BrimselEvent, LevelsAboveTheTopSaturateTheAmplitude)
{
    std::unique_ptr<MidiNote> a3(MakeNote(9, 3, 2));
    IBrimselNote loud(a3.get(), 1, 40, 0);
    std::unique_ptr<CDocumentWave> wave = MakeWave();
    const int samples = loud.GeneratePreview(wave.get(), 120);
    int peak = 0;
    for (int i = 0; i < samples; ++i)
        peak = qMax(peak, qAbs(SampleAt(*wave, static_cast<unsigned>(i))));
    EXPECT_GT(peak, 32000);
    EXPECT_LE(peak, 32767);
}
