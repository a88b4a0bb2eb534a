#include "Melody/CMelodyTruncate.h"
#include "MelodyTestSupport.h"
#include "TestProfile.h"
#include "Wave/CDocumentWave.h"

#include <gtest/gtest.h>

namespace {
const QString kAllHeader = QStringLiteral("BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:Tune\r\n"
                                          "BEAT:120\r\nSTYLE:0\r\nVOLUME:7\r\n");

// The melody of the worked example: C4 quarter, D5 dotted eighth, sixteenth rest.
void FillExample(CDocumentMelody& doc)
{
    doc.SetMelodyName(QStringLiteral("Tune"));
    doc.SetBeat(120);
    doc.SetStyle(0);
    doc.SetVolume(7);
    doc.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    doc.GetMelodyNoteList().append(MakeNote(2, 5, 3, 1));
    doc.GetMelodyNoteList().append(MakeRest(4));
}

QString Write(CMelodyTruncate& writer, CDocumentMelody& doc, CProfile* profile, unsigned maxSize, bool begin = true,
              IMYNotes* keep = nullptr)
{
    QByteArray out;
    IMYNotes events;
    const bool ok = writer.WriteIMelody(&doc, begin, true, true, true, true, true, true, profile, out, maxSize,
                                        keep ? *keep : events);
    EXPECT_TRUE(ok) << writer.GetErrorText().toStdString();
    return QString::fromLatin1(out);
}
// The worked example ready to write, with the default profile.
class IMelodyExample : public ::testing::Test
{
protected:
    void SetUp() override { FillExample(doc); }
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    CMelodyTruncate writer;
};
} // namespace

TEST_F(IMelodyExample, WorkedExampleWithEveryHeaderLineOrOnlyTheMelodyLine)
{
    EXPECT_EQ(Write(writer, doc, profile.get(), 4294967295u),
              kAllHeader + QStringLiteral("MELODY:c2*5d3.r4\r\nEND:IMELODY"));
    // Without BEGIN only the melody line is written.
    CMelodyTruncate fresh;
    EXPECT_EQ(Write(fresh, doc, profile.get(), 4294967295u, false), QStringLiteral("MELODY:c2*5d3.r4\r\n"));
}

TEST(IMelodyWriter, HeaderLinesFollowTheirFlags)
{
    CDocumentMelody doc;
    FillExample(doc);
    CMelodyTruncate writer;
    EXPECT_EQ(writer.WriteHeader(&doc, false, true, true, true, true, true, true), QString());
    EXPECT_EQ(writer.WriteHeader(&doc, true, false, false, false, false, false, false),
              QStringLiteral("BEGIN:IMELODY\r\n"));
    EXPECT_EQ(writer.WriteHeader(&doc, true, false, false, true, false, true, false),
              QStringLiteral("BEGIN:IMELODY\r\nNAME:Tune\r\nSTYLE:0\r\n"));
}

TEST(IMelodyWriter, LongLinesWrapAtColumn75UnlessOneLine)
{
    MessageCapture quiet;
    CDocumentMelody doc;
    // 33 notes "c2" reach column 73; "*5c2." then crosses column 75.
    for (int i = 0; i < 33; ++i)
        doc.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    doc.GetMelodyNoteList().append(MakeNote(0, 5, 2, 1));
    for (int i = 0; i < 20; ++i)
        doc.GetMelodyNoteList().append(MakeNote(2, 4, 3));

    std::unique_ptr<CProfile> wrapping = MakeProfile();
    CMelodyTruncate writer;
    const QString text = Write(writer, doc, wrapping.get(), 4294967295u, false);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].length(), 75);
    // The octave-prefixed note is split across the break.
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("c2*5"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(" c2.d3d3")));
    EXPECT_EQ(lines[2], QString());

    ProfileValues oneLine;
    oneLine.oneLine = true;
    std::unique_ptr<CProfile> single = MakeProfile(oneLine);
    const QString flat = Write(writer, doc, single.get(), 4294967295u, false);
    EXPECT_EQ(flat.count(QStringLiteral("\r\n")), 1);
    EXPECT_EQ(flat.length(), 7 + 66 + 5 + 40 + 2);
}

