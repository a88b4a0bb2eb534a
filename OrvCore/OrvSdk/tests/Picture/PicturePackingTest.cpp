// Picture bodies worked out by hand from the layout: sizes, bit and word
// positions, the darker-colour bit, the four-grey quantisation and the masks.
#include "Picture/PicturePacking.h"
#include "Documents/NormalisePicture.h"
#include "Picture/FourGreys.h"
#include "Picture/PhoneGreys.h"
#include "Picture/PictureBody.h"
#include "Picture/TwoColourBits.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
QRgb Grey(int level)
{
    return qRgb(level, level, level);
}

// An 8-bit indexed picture filled with palette index `fill`.
QImage Indexed(int width, int height, const QList<QRgb>& table, int fill = 0)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(table);
    image.fill(uint(fill));
    return image;
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(uchar(value)));
    return bytes;
}
} // namespace

TEST(PictureBody, SizesFollowTheBands)
{
    struct Case
    {
        PictureBody::Mode mode;
        bool mask;
        int width, height, size;
    } const cases[] = {
        {PictureBody::Monochrome, false, 10, 9, 2 + 10 * 2},
        {PictureBody::Monochrome, true, 10, 9, 2 + 10 * 2}, // a monochrome body never carries a mask
        {PictureBody::Monochrome, false, 16, 16, 34},
        {PictureBody::Grey, false, 16, 16, 2 * 16 * 2 + 4},
        {PictureBody::Grey, true, 16, 16, 100},
        {PictureBody::Grey, true, 255, 255, 3 * 255 * 32 + 4},
        {PictureBody::Monochrome, false, 1, 1, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureBody::Size(c.mode, c.mask, c.width, c.height), c.size) << c.width << "x" << c.height;
}

TEST(PictureBody, MonochromePixelsGoColumnByColumnTopPixelInBit7)
{
    QImage bits = Indexed(10, 9, {Grey(255), Grey(0)});
    bits.setPixel(0, 8, 1);
    bits.setPixel(1, 0, 1);
    bits.setPixel(9, 7, 1);
    QByteArray body;
    PictureBody::AppendMonochrome(bits, body);
    ASSERT_EQ(body.size(), 22);
    QByteArray expected = Bytes({10, 9});
    expected += QByteArray(20, '\0');
    expected[2 + 1] = char(0x80);  // column 0, band 1, row 8
    expected[2 + 2] = char(0x80);  // column 1, band 0, row 0
    expected[2 + 18] = char(0x01); // column 9, band 0, row 7
    EXPECT_EQ(body, expected);
}

TEST(PictureBody, GreyWordsGoBandByBandLittleEndian)
{
    // Column 0 holds indices 0,1,2,3,3,2,1,0 then 3 in the second band.
    QImage greys = Indexed(2, 9, {Grey(194), Grey(160), Grey(125), Grey(0)});
    const int column[9] = {0, 1, 2, 3, 3, 2, 1, 0, 3};
    for (int y = 0; y < 9; ++y)
        greys.setPixel(0, y, uint(column[y]));
    QImage mask = Indexed(2, 9, {Grey(255), Grey(0)}, 1);
    mask.setPixel(1, 0, 0);

    QByteArray body;
    PictureBody::AppendGrey(greys, &mask, body);
    // 0b00011011_11100100 = 0x1BE4; band 1 row 8 = 3 << 14 = 0xC000.
    const QByteArray expected =
        Bytes({0x00, 0x00, 2, 9, 0xFF, 0x80, 0x7F, 0x80, // mask: column 0 all opaque, column 1 row 0 clear
               0xE4, 0x1B, 0x00, 0x00,                   // band 0
               0x00, 0xC0, 0x00, 0x00});                 // band 1
    EXPECT_EQ(body, expected);

    body.clear();
    PictureBody::AppendGrey(greys, nullptr, body);
    EXPECT_EQ(body, Bytes({0x00, 0x01, 2, 9, 0xE4, 0x1B, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00}));
}

TEST(TwoColourBits, TheDarkerColourIsTheOneBitWhateverItsIndex)
{
    for (bool blackFirst : {false, true}) {
        SCOPED_TRACE(blackFirst);
        QImage mono(3, 1, QImage::Format_Mono);
        mono.setColorTable(blackFirst ? QList<QRgb>{Grey(0), Grey(255)} : QList<QRgb>{Grey(255), Grey(0)});
        mono.fill(blackFirst ? 1u : 0u); // white
        mono.setPixel(1, 0, blackFirst ? 0u : 1u);
        const QImage bits = TwoColourBits::FromPicture(mono, Grey(194), Grey(0));
        ASSERT_EQ(bits.format(), QImage::Format_Indexed8);
        EXPECT_EQ(bits.pixelIndex(0, 0), 0);
        EXPECT_EQ(bits.pixelIndex(1, 0), 1);
        EXPECT_EQ(bits.color(0), Grey(194));
        EXPECT_EQ(bits.color(1), Grey(0));
    }
}

TEST(FourGreys, QuantisesAgainstNeutralGreysTowardsTheNearest)
{
    struct Case
    {
        int level, index;
    } const cases[] = {{255, 0}, {213, 0}, {212, 1}, {170, 1}, {128, 1}, {127, 2}, {43, 2}, {42, 3}, {0, 3}};
    for (const Case& c : cases) {
        // A colour palette makes the grey value count; red alone weighs 11/32.
        QImage picture = Indexed(1, 1, {Grey(c.level), qRgb(255, 0, 0)});
        const QImage greys = FourGreys::Quantise(picture);
        EXPECT_EQ(greys.pixelIndex(0, 0), c.index) << c.level;
        EXPECT_EQ(greys.colorTable(), (QList<QRgb>{Grey(194), Grey(160), Grey(125), Grey(0)}));
    }
}

TEST(FourGreys, PhoneGreysKeepTheirIndices)
{
    // Three phone greys: the short palette is filled up with black, itself a phone grey.
    QImage picture = Indexed(3, 1, {Grey(125), Grey(194), Grey(160)});
    picture.setPixel(1, 0, 1);
    picture.setPixel(2, 0, 2);
    const QImage greys = FourGreys::Quantise(picture);
    EXPECT_EQ(greys.pixelIndex(0, 0), 2);
    EXPECT_EQ(greys.pixelIndex(1, 0), 0);
    EXPECT_EQ(greys.pixelIndex(2, 0), 1);
}

TEST(FourGreys, PhoneGreysWithWhiteMakeWhiteTransparent)
{
    QImage picture = Indexed(5, 1, {Grey(255), Grey(194), Grey(160), Grey(125), Grey(0)});
    for (int x = 0; x < 5; ++x)
        picture.setPixel(x, 0, uint(x));
    const QImage mask = FourGreys::MakeMask(picture);
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(mask.pixelIndex(0, 0), 0);
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(mask.pixelIndex(x, 0), 1) << x;
    const QImage greys = FourGreys::Quantise(picture);
    const int expected[5] = {0, 0, 1, 2, 3};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(greys.pixelIndex(x, 0), expected[x]) << x;

    const QImage preview = FourGreys::Preview(greys, &mask);
    EXPECT_EQ(preview.colorCount(), 5);
    EXPECT_EQ(preview.pixel(0, 0), Grey(255));
    EXPECT_EQ(preview.pixel(1, 0), Grey(194));
}

TEST(FourGreys, HeuristicMaskClearsTheBorderColourButNotAnEnclosedPocket)
{
    // White around a black ring that encloses a white pocket.
    QImage picture = Indexed(7, 7, {Grey(255), Grey(0), Grey(85)});
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j)
            picture.setPixel(i, j, (i == 1 || i == 5 || j == 1 || j == 5) ? 1u : 0u);
    picture.setPixel(6, 6, 2);
    const QImage mask = FourGreys::MakeMask(picture);
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(mask.pixelIndex(0, 0), 0);
    EXPECT_EQ(mask.pixelIndex(6, 0), 0);
    EXPECT_EQ(mask.pixelIndex(1, 1), 1);
    EXPECT_EQ(mask.pixelIndex(3, 3), 1) << "the enclosed pocket stays";
    EXPECT_EQ(mask.pixelIndex(6, 6), 1);
}

