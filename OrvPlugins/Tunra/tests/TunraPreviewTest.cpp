// The wave preview: its header, its length, and loops played the way the
// ring tone repeats them.
#include "TunraTestSupport.h"

#include "Wave/CDocumentWave.h"

#include <QVector>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace TunraTest;

namespace {
// The sound of quarter notes of these keys at beat 120, Natural style and
// level 7, played one after the other: what the preview must hold.
QByteArray QuartersAtLevel7(const QVector<int>& keys)
{
    CDocumentWave wave;
    wave.CreateHeader(22050, 16, 1);
    for (int key : keys) {
        MidiNote note;
        note.SetMidiKey(key);
        note.SetDuration(2);
        wave.AppendTone(note.GetFrequency(), 7 / 15.0, 250);
        wave.AppendSilence(250);
    }
    return QByteArray(reinterpret_cast<const char*>(wave.m_pInputData), int(wave.m_WAVEheader.data_ckSize));
}

QByteArray PreviewSamples(CTunra& tunra)
{
    auto* wave = static_cast<CDocumentWave*>(tunra.GetPreviewDocument());
    if (!wave || !wave->m_pInputData)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(wave->m_pInputData), int(wave->m_WAVEheader.data_ckSize));
}

const int C = 72, D = 74, E = 76, F = 77;

// A converter whose preview wave a test can start afresh, to play event
// lists of its own making.
class PreviewTunra : public CTunra
{
public:
    void NewPreview()
    {
        delete mpPreviewDocument;
        auto* wave = new CDocumentWave;
        wave->CreateHeader(22050, 16, 1);
        mpPreviewDocument = wave;
    }
};

class TunraPreview : public ::testing::Test
{
protected:
    MessageCapture capture;
};
} // namespace

TEST_F(TunraPreview, HeaderIsMono16Bit22050)
{
    Converter c;
    auto melody = Melody({Note(C, 2), Note(D, 2)});
    c.Run(melody.get());
    auto* wave = static_cast<CDocumentWave*>(c.tunra.GetPreviewDocument());
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->GetDocType(), int(CDocument::WAVE));
    const WAVEHEADER& h = wave->m_WAVEheader;
    EXPECT_EQ(std::memcmp(h.szRiffID, "RIFF", 4), 0);
    EXPECT_EQ(h.nChannels, 1);
    EXPECT_EQ(h.nSamplesPerSec, 22050u);
    EXPECT_EQ(h.nBitsPerSample, 16);
    EXPECT_EQ(h.nBlockAlign, 2);
    EXPECT_EQ(h.nAvgBytesPerSec, 44100u);
    // Two quarters at beat 120: 2 x (5512 tone + 5512 silence) samples.
    EXPECT_EQ(h.data_ckSize, 2u * 22048);
    EXPECT_EQ(h.RIFF_ckSize, 36u + 2u * 22048);
}

TEST_F(TunraPreview, LoopsRepeatTheirBody)
{
    struct Case
    {
        const char* label;
        std::function<std::unique_ptr<CDocumentMelody>()> melody;
        QVector<int> heard;
    };
    const Case cases[] = {
        {"c ( d e @2 ) f",
         [] {
             return Melody(
                 {Note(C, 2), new MelodyBeginPattern, Note(D, 2), Note(E, 2), new MelodyEndPattern(2), Note(F, 2)});
         },
         {C, D, E, D, E, F}},
        {"c ( d ( e @2 ) @2 ) f",
         [] {
             return Melody({Note(C, 2), new MelodyBeginPattern, Note(D, 2), new MelodyBeginPattern, Note(E, 2),
                            new MelodyEndPattern(2), new MelodyEndPattern(2), Note(F, 2)});
         },
         {C, D, E, E, D, E, E, F}},
        {"c ( d @0 ) e: a loop without count is not played",
         [] {
             return Melody({Note(C, 2), new MelodyBeginPattern, Note(D, 2), new MelodyEndPattern(0), Note(E, 2)});
         },
         {C, E}},
        {"c ( d @1 ) e",
         [] {
             return Melody({Note(C, 2), new MelodyBeginPattern, Note(D, 2), new MelodyEndPattern(1), Note(E, 2)});
         },
         {C, D, E}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.label);
        Converter c;
        auto melody = t.melody();
        c.Run(melody.get());
        ASSERT_TRUE(c.converted);
        EXPECT_EQ(PreviewSamples(c.tunra), QuartersAtLevel7(t.heard));
    }
}

TEST_F(TunraPreview, UnmatchedCloseEndsTheWalkAndUnclosedOpeningIsReported)
{
    MelodyEndPattern end(3);
    MelodyBeginPattern begin;
    const std::unique_ptr<MidiNote> c(Note(C, 2));
    const std::unique_ptr<MidiNote> d(Note(D, 2));
    VolumeInfo info;
    info.nTopLevel = 7;

    PreviewTunra tunra;
    IMYNotes unmatched, unclosed;
    for (IMYNotes* events : {&unmatched, &unclosed}) {
        SCOPED_TRACE(events == &unmatched ? "unmatched close" : "unclosed opening");
        events->append(new IMYNote(c.get(), nullptr, 0, &info));
        events->append(events == &unmatched ? static_cast<IMYEvent*>(new IMYEndPattern(&end))
                                            : new IMYBeginPattern(&begin));
        events->append(new IMYNote(d.get(), nullptr, 0, &info));
        tunra.NewPreview();
        tunra.GeneratePreview(*events, 120, 0, events->count() - 1);
        EXPECT_EQ(PreviewSamples(tunra), QuartersAtLevel7({C}));
    }
    EXPECT_TRUE(capture.HasWarning("event->GetEventType() == IMYEvent::EndPattern"));

    tunra.GeneratePreview(unclosed, 120, 5, 7);
    EXPECT_TRUE(capture.HasWarning("from<(int)IMYNotes.count()&&to<(int)IMYNotes.count()"));
}

TEST_F(TunraPreview, NestedRepeatsCannotRunAway)
{
    // Eight nested loops of fifteen passes would be 15^8 quarters; the
    // preview stops at ten minutes of sound.
    Converter c;
    auto melody = Melody({});
    for (int i = 0; i < 8; ++i)
        melody->GetMelodyNoteList().append(new MelodyBeginPattern);
    melody->GetMelodyNoteList().append(Note(C, 2));
    for (int i = 0; i < 8; ++i)
        melody->GetMelodyNoteList().append(new MelodyEndPattern(15));
    c.Run(melody.get());
    ASSERT_TRUE(c.converted);
    auto* wave = static_cast<CDocumentWave*>(c.tunra.GetPreviewDocument());
    const qint64 samples = wave->m_WAVEheader.data_ckSize / 2;
    EXPECT_GE(samples, 22050LL * 60 * 10);
    EXPECT_LT(samples, 22050LL * 60 * 10 + 22050);
}
