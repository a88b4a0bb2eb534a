// The two GIF importers: which GIFs each accepts, what it logs, and the plug-in itself.
#include "CLumraAnimated.h"
#include "CLumraStatic.h"
#include "GifBuilder.h"
#include "PluginLibraryCheck.h"

#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
GifToBuild Screen(int width, int height)
{
    GifToBuild toBuild;
    toBuild.width = width;
    toBuild.height = height;
    toBuild.globalColours = TestPalette(4);
    return toBuild;
}

QByteArray StillGif()
{
    GifToBuild toBuild = Screen(4, 3);
    toBuild.images << PatternImage(0, 0, 4, 3, 4);
    return BuildGif(toBuild);
}

QByteArray AnimatedGif()
{
    GifToBuild toBuild = Screen(5, 4);
    GifImageToBuild first = PatternImage(0, 0, 5, 4, 4);
    first.control = true;
    first.delay = 5;
    first.disposal = 1;
    GifImageToBuild second = SolidImage(1, 1, 2, 2, 3);
    second.control = true;
    second.transparent = 0;
    toBuild.images << first << second;
    return BuildGif(toBuild);
}

// The GIF's header and colour table, its images (everything up to the trailer) `count` times, then the trailer:
// one encoded image repeated, so a large animation stays a few kilobytes.
QByteArray RepeatImages(const QByteArray& gif, int count)
{
    const int tableBytes = (uchar(gif.at(10)) & 0x80) ? 3 * (2 << (uchar(gif.at(10)) & 0x07)) : 0;
    const int headerBytes = 13 + tableBytes;
    const QByteArray images = gif.mid(headerBytes, gif.size() - headerBytes - 1);
    return gif.left(headerBytes) + images.repeated(count) + gif.right(1);
}

class LumraImport : public ImporterTest
{};
} // namespace

TEST_F(LumraImport, StillGifBecomesAnEightBitPicture)
{
    CLumraStatic importer;
    std::unique_ptr<CDocument> document(importer.Import(StillGif()));
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->GetDocType(), CDocument::PICTURE);
    const QImage& picture = static_cast<CDocumentPicture*>(document.get())->GetImage();
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.size(), QSize(4, 3));
    EXPECT_EQ(picture.pixel(2, 1), TestPalette(4)[(2 + 2) % 4]);
    EXPECT_TRUE(Summary(importer).empty());
    SaveSeed(QStringLiteral("still.gif"), StillGif());
}

TEST_F(LumraImport, AnimatedGifBecomesOneFramePerImage)
{
    CLumraAnimated importer;
    std::unique_ptr<CDocument> document(importer.Import(AnimatedGif()));
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->GetDocType(), CDocument::ANIMATION);
    const CDocumentAnimation* animation = static_cast<CDocumentAnimation*>(document.get());
    ASSERT_EQ(animation->GetAnimationFrameCount(), 2);
    EXPECT_EQ(animation->GetFrame(0)->GetDisplayTime(), 50);
    EXPECT_EQ(animation->GetFrame(1)->GetDisplayTime(), 106);
    const QImage& second = animation->GetFrame(1)->GetImage();
    EXPECT_EQ(second.size(), QSize(5, 4));
    EXPECT_EQ(second.pixel(0, 0), TestPalette(4)[0]);
    EXPECT_EQ(second.pixel(1, 1), TestPalette(4)[3]);
    EXPECT_EQ(second.pixel(3, 3), TestPalette(4)[(3 + 6) % 4]);
    SaveSeed(QStringLiteral("animated.gif"), AnimatedGif());
}

// A comment extension that holds no data (its terminator right after the label) is skipped, as viewers do; the
// program test converts a still GIF with one.
TEST_F(LumraImport, EmptyCommentsAreRead)
{
    const qsizetype firstRecord = 13 + 3 * 4; // after the 4-colour global map
    const QByteArray animated = AnimatedGif().insert(firstRecord, QByteArray("\x21\xFE\x00", 3));
    CLumraAnimated importer;
    std::unique_ptr<CDocument> animation(importer.Import(animated));
    ASSERT_NE(animation, nullptr) << Summary(importer);
    EXPECT_EQ(static_cast<CDocumentAnimation*>(animation.get())->GetAnimationFrameCount(), 2);
    EXPECT_EQ(static_cast<CDocumentAnimation*>(animation.get())->GetFrame(0)->GetDisplayTime(), 50);
    SaveSeed(QStringLiteral("empty-comment.gif"), animated);
}

TEST_F(LumraImport, EachImporterRefusesTheOthersImageCount)
{
    CLumraStatic still;
    EXPECT_EQ(still.Import(AnimatedGif()), nullptr);
    EXPECT_EQ(Summary(still), LoggedLines("CLumraStatic", {"id_import_error"}));
    EXPECT_EQ(Detailed(still) + "\n", Summary(still));

    CLumraAnimated animated;
    EXPECT_EQ(animated.Import(StillGif()), nullptr);
    EXPECT_EQ(Summary(animated), LoggedLines("CLumraAnimated", {"id_import_error"}));
}

