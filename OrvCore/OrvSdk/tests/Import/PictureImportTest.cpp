// Picture files for the importers: only regular files are opened.
#include "Import/PictureImport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QImage Filled(QImage::Format format, QRgb colour)
{
    QImage image(3, 2, format);
    image.fill(colour);
    return image;
}
} // namespace

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
