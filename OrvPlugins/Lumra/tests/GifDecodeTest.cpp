// Decoding and composing GIFs built here with giflib's encoder.
#include "GifAnimation.h"
#include "GifBuilder.h"
#include "GifImport.h"
#include "GifLayout.h"
#include "GifSource.h"
#include "GifStill.h"

#include <gtest/gtest.h>

namespace {
QImage DecodeStill(const QByteArray& bytes)
{
    CGifSource source(bytes);
    if (!source.Read())
        return QImage();
    return RenderGifStill(*source.File());
}

CGifAnimator::Result DecodeFrames(const QByteArray& bytes, QList<GifFrame>& frames)
{
    CGifSource source(bytes);
    EXPECT_TRUE(source.Read());
    return CGifAnimator::Compose(*source.File(), frames);
}

// The frames of a file that must compose.
QList<GifFrame> ComposedFrames(const QByteArray& bytes)
{
    QList<GifFrame> frames;
    EXPECT_EQ(DecodeFrames(bytes, frames), CGifAnimator::Composed);
    return frames;
}

QByteArray Indexes(const QImage& picture)
{
    QByteArray bytes;
    for (int y = 0; y < picture.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(picture.constScanLine(y)), picture.width());
    return bytes;
}

// What each pixel shows, row by row: its index on an 8-bit picture; on a 32-bit one, the index of its colour in
// the 4-colour test palette, or 't' where it is fully transparent.
QByteArray Shown(const QImage& picture)
{
    if (picture.format() == QImage::Format_Indexed8)
        return Indexes(picture);
    QByteArray shown;
    const QVector<QRgb> palette = TestPalette(4);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            shown.append(qAlpha(pixel) == 0 ? 't' : char(palette.indexOf(pixel)));
        }
    return shown;
}

GifToBuild OneImage(int width, int height, const GifImageToBuild& image, int colours = 4)
{
    GifToBuild toBuild;
    toBuild.width = width;
    toBuild.height = height;
    toBuild.globalColours = TestPalette(colours);
    toBuild.images << image;
    return toBuild;
}

// giflib's encoder will not write an image without any colour map, so the file is
// written with a global map that is cut out afterwards.
QByteArray WithoutGlobalColourMap(QByteArray bytes)
{
    const uchar packed = uchar(bytes[10]);
    if (!(packed & 0x80))
        return bytes;
    bytes[10] = char(packed & 0x70);
    bytes.remove(13, 3 * (2 << (packed & 0x07)));
    return bytes;
}

// giflib's encoder masks indexes to the map's size, so a file whose indexes go beyond
// its colours is written with a 4-colour global map cut to 2 colours afterwards.
QByteArray WithTwoGlobalColours(QByteArray bytes)
{
    EXPECT_EQ(uchar(bytes[10]) & 0x87, 0x81);
    bytes[10] = char(uchar(bytes[10]) & ~0x07);
    bytes.remove(13 + 6, 6);
    return bytes;
}

GifImageToBuild Timed(GifImageToBuild image, int delay, int disposal, int transparent = -1)
{
    image.control = true;
    image.delay = delay;
    image.disposal = disposal;
    image.transparent = transparent;
    return image;
}
} // namespace

TEST(GifStill, FullScreenImageKeepsIndexesAndGlobalColours)
{
    const GifImageToBuild image = PatternImage(0, 0, 4, 3, 4);
    const QImage picture = DecodeStill(BuildGif(OneImage(4, 3, image)));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.size(), QSize(4, 3));
    EXPECT_EQ(picture.colorTable(), TestPalette(4));
    EXPECT_EQ(Indexes(picture), image.pixels);
}

TEST(GifStill, InterlacedAndPlainEncodingsDecodeAlike)
{
    for (int height : {1, 2, 5, 9, 10, 17}) {
        GifImageToBuild image = PatternImage(0, 0, 3, height, 7);
        const QImage plain = DecodeStill(BuildGif(OneImage(3, height, image, 8)));
        image.interlaced = true;
        const QByteArray interlacedBytes = BuildGif(OneImage(3, height, image, 8));
        ASSERT_EQ(uchar(interlacedBytes[13 + 8 * 3 + 9]) & 0x40, 0x40) << "interlace flag written";
        const QImage interlaced = DecodeStill(interlacedBytes);
        EXPECT_EQ(Indexes(interlaced), image.pixels) << height;
        EXPECT_EQ(Indexes(plain), Indexes(interlaced)) << height;
    }
}