TEST_F(IMelodyExample, SizeLimitKeepsWholeNotesAndTheFooter)
{
    const int header = kAllHeader.length();
    // header + 20 is exactly room for "MELODY:", the line break and "END:IMELODY": no note.
    struct Case
    {
        int extra;
        const char* melody;
    };
    const Case cases[] = {{20, ""}, {21, ""}, {22, "c2"}, {26, "c2"}, {27, "c2*5d3."}};
    for (const Case& c : cases) {
        EXPECT_EQ(Write(writer, doc, profile.get(), header + c.extra), kAllHeader + QStringLiteral("MELODY:")
                                                                           + QString::fromLatin1(c.melody)
                                                                           + QStringLiteral("\r\nEND:IMELODY"))
            << "header + " << c.extra;
    }
}

TEST_F(IMelodyExample, HeaderWithoutRoomFails)
{
    const unsigned header = static_cast<unsigned>(kAllHeader.length());
    // header + 18 holds "MELODY:" and "END:IMELODY" but not the line break;
    // header + 19 would still be one byte short.
    for (unsigned maxSize : {header + 18, header + 19, 5u, 0u}) {
        QByteArray out;
        IMYNotes events;
        EXPECT_FALSE(
            writer.WriteIMelody(&doc, true, true, true, true, true, true, true, profile.get(), out, maxSize, events));
        EXPECT_EQ(writer.GetErrorCode(), 0);
        EXPECT_EQ(writer.GetErrorText(), QStringLiteral("name too long"));
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST(IMelodyWriter, CutInsideALoopDropsItsOpening)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    MelodyNoteList& list = doc.GetMelodyNoteList();
    list.append(new MelodyBeginPattern(2));
    list.append(MakeNote(0, 4, 2));
    list.append(new MelodyEndPattern(2));
    list.append(new MelodyBeginPattern(3));
    for (int i = 0; i < 10; ++i)
        list.append(MakeNote(2, 4, 2));
    list.append(new MelodyEndPattern(3));
    CMelodyTruncate writer;
    // "MELODY:" + "(c2@2)" + "(" + three "d2" + CR LF
    EXPECT_EQ(Write(writer, doc, profile.get(), 7 + 6 + 1 + 6 + 2, false), QStringLiteral("MELODY:(c2@2)d2d2d2\r\n"));
}

TEST(IMelodyWriter, VolumeStepsBetweenSoundingNotes)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    doc.SetVolume(15);
    doc.GetMelodyNoteList().append(MakeNote(0, 4, 2, 0, 127));
    doc.GetMelodyNoteList().append(MakeRest(3));
    doc.GetMelodyNoteList().append(MakeNote(2, 4, 2, 0, 64));
    doc.GetMelodyNoteList().append(MakeNote(4, 4, 2, 0, 127));
    CMelodyTruncate writer;
    EXPECT_EQ(Write(writer, doc, profile.get(), 4294967295u, false),
              QStringLiteral("MELODY:c2r3d2--------e2++++++++\r\n"));
}

TEST(IMelodyWriter, BandFitWorksOnACopy)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> lowProfile = BandProfile(48, 60);
    std::unique_ptr<CProfile> highProfile = BandProfile(72, 95);

    CDocumentMelody doc;
    doc.GetMelodyNoteList().append(MakeNote(9, 4, 2)); // key 81
    CMelodyTruncate writer;
    const QString first = Write(writer, doc, highProfile.get(), 4294967295u, false);
    EXPECT_EQ(Write(writer, doc, lowProfile.get(), 4294967295u, false), QStringLiteral("MELODY:*2a2\r\n"));
    EXPECT_EQ(Write(writer, doc, highProfile.get(), 4294967295u, false), first);
    EXPECT_EQ(first, QStringLiteral("MELODY:a2\r\n"));
    EXPECT_EQ(static_cast<MidiNote*>(doc.GetMelodyNoteList().at(0))->GetMidiKey(), 81);
}

