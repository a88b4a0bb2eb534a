// Pictures encoded here with QImage, next to the picture documents they must give.
#include "CDotra.h"
#include "PluginLibraryCheck.h"

#include "Documents/CDocumentPicture.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

void PutLittleEndian(QByteArray& bytes, int offset, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// An OS/2 bitmap (12-byte info header) of 64 x 64 pixels at 8 bits whose pixels start, as its header says, 12 bytes
// into its colour table: the 256 colours run on over the first pixels, and the file ends 100 bytes after the table.
QByteArray TableOverPixelsBmp()
{
    const int width = 64, height = 64, tableBytes = 256 * 3, pixelOffset = 14 + 12 + 12;
    QByteArray bmp(14 + 12 + tableBytes + 100, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLittleEndian(bmp, 2, quint32(bmp.size()), 4);
    PutLittleEndian(bmp, 10, pixelOffset, 4);
    PutLittleEndian(bmp, 14, 12, 4);
    PutLittleEndian(bmp, 18, width, 2);
    PutLittleEndian(bmp, 20, height, 2);
    PutLittleEndian(bmp, 22, 1, 2);
    PutLittleEndian(bmp, 24, 8, 2);
    for (int i = 26; i < bmp.size(); ++i)
        bmp[i] = char(1 + i % 251);
    return bmp;
}

// Leaves freed blocks of the picture's size holding `value` where the next picture's pixels may be allocated.
void DirtyTheHeap(char value)
{
    std::vector<void*> blocks;
    for (int i = 0; i < 16; ++i) {
        blocks.push_back(std::malloc(64 * 64));
        std::memset(blocks.back(), value, 64 * 64);
    }
    for (void* block : blocks)
        std::free(block);
}
} // namespace

// The toolkit's reader leaves the rows such a file does not hold unwritten: they are index 0 in every import, so the
// same file always gives the same picture, whatever memory the pixels were given.
TEST_F(DotraImport, ABitmapWhoseColourTableRunsIntoItsPixelsGivesTheSamePictureEveryTime)
{
    const QByteArray bmp = TableOverPixelsBmp();
    QImage first;
    for (const char dirt : {char(0xA5), char(0x5A), char(0xFF)}) {
        SCOPED_TRACE(int(uchar(dirt)));
        DirtyTheHeap(dirt);
        CDotra importer;
        std::unique_ptr<CDocument> document(importer.Import(bmp));
        ASSERT_NE(document, nullptr);
        const QImage& picture = static_cast<CDocumentPicture*>(document.get())->GetImage();
        ASSERT_EQ(picture.size(), QSize(64, 64));
        if (first.isNull())
            first = picture.copy();
        EXPECT_EQ(picture, first);
        EXPECT_EQ(picture.pixelIndex(0, 0), 0);
    }
    SaveSeed(QStringLiteral("table-over-pixels.bmp"), bmp);
}

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