TEST(GifStill, ImageSitsAtItsPositionOverTheBackgroundAndIsClipped)
{
    struct Case
    {
        const char* name;
        GifToBuild toBuild;
        QSize size;
        QByteArray indexes;
    };
    GifToBuild small = OneImage(6, 4, SolidImage(2, 1, 3, 2, 1));
    small.background = 3;
    const Case cases[] = {
        {"small", small, QSize(6, 4),
         QByteArray("\3\3\3\3\3\3"
                    "\3\3\1\1\1\3"
                    "\3\3\1\1\1\3"
                    "\3\3\3\3\3\3",
                    24)},
        {"beyond-the-screen", OneImage(4, 3, SolidImage(2, 2, 5, 4, 2)), QSize(4, 3),
         QByteArray("\0\0\0\0"
                    "\0\0\0\0"
                    "\0\0\2\2",
                    12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage picture = DecodeStill(BuildGif(c.toBuild));
        ASSERT_EQ(picture.size(), c.size);
        EXPECT_EQ(Indexes(picture), c.indexes);
    }
}

TEST(GifStill, LocalColourMapWinsOverTheGlobalOne)
{
    GifImageToBuild image = PatternImage(0, 0, 2, 2, 2);
    image.localColours = TestPalette(2, 5);
    const QImage picture = DecodeStill(BuildGif(OneImage(2, 2, image)));
    EXPECT_EQ(picture.colorTable(), TestPalette(2, 5));
}

TEST(GifStill, NoColourMapAtAllGivesNoPicture)
{
    const QByteArray bytes = WithoutGlobalColourMap(BuildGif(OneImage(2, 2, SolidImage(0, 0, 2, 2, 0))));
    CGifSource source(bytes);
    ASSERT_TRUE(source.Read());
    EXPECT_TRUE(RenderGifStill(*source.File()).isNull());
}

TEST(GifStill, IndexesBeyondTheColourMapShowAsOpaqueBlack)
{
    QVector<QRgb> padded = TestPalette(2);
    padded << qRgb(0, 0, 0) << qRgb(0, 0, 0);

    const QImage picture = DecodeStill(WithTwoGlobalColours(BuildGif(OneImage(4, 1, PatternImage(0, 0, 4, 1, 4)))));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.colorTable(), padded);
    EXPECT_EQ(picture.pixel(3, 0), qRgb(0, 0, 0));

    // The background index counts where the background shows, and only there.
    GifToBuild uncovered = OneImage(4, 1, SolidImage(0, 0, 2, 1, 1));
    uncovered.background = 3;
    EXPECT_EQ(DecodeStill(WithTwoGlobalColours(BuildGif(uncovered))).colorTable(), padded);
    GifToBuild covered = OneImage(4, 1, SolidImage(0, 0, 4, 1, 1));
    covered.background = 3;
    EXPECT_EQ(DecodeStill(WithTwoGlobalColours(BuildGif(covered))).colorTable(), TestPalette(2));

    // Without such an index the table stays as the file gave it.
    const QImage plain = DecodeStill(BuildGif(OneImage(4, 1, PatternImage(0, 0, 4, 1, 2), 4)));
    EXPECT_EQ(plain.colorTable().size(), 4);
}

// A transparent index that the image shows makes those pixels, and the screen around the image, see-through;
// one the image does not use changes nothing.
TEST(GifStill, TransparentIndexIsSeeThrough)
{
    GifToBuild toBuild = OneImage(4, 2, Timed(PatternImage(1, 0, 3, 1, 3), 0, 0, 1));
    toBuild.background = 3;
    const QImage picture = DecodeStill(BuildGif(toBuild));
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(Indexes(picture), QByteArray("\1\0\1\2\1\1\1\1", 8));
    QVector<QRgb> colours = TestPalette(4);
    colours[1] &= RGB_MASK;
    EXPECT_EQ(picture.colorTable(), colours);

    GifToBuild unused = OneImage(4, 2, Timed(SolidImage(0, 0, 4, 2, 2), 0, 0, 1));
    EXPECT_EQ(DecodeStill(BuildGif(unused)).colorTable(), TestPalette(4));
}

TEST(GifSource, ScreenSizeLimits)
{
    struct Case
    {
        int width, height;
        bool readable;
    };
    const Case cases[] = {{4096, 1, true}, {1, 4096, true}, {4097, 1, false}, {1, 4097, false}};
    for (const Case& c : cases) {
        CGifSource source(BuildGif(OneImage(c.width, c.height, SolidImage(0, 0, 1, 1, 0))));
        EXPECT_EQ(source.Read(), c.readable) << c.width << "x" << c.height;
    }
}

TEST(GifAnimation, DisplayTimesFromTheControlBlocks)
{
    struct Case
    {
        bool control;
        int delay;
        int expected;
    };
    const Case cases[] = {{false, 0, 106}, {true, 0, 106}, {true, 5, 50}, {true, 300, 3000}};
    for (const Case& c : cases) {
        GifImageToBuild image = SolidImage(0, 0, 2, 2, 1);
        if (c.control)
            image = Timed(image, c.delay, 1);
        GifToBuild toBuild = OneImage(2, 2, image);
        toBuild.images << image;
        QList<GifFrame> frames;
        ASSERT_EQ(DecodeFrames(BuildGif(toBuild), frames), CGifAnimator::Composed);
        ASSERT_EQ(frames.size(), 2);
        EXPECT_EQ(frames[0].displayTime, c.expected);
        EXPECT_EQ(frames[1].displayTime, c.expected);
    }
}

// What each frame shows, and how long the last one stays.
TEST(GifAnimation, FramesComposeOnTheCanvas)
{
    struct Case
    {
        const char* name;
        GifToBuild toBuild;
        QList<QByteArray> frames;
        int lastDisplayTime;
    };
    // First image fills the 3x1 screen with 1; the second draws index 2 at x = 1.
    const auto disposal = [](int kind) {
        GifToBuild toBuild = OneImage(3, 1, Timed(SolidImage(0, 0, 3, 1, 1), 10, kind));
        toBuild.background = 3;
        toBuild.images << Timed(SolidImage(1, 0, 1, 1, 2), 10, 0);
        return toBuild;
    };
    // Restoring to the background clears only the area the image covered.
    GifToBuild background = OneImage(4, 1, Timed(SolidImage(0, 0, 4, 1, 1), 10, 1));
    background.images << Timed(SolidImage(1, 0, 1, 1, 2), 10, 2) << Timed(SolidImage(3, 0, 1, 1, 2), 10, 1);
    // Transparent pixels leave the canvas; without a control block index 0 stays transparent.
    GifToBuild transparent = OneImage(3, 1, SolidImage(0, 0, 3, 1, 1));
    transparent.images << Timed(PatternImage(0, 0, 3, 1, 3), 10, 1, 0) << SolidImage(0, 0, 3, 1, 0);
    GifToBuild beyond = OneImage(2, 2, SolidImage(0, 0, 2, 2, 1));
    beyond.images << SolidImage(1, 1, 6, 6, 2) << SolidImage(5, 5, 2, 2, 3);
    // Where an image shows its transparent index, the screen shows through: it starts see-through, not in the
    // background colour, and restoring to the background makes it see-through again.
    GifToBuild seeThrough = OneImage(3, 1, Timed(PatternImage(0, 0, 3, 1, 3), 10, 2, 0));
    seeThrough.background = 3;
    seeThrough.images << SolidImage(1, 0, 1, 1, 3);
    const Case cases[] = {
        {"disposal-0", disposal(0), {QByteArray("\1\1\1", 3), QByteArray("\1\2\1", 3)}, 100},
        {"disposal-1", disposal(1), {QByteArray("\1\1\1", 3), QByteArray("\1\2\1", 3)}, 100},
        {"disposal-2", disposal(2), {QByteArray("\1\1\1", 3), QByteArray("\3\2\3", 3)}, 100},
        {"disposal-3", disposal(3), {QByteArray("\1\1\1", 3), QByteArray("\3\2\3", 3)}, 100},
        {"background-area",
         background,
         {QByteArray("\1\1\1\1", 4), QByteArray("\1\2\1\1", 4), QByteArray("\1\0\1\2", 4)},
         100},
        {"transparent-carries-over",
         transparent,
         {QByteArray("\1\1\1", 3), QByteArray("\1\1\2", 3), QByteArray("\1\1\2", 3)},
         106},
        {"beyond-the-screen",
         beyond,
         {QByteArray("\1\1\1\1", 4), QByteArray("\1\1\1\2", 4), QByteArray("\1\1\1\2", 4)},
         106},
        {"see-through", seeThrough, {QByteArray("t\1\2", 3), QByteArray("t\3t", 3)}, 106},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<GifFrame> frames = ComposedFrames(BuildGif(c.toBuild));
        ASSERT_EQ(frames.size(), c.frames.size());
        for (qsizetype i = 0; i < frames.size(); ++i)
            EXPECT_EQ(Shown(frames[i].image), c.frames[i]) << i;
        EXPECT_EQ(frames.last().displayTime, c.lastDisplayTime);
    }
}

TEST(GifAnimation, CanvasStaysEightBitWithOnlyTheGlobalMap)
{
    GifToBuild toBuild = OneImage(2, 1, SolidImage(0, 0, 2, 1, 1));
    toBuild.images << SolidImage(0, 0, 1, 1, 2);
    QList<GifFrame> frames;
    ASSERT_EQ(DecodeFrames(BuildGif(toBuild), frames), CGifAnimator::Composed);
    for (const GifFrame& frame : frames) {
        EXPECT_EQ(frame.image.format(), QImage::Format_Indexed8);
        EXPECT_EQ(frame.image.colorTable(), TestPalette(4));
    }
}

// A later image with its own colours must not recolour what earlier images drew.
TEST(GifAnimation, LocalColourMapsComposeInTrueColour)
{
    GifToBuild toBuild = OneImage(2, 1, SolidImage(0, 0, 2, 1, 1));
    toBuild.background = 2;
    GifImageToBuild second = SolidImage(1, 0, 1, 1, 1);
    second.localColours = TestPalette(2, 9);
    toBuild.images << second;
    QList<GifFrame> frames;
    ASSERT_EQ(DecodeFrames(BuildGif(toBuild), frames), CGifAnimator::Composed);
    ASSERT_EQ(frames.size(), 2);
    const QVector<QRgb> global = TestPalette(4);
    EXPECT_EQ(frames[0].image.format(), QImage::Format_RGB32);
    EXPECT_EQ(frames[0].image.pixel(0, 0), global[1]);
    EXPECT_EQ(frames[1].image.pixel(0, 0), global[1]);
    EXPECT_EQ(frames[1].image.pixel(1, 0), TestPalette(2, 9)[1]);
}

TEST(GifAnimation, IndexesBeyondTheColourMapPadEveryFrame)
{
    GifToBuild toBuild = OneImage(3, 1, SolidImage(0, 0, 3, 1, 1));
    toBuild.images << SolidImage(1, 0, 1, 1, 2);
    QList<GifFrame> frames;
    ASSERT_EQ(DecodeFrames(WithTwoGlobalColours(BuildGif(toBuild)), frames), CGifAnimator::Composed);
    QVector<QRgb> padded = TestPalette(2);
    padded << qRgb(0, 0, 0);
    for (const GifFrame& frame : frames)
        EXPECT_EQ(frame.image.colorTable(), padded);

    toBuild = OneImage(3, 1, SolidImage(0, 0, 1, 1, 1));
    toBuild.background = 3;
    toBuild.images << SolidImage(1, 0, 1, 1, 1);
    ASSERT_EQ(DecodeFrames(WithTwoGlobalColours(BuildGif(toBuild)), frames), CGifAnimator::Composed);
    padded << qRgb(0, 0, 0);
    EXPECT_EQ(frames[1].image.colorTable(), padded);
}

TEST(GifAnimation, ImageWithoutAnyColourMapIsRefused)
{
    GifToBuild toBuild = OneImage(2, 1, SolidImage(0, 0, 2, 1, 1));
    toBuild.images[0].localColours = TestPalette(2);
    toBuild.images << SolidImage(0, 0, 1, 1, 1);
    QList<GifFrame> frames;
    EXPECT_EQ(DecodeFrames(WithoutGlobalColourMap(BuildGif(toBuild)), frames), CGifAnimator::NoColourMap);
}

TEST(GifLayout, ImagesAreMeasuredBeforeTheDecoderAllocatesThem)
{
    // The image's own size counts, whatever the screen: giflib allocates by it.
    struct Case
    {
        int width, height;
        bool readable;
    };
    const Case cases[] = {{4096, 2, true}, {2, 4096, true}, {4097, 2, false}, {2, 4097, false}};
    for (const Case& c : cases) {
        const QByteArray gif = BuildGif(OneImage(8, 8, SolidImage(0, 0, c.width, c.height, 1)));
        EXPECT_EQ(GifLayout::RastersFit(gif, CGifSource::MaxScreenSide, CGifSource::MaxRasterPixels), c.readable)
            << c.width << "x" << c.height;
        CGifSource source(gif);
        EXPECT_EQ(source.Read(), c.readable) << c.width << "x" << c.height;
    }
}

TEST(GifLayout, AllImagesTogetherStayWithinTheFrameBound)
{
    // Screen 16 x 16 without colour map, then `count` images of 4096 x 4096, each an
    // empty LZW stream: 16 images are 256 MB of raster, 17 one image too many.
    const auto file = [](int count) {
        QByteArray bytes("GIF89a\x10\x00\x10\x00\x00\x00\x00", 13);
        for (int i = 0; i < count; ++i)
            bytes += QByteArray("\x2C\x00\x00\x00\x00\x00\x10\x00\x10\x00\x02\x00", 12);
        return bytes + '\x3B';
    };
    EXPECT_TRUE(GifLayout::RastersFit(file(16), 4096, CGifSource::MaxRasterPixels));
    EXPECT_FALSE(GifLayout::RastersFit(file(17), 4096, CGifSource::MaxRasterPixels));
    EXPECT_FALSE(CGifSource(file(17)).Read());
}

TEST(GifLayout, BrokenStructuresAreLeftToTheDecoder)
{
    // Every cut of a real file, and records the decoder does not know, read only the
    // bytes given and refuse nothing themselves.
    GifToBuild toBuild = OneImage(6, 5, Timed(PatternImage(1, 1, 4, 3, 4), 7, 2));
    toBuild.images << SolidImage(0, 0, 6, 5, 2);
    const QByteArray gif = BuildGif(toBuild);
    for (qsizetype length = 0; length <= gif.size(); ++length)
        EXPECT_TRUE(GifLayout::RastersFit(gif.left(length), 4096, 1000)) << length;
    const qsizetype firstRecord = 13 + 3 * 4; // after the 4-colour global map
    ASSERT_EQ(uchar(gif.at(firstRecord)), 0x21);
    EXPECT_TRUE(GifLayout::RastersFit(gif.left(firstRecord) + '\x99' + gif.mid(firstRecord), 4096, 1000));
    EXPECT_FALSE(GifLayout::RastersFit(gif, 4096, 6 * 5 + 4 * 3 - 1));
}

// Extensions that hold no data sub-block go, wherever they are; every other byte stays.
TEST(GifLayout, ExtensionsWithoutDataAreDropped)
{
    GifToBuild toBuild = OneImage(2, 1, SolidImage(0, 0, 2, 1, 1));
    // The second image starts where the file of the first alone has its trailer.
    const qsizetype secondImage = BuildGif(toBuild).size() - 1;
    toBuild.images << SolidImage(0, 0, 1, 1, 2);
    const QByteArray gif = BuildGif(toBuild);
    const qsizetype firstRecord = 13 + 3 * 4; // after the 4-colour global map
    ASSERT_EQ(uchar(gif.at(firstRecord)), 0x2C);
    ASSERT_EQ(uchar(gif.at(secondImage)), 0x2C);
    const QByteArray emptyComment("\x21\xFE\x00", 3);
    const QByteArray emptyControl("\x21\xF9\x00", 3);
    const QByteArray comment("\x21\xFE\x02hi\x00", 6);
    const auto at = [&](qsizetype position, const QByteArray& record) {
        return gif.left(position) + record + gif.mid(position);
    };
    const QByteArray cutShort = at(firstRecord, emptyComment).left(firstRecord + 2);
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QByteArray kept;
    };
    const Case cases[] = {
        {"none", gif, gif},
        {"comment-first", at(firstRecord, emptyComment), gif},
        {"two-before-the-second-image", at(secondImage, emptyComment + emptyControl), gif},
        {"with-data", at(firstRecord, comment), at(firstRecord, comment)},
        {"cut-short", cutShort, cutShort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GifLayout::WithoutEmptyExtensions(c.bytes), c.kept);
    }
}

