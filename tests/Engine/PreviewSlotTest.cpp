// Preview files: which exist for a destination, and loading them back.
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "EngineTestSupport.h"
#include "QtPrinters.h"
#include "Wave/CDocumentWave.h"
#include <QImage>
#include <gtest/gtest.h>

namespace {

class PreviewSlotTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Start();
    }
    void WriteImage(const QString& relative, int width)
    {
        QImage image(width, 5, QImage::Format_RGB32);
        image.fill(qRgb(1, 2, 3));
        ASSERT_TRUE(image.save(In(relative), "BMP"));
    }
    CDocument* Preview()
    {
        CDocument* document = nullptr;
        m_Application->GetPreviewDocument(&document);
        return document;
    }
};

TEST_F(PreviewSlotTest, ListsTheFramesUpToTheFirstMissingOne)
{
    for (const char* name : {"song_previewTAX_0.BMP", "song_previewTAX_1.BMP", "song_previewTAX_3.BMP",
                             "song_previewTPX.BMP", "song_previewTWX.WAV"})
        Write(QString::fromLatin1(name), "x");
    const QString base = In(QStringLiteral("song"));
    CDocument::DOCTYPE type = CDocument::ABSTRACT;
    QStringList names{QStringLiteral("stale")};
    m_Application->GetPreviewFileList(type, names, base, ConverterIndex("TAX"));
    EXPECT_EQ(type, CDocument::ANIMATION);
    EXPECT_EQ(names,
              (QStringList{In(QStringLiteral("song_previewTAX_0.BMP")), In(QStringLiteral("song_previewTAX_1.BMP"))}));
    m_Application->GetPreviewFileList(type, names, base, ConverterIndex("TPX"));
    EXPECT_EQ(type, CDocument::PICTURE);
    EXPECT_EQ(names, QStringList{In(QStringLiteral("song_previewTPX.BMP"))});
    m_Application->GetPreviewFileList(type, names, base, ConverterIndex("TWX"));
    EXPECT_EQ(type, CDocument::WAVE);
    EXPECT_EQ(names, QStringList{In(QStringLiteral("song_previewTWX.WAV"))});
    // The host's exporter makes picture previews, none of which exists here.
    m_Application->GetPreviewFileList(type, names, base, ConverterIndex("TST"));
    EXPECT_TRUE(names.isEmpty());
}

TEST_F(PreviewSlotTest, LoadsPictureAndAnimationPreviews)
{
    WriteImage(QStringLiteral("p.BMP"), 7);
    WriteImage(QStringLiteral("f0.BMP"), 8);
    WriteImage(QStringLiteral("f1.BMP"), 9);
    Write(QStringLiteral("broken.BMP"), "not a picture");
    B32 success = 7;
    m_Application->LoadPreviewAsked({In(QStringLiteral("p.BMP"))}, CDocument::PICTURE, success);
    EXPECT_EQ(success, 1);
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(static_cast<CDocumentPicture*>(Preview())->GetImage().size(), QSize(7, 5));

    m_Application->LoadPreviewAsked({In(QStringLiteral("f0.BMP")), In(QStringLiteral("f1.BMP"))}, CDocument::ANIMATION,
                                    success);
    EXPECT_EQ(success, 1);
    auto* animation = static_cast<CDocumentAnimation*>(Preview());
    ASSERT_EQ(animation->GetAnimationFrameCount(), 2);
    EXPECT_EQ(animation->GetFrame(1)->GetImage().width(), 9);
    // The profile's default display time.
    EXPECT_EQ(animation->GetFrame(1)->GetDisplayTime(), 100);

    // One frame that cannot be read leaves no preview at all.
    m_Application->LoadPreviewAsked(
        {In(QStringLiteral("f0.BMP")), In(QStringLiteral("broken.BMP")), In(QStringLiteral("f1.BMP"))},
        CDocument::ANIMATION, success);
    EXPECT_EQ(success, 0);
    EXPECT_EQ(Preview(), nullptr);
    m_Application->LoadPreviewAsked({}, CDocument::PICTURE, success);
    EXPECT_EQ(success, 0);
    m_Application->LoadPreviewAsked({In(QStringLiteral("p.BMP"))}, CDocument::MIDI, success);
    EXPECT_EQ(success, 0);
}

TEST_F(PreviewSlotTest, AWavePreviewMustBeAValidWave)
{
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(8000, 16, 1));
    wave.AppendSilence(5);
    ASSERT_TRUE(wave.SaveInputWave(In(QStringLiteral("ok.WAV"))));
    Write(QStringLiteral("bad.WAV"), "RIFF but nothing else");

    // A loaded document and a result are dropped whatever the files give.
    QString source = Write(QStringLiteral("a.txt"), "text");
    B32 success = 0;
    m_Application->LoadMediaAsked(source, ConverterIndex("TST"), success);
    ASSERT_EQ(success, 1);
    m_Application->LoadPreviewAsked({In(QStringLiteral("bad.WAV"))}, CDocument::WAVE, success);
    EXPECT_EQ(success, 0);
    CDocument* loaded = reinterpret_cast<CDocument*>(1);
    m_Application->GetLoadedDocument(&loaded);
    EXPECT_EQ(loaded, nullptr);

    m_Application->LoadPreviewAsked({In(QStringLiteral("ok.WAV"))}, CDocument::WAVE, success);
    EXPECT_EQ(success, 1);
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(Preview()->GetDocType(), CDocument::WAVE);
    EXPECT_EQ(Preview()->GetName(), In(QStringLiteral("ok.WAV")));
}

} // namespace