TEST_F(IMelodyExample, EventsRenderThePreview)
{
    IMYNotes events;
    Write(writer, doc, profile.get(), 4294967295u, true, &events);
    ASSERT_EQ(events.count(), 3);
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(22050, 16, 1));
    int samples = 0;
    for (IMYEvent* event : events)
        samples += static_cast<IMYNote*>(event)->GeneratePreview(&wave, 120);
    // 500 ms (250 sounding), 375 ms (187 sounding), 125 ms of rest.
    EXPECT_EQ(samples,
              22050 * 250 / 1000 + 22050 * 250 / 1000 + 22050 * 187 / 1000 + 22050 * 188 / 1000 + 22050 * 125 / 1000);
    EXPECT_EQ(wave.m_WAVEheader.data_ckSize, static_cast<uint32_t>(samples * 2));
}

TEST(IMelodyWriter, EventTexts)
{
    MelodyBeginPattern begin;
    MelodyEndPattern end(3);
    IMYBeginPattern open(&begin);
    IMYEndPattern close(&end);
    EXPECT_EQ(open.GetText(), QStringLiteral("("));
    EXPECT_EQ(close.GetText(), QStringLiteral("@3)"));
    std::unique_ptr<MidiNote> sharp(MakeNote(10, 3, 5, 3));
    IMYNote note(sharp.get(), nullptr, 0, nullptr);
    EXPECT_EQ(note.GetText(), QStringLiteral("*3#a5;"));
    std::unique_ptr<MidiNote> rest(MakeRest(3, 1));
    rest->SetOctave(7);
    IMYNote restNote(rest.get(), nullptr, 0, nullptr);
    EXPECT_EQ(restNote.GetText(), QStringLiteral("r3."));
}

namespace {
QList<int> g_WriterProgress;
void RecordWriterProgress(int percent)
{
    g_WriterProgress << percent;
}
} // namespace

TEST(IMelodyWriter, ProgressCountsTheElements)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    for (int i = 0; i < 4; ++i)
        doc.GetMelodyNoteList().append(MakeNote(i, 4, 2));
    g_WriterProgress.clear();
    CMelodyTruncate writer;
    QByteArray out;
    IMYNotes events;
    ASSERT_TRUE(writer.WriteIMelody(&doc, false, false, false, false, false, false, false, profile.get(), out,
                                    4294967295u, events, RecordWriterProgress));
    EXPECT_EQ(g_WriterProgress, (QList<int>{25, 50, 75, 100}));
}

TEST(IMelodyWriter, LoudLevelsSaturateThePreview)
{
    // Volumes 100, 50, 80: the first note only lowered the minimum and maps
    // above the top level; its tone is full scale, not wrapped.
    MessageCapture quiet;
    MelodyNoteList list;
    list.append(MakeNote(9, 3, 2, 0, 100));
    list.append(MakeNote(9, 3, 2, 0, 50));
    list.append(MakeNote(9, 3, 2, 0, 80));
    VolumeInfo info;
    info.nTopLevel = 15;
    MidiNote::ComputeVolumeFactors(list, info);
    IMYNote note(static_cast<MidiNote*>(list.at(0)), static_cast<MidiNote*>(list.at(1)), 1, &info);
    EXPECT_GT(note.GetVolumeLevel(), 15);
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(22050, 16, 1));
    const int samples = note.GeneratePreview(&wave, 120);
    int peak = 0;
    for (int i = 0; i < samples; ++i) {
        const unsigned char* p = wave.m_pInputData + i * 2;
        peak = qMax(peak, qAbs(static_cast<int>(static_cast<int16_t>(p[0] | p[1] << 8))));
    }
    EXPECT_GT(peak, 32000);
    EXPECT_LE(peak, 32767);
}