TEST(FourGreys, BorderMaskMatchesTheToolkitsHeuristicMask)
{
    // Colour pictures (not all grey) of three colours in blobs, with each
    // corner rule of the background choice exercised by the seeds.
    const QList<QRgb> table = {qRgb(250, 10, 10), qRgb(10, 250, 10), qRgb(10, 10, 250)};
    quint32 state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const int width = 1 + int(next() % 23);
        const int height = 1 + int(next() % 19);
        QImage picture = Indexed(width, height, table, int(next() % 3));
        for (int blob = 0; blob < 6; ++blob) {
            const int x0 = int(next() % uint(width));
            const int y0 = int(next() % uint(height));
            const uint colour = next() % 3;
            for (int y = y0; y < qMin(height, y0 + 1 + int(next() % 6)); ++y)
                for (int x = x0; x < qMin(width, x0 + 1 + int(next() % 6)); ++x)
                    picture.setPixel(x, y, colour);
        }
        const QImage expected = picture.createHeuristicMask(true).convertToFormat(QImage::Format_Indexed8);
        QImage copy = picture.copy();
        const QImage mask = FourGreys::MakeMask(copy);
        ASSERT_EQ(mask.size(), expected.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(mask.pixelIndex(x, y), expected.pixelIndex(x, y)) << x << "," << y;
    }
}

