#include "Documents/NormalisePicture.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(NormalisePicture, NullStaysNull)
{
    EXPECT_TRUE(NormalisePicture(QImage()).isNull());
}

TEST(NormalisePicture, MonoAndIndexedStayAsTheyAre)
{
    for (QImage::Format format : {QImage::Format_Mono, QImage::Format_MonoLSB, QImage::Format_Indexed8}) {
        QImage image(5, 3, format);
        image.setColorCount(2);
        image.setColor(0, qRgb(0, 0, 0));
        image.setColor(1, qRgb(255, 255, 255));
        image.fill(0);
        image.setPixel(2, 1, 1);
        const QImage result = NormalisePicture(image);
        EXPECT_EQ(result.format(), format);
        EXPECT_EQ(result.pixelIndex(2, 1), 1);
        EXPECT_EQ(result.colorTable(), image.colorTable());
    }
}

TEST(NormalisePicture, GreyBecomesIndexedWithAGreyTable)
{
    QImage grey(256, 2, QImage::Format_Grayscale8);
    for (int x = 0; x < 256; ++x) {
        grey.scanLine(0)[x] = uchar(x);
        grey.scanLine(1)[x] = uchar(255 - x);
    }
    const QImage result = NormalisePicture(grey);
    ASSERT_EQ(result.format(), QImage::Format_Indexed8);
    ASSERT_EQ(result.colorCount(), 256);
    for (int level = 0; level < 256; ++level)
        EXPECT_EQ(result.color(level), qRgb(level, level, level));
    for (int x = 0; x < 256; ++x) {
        EXPECT_EQ(result.pixelIndex(x, 0), x);
        EXPECT_EQ(result.pixelIndex(x, 1), 255 - x);
    }
}

TEST(NormalisePicture, SixteenBitGreyBecomesIndexed)
{
    QImage grey(3, 1, QImage::Format_Grayscale16);
    quint16* line = reinterpret_cast<quint16*>(grey.scanLine(0));
    line[0] = 0;
    line[1] = 0x8080;
    line[2] = 0xFFFF;
    const QImage result = NormalisePicture(grey);
    ASSERT_EQ(result.format(), QImage::Format_Indexed8);
    EXPECT_EQ(result.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(result.pixel(1, 0), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(result.pixel(2, 0), qRgb(255, 255, 255));
}

TEST(NormalisePicture, EverythingElseBecomesThirtyTwoBits)
{
    struct Case
    {
        QImage::Format from;
        QImage::Format to;
    };
    const Case cases[] = {
        {QImage::Format_RGB888, QImage::Format_RGB32},
        {QImage::Format_RGB16, QImage::Format_RGB32},
        {QImage::Format_RGBX64, QImage::Format_RGB32},
        {QImage::Format_RGBA64, QImage::Format_ARGB32},
        {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32},
        {QImage::Format_RGBA8888, QImage::Format_ARGB32},
        {QImage::Format_RGB32, QImage::Format_RGB32},
        {QImage::Format_ARGB32, QImage::Format_ARGB32},
    };
    for (const Case& c : cases) {
        QImage image(4, 2, c.from);
        image.fill(QColor(255, 128, 0));
        const QImage result = NormalisePicture(image);
        EXPECT_EQ(result.format(), c.to) << int(c.from);
        EXPECT_EQ(result.size(), QSize(4, 2));
        EXPECT_EQ(qRed(result.pixel(3, 1)), 255);
        EXPECT_EQ(qBlue(result.pixel(3, 1)), 0);
    }
}

TEST(NormalisePicture, KeepsTranslucency)
{
    QImage image(1, 1, QImage::Format_RGBA64);
    image.setPixelColor(0, 0, QColor(255, 0, 0, 0));
    const QImage result = NormalisePicture(image);
    ASSERT_EQ(result.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(result.pixel(0, 0)), 0);
}
