// Pictures encoded here with QImage, next to the picture documents they must give.
#include "BlackPng.h"
#include "CNivra.h"
#include "PluginLibraryCheck.h"

#include "Documents/CDocumentPicture.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
QImage Filled(QImage::Format format, QRgb colour, QSize size = QSize(5, 3))
{
    QImage image(size, format);
    image.fill(colour);
    return image;
}

class NivraImport : public ImporterTest
{};
} // namespace

TEST_F(NivraImport, PicturesComeOutInTheConvertersFormats)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QImage::Format format;
        QRgb corner;
    };
    const Case cases[] = {
        {"rgb", EncodePicture(Filled(QImage::Format_RGB32, qRgb(1, 2, 3)), "PNG"), QImage::Format_RGB32, qRgb(1, 2, 3)},
        {"alpha", EncodePicture(Filled(QImage::Format_ARGB32, qRgba(10, 20, 30, 128)), "PNG"), QImage::Format_ARGB32,
         qRgba(10, 20, 30, 128)},
        {"grey", EncodePicture(Filled(QImage::Format_Grayscale8, qRgb(7, 7, 7)), "PNG"), QImage::Format_Indexed8,
         qRgb(7, 7, 7)},
        {"deep", EncodePicture(Filled(QImage::Format_RGBX64, qRgb(255, 0, 255)), "PNG"), QImage::Format_RGB32,
         qRgb(255, 0, 255)},
        {"bmp", EncodePicture(Filled(QImage::Format_RGB32, qRgb(9, 8, 7)), "BMP"), QImage::Format_RGB32, qRgb(9, 8, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNivra importer;
        std::unique_ptr<CDocument> document(importer.Import(c.bytes));
        ASSERT_NE(document, nullptr);
        ASSERT_EQ(document->GetDocType(), CDocument::PICTURE);
        const QImage& picture = static_cast<CDocumentPicture*>(document.get())->GetImage();
        EXPECT_EQ(picture.format(), c.format);
        EXPECT_EQ(picture.size(), QSize(5, 3));
        EXPECT_EQ(picture.pixel(4, 2), c.corner);
        EXPECT_TRUE(document->GetName().isEmpty());
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".png"), c.bytes);
    }
}

TEST_F(NivraImport, UnreadableBytesAreRefused)
{
    const QByteArray png = EncodePicture(Filled(QImage::Format_RGB32, qRgb(1, 2, 3)), "PNG");
    for (qsizetype length = 0; length < png.size(); ++length) {
        CNivra importer;
        std::unique_ptr<CDocument> document(importer.Import(png.left(length)));
        if (!document) {
            EXPECT_EQ(Summary(importer), LoggedLines("CNivra", {"id_import_error"}));
            EXPECT_EQ(Detailed(importer) + "\n", Summary(importer));
        }
    }
    CNivra importer;
    EXPECT_EQ(importer.Import(QByteArray("no picture here")), nullptr);
    EXPECT_TRUE(m_Quiet.Lines().filter(QStringLiteral("BMP")).isEmpty()) << "only the BMP importer says why";
}

// The toolkit's reader will not allocate an 8000 x 8000 picture: its header alone refuses it, for its size.
TEST_F(NivraImport, APictureTooLargeToDecodeIsRefusedForItsSize)
{
    CNivra small;
    std::unique_ptr<CDocument> black(small.Import(BlackPng::Grey(30, 20)));
    ASSERT_NE(black, nullptr);
    const QImage& picture = static_cast<CDocumentPicture*>(black.get())->GetImage();
    EXPECT_EQ(picture.size(), QSize(30, 20));
    EXPECT_EQ(picture.pixel(29, 19), qRgb(0, 0, 0));

    CNivra importer;
    EXPECT_EQ(importer.Import(BlackPng::Grey(8000, 8000)), nullptr);
    EXPECT_EQ(Summary(importer), "The picture of 8000 x 8000 pixels is larger than 255 x 255 pixels.\n");
    EXPECT_EQ(Detailed(importer), Summary(importer));
}

TEST(NivraPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(ORV_PLUGIN_FILE, "Nivra", 0x10001,
                      {{"CNivra", CDocument::PICTURE, CDocument::PICTURE, "PNG",
                        EncodePicture(Filled(QImage::Format_RGB32, qRgb(1, 2, 3)), "PNG"), QByteArray("x")}});
}
