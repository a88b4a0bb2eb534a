// Pictures decoded for the importers come out in the few formats converters handle.
#include "Import/PictureImport.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QTemporaryDir>

namespace
{
QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Filled(QImage::Format format, QRgb colour)
{
    QImage image(3, 2, format);
    image.fill(colour);
    return image;
}
} // namespace

TEST(PictureImport, DecodedPicturesAreNormalised)
{
    struct Case { QImage source; const char* encoding; QImage::Format expected; };
    QImage palette(3, 2, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50)});
    palette.fill(1);
    const Case cases[] = {
        {Filled(QImage::Format_RGB32, qRgb(10, 20, 30)), "PNG", QImage::Format_RGB32},
        {Filled(QImage::Format_ARGB32, qRgba(10, 20, 30, 40)), "PNG", QImage::Format_ARGB32},
        {Filled(QImage::Format_Grayscale8, qRgb(90, 90, 90)), "PNG", QImage::Format_Indexed8},
        {Filled(QImage::Format_RGBX64, qRgb(10, 20, 30)), "PNG", QImage::Format_RGB32},
        {palette, "BMP", QImage::Format_Indexed8},
        {Filled(QImage::Format_Mono, 1), "BMP", QImage::Format_Mono},
    };
    for (const Case& c : cases) {
        QImage picture;
        ASSERT_EQ(PictureImport::LoadFromData(Encode(c.source, c.encoding), picture), PictureImport::Loaded);
        EXPECT_EQ(picture.format(), c.expected) << c.source.format();
        EXPECT_EQ(picture.size(), QSize(3, 2));
    }
}

TEST(PictureImport, BytesThatAreNoPicture)
{
    QImage picture;
    EXPECT_EQ(PictureImport::LoadFromData(QByteArray(), picture), PictureImport::LoadFailed);
    EXPECT_EQ(PictureImport::LoadFromData(QByteArray("plain text, no picture"), picture), PictureImport::LoadFailed);
    EXPECT_TRUE(picture.isNull());
}

TEST(PictureImport, OnlyRegularFilesAreRead)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("frame.png"));
    ASSERT_TRUE(Filled(QImage::Format_RGB32, qRgb(1, 2, 3)).save(file));

    QImage picture;
    EXPECT_EQ(PictureImport::LoadFromFile(file, picture), PictureImport::Loaded);
    EXPECT_EQ(PictureImport::LoadFromFile(folder.path(), picture), PictureImport::NotAFile);
    EXPECT_EQ(PictureImport::LoadFromFile(QStringLiteral("/dev/zero"), picture), PictureImport::NotAFile);
    EXPECT_EQ(PictureImport::LoadFromFile(folder.filePath(QStringLiteral("missing.png")), picture),
              PictureImport::NotAFile);
    EXPECT_EQ(PictureImport::LoadFromFile(QString(), picture), PictureImport::NotAFile);
}
