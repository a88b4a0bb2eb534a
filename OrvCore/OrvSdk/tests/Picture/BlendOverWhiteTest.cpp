// Pixels over the white of the screen, worked out by hand:
// (channel x alpha + 255 x (255 - alpha)) / 255, rounded.
#include "Picture/BlendOverWhite.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(BlendOverWhite, EachPixelLiesOverWhiteByItsAlpha)
{
    struct Case
    {
        QRgb pixel;
        QRgb shown;
    } const cases[] = {
        {qRgba(0, 0, 0, 0), qRgb(255, 255, 255)},      {qRgba(255, 0, 0, 0), qRgb(255, 255, 255)},
        {qRgba(12, 34, 56, 255), qRgb(12, 34, 56)},    {qRgba(0, 0, 0, 128), qRgb(127, 127, 127)},
        {qRgba(200, 100, 0, 51), qRgb(244, 224, 204)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.pixel);
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.fill(c.pixel);
        const QImage shown = BlendOverWhite(picture);
        EXPECT_EQ(shown.format(), QImage::Format_RGB32);
        EXPECT_EQ(shown.pixel(1, 0), c.shown);
    }
    // A premultiplied picture the same, from its true colours.
    QImage premultiplied(1, 1, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(qRgba(0, 0, 0, 128));
    EXPECT_EQ(BlendOverWhite(premultiplied).pixel(0, 0), qRgb(127, 127, 127));
}

TEST(BlendOverWhite, ColourTablesAreBlendedAndOpaquePicturesStayAsTheyAre)
{
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(9, 9, 9, 0), qRgb(0, 0, 0), qRgba(0, 0, 0, 128)});
    for (int x = 0; x < 3; ++x)
        indexed.setPixel(x, 0, uint(2 - x));
    const QImage shown = BlendOverWhite(indexed);
    ASSERT_EQ(shown.format(), QImage::Format_Indexed8);
    EXPECT_FALSE(shown.hasAlphaChannel());
    EXPECT_EQ(shown.colorTable(), QList<QRgb>({qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(127, 127, 127)}));
    EXPECT_EQ(shown.pixelIndex(0, 0), 2);

    QImage opaque(2, 2, QImage::Format_RGB32);
    opaque.fill(qRgb(1, 2, 3));
    EXPECT_EQ(BlendOverWhite(opaque).cacheKey(), opaque.cacheKey());
    indexed.setColorTable({qRgb(9, 9, 9), qRgb(0, 0, 0), qRgb(5, 5, 5)});
    EXPECT_EQ(BlendOverWhite(indexed).cacheKey(), indexed.cacheKey());
    EXPECT_TRUE(BlendOverWhite(QImage()).isNull());
}