TEST(GifLayout, ALargeScreenOfManyTinyFramesIsRefusedBeforeDecoding)
{
    // Each frame becomes a whole screen: 4096 x 4096 at 4 bytes is 64 MB, so four frames fit the 256 MB
    // bound and a fifth does not, however small the images themselves are.
    struct Case
    {
        int frames;
        bool fits;
    };
    const Case cases[] = {{2, true}, {4, true}, {5, false}, {12, false}};
    for (const Case& c : cases) {
        GifToBuild toBuild = OneImage(4096, 4096, SolidImage(0, 0, 1, 1, 1));
        for (int i = 1; i < c.frames; ++i)
            toBuild.images << SolidImage(i, 0, 1, 1, 2);
        const QByteArray gif = BuildGif(toBuild);
        EXPECT_EQ(GifLayout::FramesFit(gif, 4, CGifAnimator::MaxFrameBytes), c.fits) << c.frames;
        if (!c.fits) {
            EXPECT_EQ(ImportGifAnimation(gif), nullptr) << c.frames;
        }
    }
    // A small screen with the same frames always fits.
    GifToBuild small = OneImage(101, 80, SolidImage(0, 0, 1, 1, 1));
    for (int i = 1; i < 12; ++i)
        small.images << SolidImage(i, 0, 1, 1, 2);
    EXPECT_TRUE(GifLayout::FramesFit(BuildGif(small), 4, CGifAnimator::MaxFrameBytes));
}