TEST(FourGreys, CountsTheGreysThePixelsUseAndKeepsThemInASparsePalette)
{
    // A grey PNG arrives with all 256 greys in its palette.
    QImage grey(4, 1, QImage::Format_Grayscale8);
    const int levels[4] = {255, 170, 85, 0};
    for (int x = 0; x < 4; ++x)
        grey.scanLine(0)[x] = uchar(levels[x]);
    QImage picture = NormalisePicture(grey);
    ASSERT_EQ(picture.colorCount(), 256);
    EXPECT_EQ(FourGreys::CountUsedGreys(picture), 4);

    PicturePacking::Output out;
    ASSERT_EQ(PicturePacking::PackGrey(picture, false, out), PicturePacking::Packed);
    // Indices 0, 1, 2, 3 in the top rows of four columns: one word each.
    EXPECT_EQ(out.body, Bytes({0, 1, 4, 1, 0x00, 0x00, 0x00, 0x40, 0x00, 0x80, 0x00, 0xC0}));
}

TEST(PicturePacking, GreyPictureWithMaskGivesAHundredBytes)
{
    QImage picture = Indexed(16, 16, {Grey(255), Grey(0), Grey(85), Grey(170)});
    picture.setPixel(5, 5, 1);
    picture.setPixel(6, 6, 2);
    picture.setPixel(7, 7, 3);
    PicturePacking::Output out;
    ASSERT_EQ(PicturePacking::PackGrey(picture, true, out), PicturePacking::Packed);
    ASSERT_EQ(out.body.size(), 100);
    EXPECT_EQ(out.body.left(4), Bytes({0x00, 0x00, 0x10, 0x10}));
    // Only the three drawn pixels are opaque: column 5 band 0 row 5.
    EXPECT_EQ(uchar(out.body.at(4 + 5 * 2)), 0x04);
    EXPECT_EQ(out.preview.pixel(0, 0), Grey(255));
    EXPECT_EQ(out.preview.pixel(5, 5), Grey(0));
}

TEST(PicturePacking, MonochromeKeepsBlackAsOneForEitherPalette)
{
    QImage picture = Indexed(8, 8, {Grey(0), Grey(255)}, 1);
    picture.setPixel(0, 0, 0);
    PicturePacking::Output out;
    ASSERT_EQ(PicturePacking::PackMonochrome(picture, Grey(255), out), PicturePacking::Packed);
    QByteArray expected = Bytes({8, 8, 0x80});
    expected += QByteArray(7, '\0');
    EXPECT_EQ(out.body, expected);
    EXPECT_EQ(out.preview.pixel(0, 0), Grey(0));
    EXPECT_EQ(out.preview.pixel(1, 0), Grey(255));
}

TEST(PicturePacking, PrepareLaysAlphaOverWhiteAndIndexesGreyPictures)
{
    // Transparent red is white; opaque black stays black.
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 255));
    picture.setPixel(2, 0, qRgba(255, 255, 255, 255));
    const QImage prepared = PicturePacking::Prepare(picture);
    ASSERT_EQ(prepared.format(), QImage::Format_Indexed8);
    EXPECT_FALSE(prepared.hasAlphaChannel());
    EXPECT_TRUE(PicturePacking::IsTwoColourGrey(prepared));
    EXPECT_EQ(prepared.pixel(0, 0), Grey(255));
    EXPECT_EQ(prepared.pixel(1, 0), Grey(0));
    EXPECT_TRUE(PicturePacking::Prepare(QImage()).isNull());
}
