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
GifSpec Screen(int width, int height)
{
    GifSpec spec;
    spec.width = width;
    spec.height = height;
    spec.globalColours = TestPalette(4);
    return spec;
}

QByteArray StillGif()
{
    GifSpec spec = Screen(4, 3);
    spec.images << PatternImage(0, 0, 4, 3, 4);
    return BuildGif(spec);
}

QByteArray AnimatedGif()
{
    GifSpec spec = Screen(5, 4);
    GifImageSpec first = PatternImage(0, 0, 5, 4, 4);
    first.control = true;
    first.delay = 5;
    first.disposal = 1;
    GifImageSpec second = SolidImage(1, 1, 2, 2, 3);
    second.control = true;
    second.transparent = 0;
    spec.images << first << second;
    return BuildGif(spec);
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
    GifSpec tooWide = Screen(4097, 2);
    tooWide.images << SolidImage(0, 0, 1, 1, 1);
    GifSpec tooWideAnimated = tooWide;
    tooWideAnimated.images << SolidImage(0, 0, 1, 1, 2);
    GifSpec tooManyFrames = Screen(4096, 4096);
    for (int i = 0; i < 17; ++i)
        tooManyFrames.images << SolidImage(0, 0, 1, 1, 1);

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
        {"many-frames", BuildGif(tooManyFrames)},
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