TEST_F(LumraImport, UnreadableGifsAreRefusedWithTheImportError)
{
    GifToBuild tooWide = Screen(4097, 2);
    tooWide.images << SolidImage(0, 0, 1, 1, 1);
    GifToBuild tooWideAnimated = tooWide;
    tooWideAnimated.images << SolidImage(0, 0, 1, 1, 2);

    struct Case
    {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("GIF89a, but no more")},
        {"wide-still", BuildGif(tooWide)},
        {"wide-animated", BuildGif(tooWideAnimated)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLumraStatic still;
        CLumraAnimated animated;
        EXPECT_EQ(still.Import(c.bytes), nullptr);
        EXPECT_EQ(animated.Import(c.bytes), nullptr);
        EXPECT_EQ(Summary(still), LoggedLines("CLumraStatic", {"id_import_error"}));
        EXPECT_EQ(Summary(animated), LoggedLines("CLumraAnimated", {"id_import_error"}));
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".gif"), c.bytes);
    }
}

TEST_F(LumraImport, EveryTruncationIsRefused)
{
    for (const QByteArray& bytes : {StillGif(), AnimatedGif()}) {
        for (qsizetype length = 0; length < bytes.size(); ++length) {
            CLumraStatic still;
            CLumraAnimated animated;
            EXPECT_EQ(still.Import(bytes.left(length)), nullptr) << length;
            EXPECT_EQ(animated.Import(bytes.left(length)), nullptr) << length;
        }
    }
}

TEST(LumraPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(
        ORV_PLUGIN_FILE, "Lumra", 0x10000,
        {{"CLumraStatic", CDocument::PICTURE, CDocument::PICTURE, "GIF", StillGif(), AnimatedGif()},
         {"CLumraAnimated", CDocument::ANIMATION, CDocument::ANIMATION, "GIF", AnimatedGif(), StillGif()}});
}

// Frames that would take more than an animation may are refused with the numbers, not as an unreadable file.
TEST_F(LumraImport, FramesOverTheBudgetSayWhatTheyWouldTake)
{
    GifToBuild full = Screen(4096, 4096);
    full.images << SolidImage(0, 0, 4096, 4096, 1);
    GifToBuild tiny = Screen(4096, 4096);
    tiny.images << SolidImage(0, 0, 1, 1, 1);
    struct Case
    {
        const char* name;
        QByteArray gif;
        const char* frames;
        const char* megabytes; // 4 bytes a pixel of the whole screen, per frame
    };
    const Case cases[] = {
        {"sixteen-full-frames", RepeatImages(BuildGif(full), 16), "16", "1024"},
        {"seventeen-tiny-images", RepeatImages(BuildGif(tiny), 17), "17", "1088"},
        // 4 frames fill the 256 MB; a fifth is one too many.
        {"five-frames", RepeatImages(BuildGif(tiny), 5), "5", "320"},
    };
    const QString text =
        CLanguageResources::GetMessage(QStringLiteral("CLumraAnimated"), QStringLiteral("id_frames_too_large"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.gif.startsWith("GIF8"));
        CLumraAnimated animated;
        EXPECT_EQ(animated.Import(c.gif), nullptr);
        const QString expected = text.arg(QString::fromLatin1(c.frames), QStringLiteral("4096"), QStringLiteral("4096"),
                                          QString::fromLatin1(c.megabytes), QStringLiteral("256"));
        EXPECT_EQ(Summary(animated), (expected + QLatin1Char('\n')).toStdString());
        // The still importer refuses them as before: they are no one-image GIF.
        CLumraStatic still;
        EXPECT_EQ(still.Import(c.gif), nullptr);
        EXPECT_EQ(Summary(still), LoggedLines("CLumraStatic", {"id_import_error"}));
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".gif"), c.gif);
    }
    // Four frames fit: they are decoded, not refused for their size.
    CLumraAnimated fits;
    std::unique_ptr<CDocument> four(fits.Import(RepeatImages(BuildGif(tiny), 4)));
    ASSERT_NE(four, nullptr) << Summary(fits);
    EXPECT_EQ(static_cast<CDocumentAnimation*>(four.get())->GetAnimationFrameCount(), 4);
}

// The frame composition on its own: position, clipping, transparency and the image's colour table.
TEST_F(LumraImport, ComposeFramePlacesAnImageOnTheCanvas)
{
    QImage image(3, 2, QImage::Format_Indexed8);
    image.setColorTable(TestPalette(4, 1));
    const uchar rows[2][3] = {{1, 2, 3}, {0, 1, 2}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, rows[y][x]);
    struct Case
    {
        const char* name;
        int left, top, transparent;
        const char* canvas; // indexes, row by row
    };
    const Case cases[] = {
        {"at-origin", 0, 0, -1, "1230 0120 0000"},
        {"transparent-kept", 1, 1, 2, "0000 0103 0010"},
        {"clipped-right-and-bottom", 2, 2, -1, "0000 0000 0012"},
        {"clipped-left-and-top", -1, -1, -1, "1200 0000 0000"},
        {"outside", 4, 0, -1, "0000 0000 0000"},
    };
    CLumraAnimated importer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas(4, 3, QImage::Format_Indexed8);
        canvas.setColorTable(TestPalette(4));
        canvas.fill(0);
        importer.ComposeFrame(canvas, image, canvas, c.left, c.top, 3, 2, 0, c.transparent, 0);
        QString indexes;
        for (int y = 0; y < 3; ++y) {
            if (y > 0)
                indexes += QLatin1Char(' ');
            for (int x = 0; x < 4; ++x)
                indexes += QString::number(canvas.pixelIndex(x, y));
        }
        EXPECT_EQ(indexes.toStdString(), c.canvas);
        EXPECT_EQ(canvas.colorTable(), image.colorTable());
    }
}
