// Pictures encoded here with QImage, next to the picture documents they must give.
#include "CDotra.h"
#include "PluginLibraryCheck.h"

#include "Documents/CDocumentPicture.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
QImage Palette(int colours)
{
    QImage image(6, 4, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table << qRgb(i * 40, 255 - i * 30, i * 7);
    image.setColorTable(table);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            image.setPixel(x, y, uint((x + y) % colours));
    return image;
}

class DotraImport : public ImporterTest
{};
} // namespace

TEST_F(DotraImport, PaletteBmpStaysEightBitWithItsColours)
{
    const QImage source = Palette(6);
    const QByteArray bmp = EncodePicture(source, "BMP");
    CDotra importer;
    std::unique_ptr<CDocument> document(importer.Import(bmp));
    ASSERT_NE(document, nullptr);
    const QImage& picture = static_cast<CDocumentPicture*>(document.get())->GetImage();
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    ASSERT_GE(picture.colorCount(), 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(picture.pixel(x, y), source.pixel(x, y));
    SaveSeed(QStringLiteral("palette.bmp"), bmp);
}

TEST_F(DotraImport, MonochromeBmpStaysMono)
{
    QImage mono(9, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(8, 2, 1);
    const QByteArray bmp = EncodePicture(mono, "BMP");
    CDotra importer;
    std::unique_ptr<CDocument> document(importer.Import(bmp));
    ASSERT_NE(document, nullptr);
    const QImage& picture = static_cast<CDocumentPicture*>(document.get())->GetImage();
    EXPECT_TRUE(picture.format() == QImage::Format_Mono || picture.format() == QImage::Format_MonoLSB
                || picture.format() == QImage::Format_Indexed8)
        << picture.format();
    EXPECT_EQ(picture.pixel(8, 2), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    SaveSeed(QStringLiteral("mono.bmp"), bmp);
}

TEST_F(DotraImport, PngBytesAreReadToo)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(40, 50, 60));
    CDotra importer;
    std::unique_ptr<CDocument> document(importer.Import(EncodePicture(image, "PNG")));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(static_cast<CDocumentPicture*>(document.get())->GetImage().pixel(1, 1), qRgb(40, 50, 60));
}

TEST_F(DotraImport, FailuresSayWhyOnTheDebugOutput)
{
    CDotra importer;
    EXPECT_EQ(importer.Import(QByteArray()), nullptr);
    EXPECT_TRUE(m_Quiet.Lines().contains(QStringLiteral("BMP picture load faied")));
    EXPECT_EQ(Summary(importer), LoggedLines("CDotra", {"id_import_error"}));
    EXPECT_EQ(Detailed(importer) + "\n", Summary(importer));
}

TEST_F(DotraImport, EveryTruncationIsReadOrRefusedCleanly)
{
    const QByteArray bmp = EncodePicture(Palette(4), "BMP");
    for (qsizetype length = 0; length < bmp.size(); ++length) {
        CDotra importer;
        std::unique_ptr<CDocument> document(importer.Import(bmp.left(length)));
        if (!document) {
            EXPECT_EQ(Summary(importer), LoggedLines("CDotra", {"id_import_error"})) << length;
        }
    }
}

TEST(DotraPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(ORV_PLUGIN_FILE, "Dotra", 0x10000,
                      {{"CDotra", CDocument::PICTURE, CDocument::PICTURE, "BMP", EncodePicture(Palette(2), "BMP"),
                        QByteArray("BM")}});
}
