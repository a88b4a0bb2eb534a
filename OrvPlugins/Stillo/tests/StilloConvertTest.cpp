// Pictures to PIC bodies: byte-exact cases worked out by hand, the mode
// rulings, the profile limits, and round trips through a small decoder.
#include "CStillo.h"
#include "ExporterTestSupport.h"

#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"

using namespace ExporterTest;

namespace {
struct Stillo : Fixture<CStillo>
{
    explicit Stillo(const char* model = "Model_B") : Fixture(QStringLiteral("PicParameters.xml"), model)
    {
        LoadLanguage();
    }
    QByteArray Convert(const QImage& image)
    {
        CDocumentPicture picture(image);
        return Run(&picture);
    }
    QString Line(const char* id) { return LogLine("CStillo", id); }
};

// A 16 x 16 picture: white around a block of each phone grey.
QImage FourGreysOnWhite()
{
    QImage image = Filled(16, 16, qRgb(255, 255, 255));
    const QRgb greys[4] = {qRgb(194, 194, 194), qRgb(160, 160, 160), qRgb(125, 125, 125), qRgb(0, 0, 0)};
    for (int i = 0; i < 4; ++i)
        for (int y = 4; y < 12; ++y)
            image.setPixel(2 + 3 * i, y, greys[i]);
    return image;
}
} // namespace

TEST(StilloConvert, GreyPictureWithMaskIsAHundredBytesAndReadsBack)
{
    Stillo t;
    t.SetEnum("PictureHasMask", "On");
    const QByteArray out = t.Convert(FourGreysOnWhite());
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    ASSERT_EQ(out.size(), 100);
    EXPECT_EQ(out.left(4), Bytes({0x00, 0x00, 0x10, 0x10}));
    const DecodedBody decoded = DecodeBody(out);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.size, 100);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool drawn = y >= 4 && y < 12 && x >= 2 && x <= 11 && (x - 2) % 3 == 0;
            EXPECT_EQ(decoded.Mask(x, y), drawn ? 1 : 0) << x << "," << y;
            EXPECT_EQ(decoded.Pixel(x, y), drawn ? (x - 2) / 3 : 0) << x << "," << y;
        }
    // The preview shows the transparent pixels white and the others in phone greys.
    const QImage preview = static_cast<CDocumentPicture*>(t.converter.GetPreviewDocument())->GetImage();
    EXPECT_EQ(preview.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(preview.pixel(5, 4), qRgb(160, 160, 160));
}

TEST(StilloConvert, MonochromePixelInTheSecondBand)
{
    Stillo t("Model_A");
    QImage image = Filled(10, 9, qRgb(255, 255, 255));
    image.setPixel(0, 8, qRgb(0, 0, 0));
    const QByteArray out = t.Convert(image);
    ASSERT_TRUE(t.converted);
    QByteArray expected = Bytes({10, 9, 0x00, 0x80});
    expected += QByteArray(18, '\0');
    EXPECT_EQ(out, expected);
    const QImage preview = static_cast<CDocumentPicture*>(t.converter.GetPreviewDocument())->GetImage();
    EXPECT_EQ(preview.pixel(0, 8), qRgb(0, 0, 0));
    EXPECT_EQ(preview.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(StilloConvert, OneBitPictureWithBlackFirstKeepsBlackAsOne)
{
    Stillo t("Model_A");
    QImage mono(8, 1, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1u);
    mono.setPixel(0, 0, 0u);
    EXPECT_EQ(t.Convert(mono), Bytes({8, 1, 0x80, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(StilloConvert, ModeFollowsTheRulings)
{
    QImage threeGreys = Drawn({"0123", "0123"});
    QImage twoGreys = Drawn({"#..#", "#..#"});
    // One grey besides white, in a palette of three entries.
    QImage oneGrey(4, 2, QImage::Format_Indexed8);
    oneGrey.setColorTable({qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(0, 0, 0)});
    oneGrey.fill(0u);
    oneGrey.setPixel(1, 1, 1u);
    QImage colour = Filled(4, 2, qRgb(200, 30, 30));
    colour.setPixel(0, 0, qRgb(10, 200, 10));

    struct Case
    {
        const char* what;
        const char* model;
        const char* greyScale;
        const QImage* image;
        bool grey;
    } const cases[] = {
        {"three greys on a monochrome display", "Model_A", "Grayscale", &threeGreys, true},
        {"three greys, monochrome asked", "Model_B", "Monochrom", &threeGreys, true},
        {"two greys, grey asked", "Model_B", "Grayscale", &twoGreys, false},
        {"one grey and white in three entries", "Model_B", "Grayscale", &oneGrey, false},
        {"colour, grey asked", "Model_B", "Grayscale", &colour, true},
        {"colour, monochrome asked", "Model_B", "Monochrom", &colour, false},
        {"colour on a monochrome display", "Model_A", "Grayscale", &colour, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Stillo t(c.model);
        // A constant-free set: the filter is the host's business.
        t.SetEnum("GrayScale", c.greyScale);
        const QByteArray out = t.Convert(*c.image);
        ASSERT_TRUE(t.converted) << t.Summary().toStdString();
        const DecodedBody decoded = DecodeBody(out);
        EXPECT_EQ(decoded.grey, c.grey);
        EXPECT_EQ(decoded.size, out.size());
    }
}

// The screen is white: transparent pixels are white, whatever colour the file
// stores under them.
TEST(StilloConvert, TransparentPixelsAreTheWhiteOfTheScreen)
{
    Stillo t("Model_A");
    const QImage disc = BlackDiscOnTransparent(64, 16);
    const QByteArray out = t.Convert(disc);
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    EXPECT_NEAR(ExpectBlackDisc(DecodeBody(out), 64, 16) / 4096.0, 0.2, 0.01);
    const QImage preview = static_cast<CDocumentPicture*>(t.converter.GetPreviewDocument())->GetImage();
    EXPECT_EQ(preview.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(preview.pixel(32, 32), qRgb(0, 0, 0));

    // The same disc drawn opaque on white gives the same file.
    QImage opaque = Filled(64, 64, qRgb(255, 255, 255));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (InDisc(64, 16, x, y))
                opaque.setPixel(x, y, qRgb(0, 0, 0));
    EXPECT_EQ(t.Convert(opaque), out);
}

// Phone greys on a transparent ground: over white they are the phone greys and
// white, so the mask takes white, which was the transparent ground, as transparent.
TEST(StilloConvert, TransparentGroundBecomesTheMask)
{
    Stillo t;
    t.SetEnum("PictureHasMask", "On");
    QImage image = FourGreysOnWhite().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    const QByteArray out = t.Convert(image);
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    EXPECT_EQ(out, t.Convert(FourGreysOnWhite()));
    const DecodedBody decoded = DecodeBody(out);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.Mask(0, 0), 0);
    EXPECT_EQ(decoded.Mask(2, 4), 1);
}

TEST(StilloConvert, MonochromeBodyNeverCarriesAMask)
{
    Stillo t("Model_B");
    t.SetEnum("PictureHasMask", "On");
    const QByteArray out = t.Convert(Drawn({"#.#.", "....", ".#.#"}));
    ASSERT_TRUE(t.converted);
    EXPECT_EQ(out, Bytes({4, 3, 0x80, 0x20, 0x80, 0x20}));
}

TEST(StilloConvert, EmsPicturesAreMonochromeAndAtMost128Bytes)
{
    struct Case
    {
        int width, height;
        const char* model;
        bool passes;
    } const cases[] = {
        {72, 14, "Model_A", true},  // 14 x 9 = 126 bytes
        {72, 15, "Model_A", false}, // 135 bytes
        {64, 16, "Model_A", true},  // exactly 128
        {65, 16, "Model_A", false}, // 144
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        Stillo t(c.model);
        t.SetEnum("EmsCompatible", "On");
        const QByteArray out = t.Convert(Filled(c.width, c.height, qRgb(0, 0, 0)));
        EXPECT_EQ(t.converted, c.passes);
        if (c.passes) {
            EXPECT_EQ(out.size(), 2 + c.width * ((c.height + 7) / 8));
        } else {
            EXPECT_EQ(t.Summary(), t.Line("id_picture_not_ems"));
        }
    }
    Stillo grey("Model_B");
    grey.SetEnum("EmsCompatible", "On");
    grey.Convert(Drawn({"0123"}));
    EXPECT_FALSE(grey.converted) << "a grey picture is no EMS picture";
    EXPECT_EQ(grey.Summary(), grey.Line("id_picture_not_ems"));
}

TEST(StilloConvert, ProfileLimitsAtAndOnePast)
{
    struct Case
    {
        const char* model;
        int width, height;
        const char* id; // null: converts
    } const cases[] = {
        {"Model_A", 101, 64, nullptr},
        {"Model_A", 102, 64, "id_width_too_big"},
        {"Model_A", 101, 65, "id_height_too_big"},
        {"Model_B", 128, 128, nullptr},
        {"Model_B", 129, 1, "id_width_too_big"},
        {"Model_B", 1, 129, "id_height_too_big"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << " " << c.width << "x" << c.height);
        Stillo t(c.model);
        const QByteArray out = t.Convert(Filled(c.width, c.height, qRgb(255, 255, 255)));
        EXPECT_EQ(t.converted, c.id == nullptr);
        EXPECT_EQ(out.isEmpty(), c.id != nullptr);
        if (c.id) {
            EXPECT_EQ(t.Summary(), t.Line(c.id));
        }
    }
    // The body's one-byte sides, on a phone that would take more.
    Stillo big("Model_B");
    big.SetProfileInt("MaxPictWidth", 1000);
    big.SetProfileInt("MaxPictHeight", 1000);
    EXPECT_EQ(big.Convert(Filled(255, 255, qRgb(0, 0, 0))).size(), 2 + 255 * 32);
    big.Convert(Filled(256, 8, qRgb(0, 0, 0)));
    EXPECT_FALSE(big.converted);
    EXPECT_EQ(big.Summary(), big.Line("id_picture_big"));
}

TEST(StilloConvert, MissingPictureSetOrProfileFailsWithoutOutput)
{
    MessageCapture quiet;
    Stillo t;
    t.Convert(QImage());
    EXPECT_FALSE(t.converted);
    EXPECT_EQ(t.Summary(), t.Line("id_internal_error"));

    CDocumentAnimation animation;
    t.Run(&animation);
    EXPECT_FALSE(t.converted);

    CStillo bare;
    CDocumentPicture picture(Filled(8, 8, qRgb(0, 0, 0)));
    EXPECT_FALSE(bare.Convert(&picture));
    EXPECT_TRUE(bare.GetRawDataList().isEmpty());
    EXPECT_EQ(bare.GetPreviewDocument(), nullptr);
    bare.SetParameters(&t.parameters);
    EXPECT_FALSE(bare.Convert(&picture)) << "no profile";
}

TEST(StilloFilters, MonochromeDisplayTakesGreyAwayAndMasksNeedTransparency)
{
    Stillo a("Model_A");
    a.converter.FilterParametersWithProfile(&a.parameters, &a.profile, 1);
    CEnumParameter* grey = a.parameters.GetEnumParameter(QStringLiteral("GrayScale"));
    CEnumParameter* mask = a.parameters.GetEnumParameter(QStringLiteral("PictureHasMask"));
    EXPECT_EQ(grey->GetValue(), QStringLiteral("Monochrom"));
    EXPECT_FALSE(grey->SetValue(QStringLiteral("Grayscale")));
    EXPECT_TRUE(mask->mIsConst);
    a.converter.FilterParametersWithProfile(&a.parameters, &a.profile, 0);
    EXPECT_TRUE(grey->SetValue(QStringLiteral("Grayscale")));

    Stillo b("Model_B");
    b.converter.FilterParametersWithProfile(&b.parameters, &b.profile, 1);
    EXPECT_EQ(b.parameters.GetEnumParameter(QStringLiteral("GrayScale"))->GetValue(), QStringLiteral("Grayscale"));
    EXPECT_FALSE(b.parameters.GetEnumParameter(QStringLiteral("PictureHasMask"))->mIsConst);
}

TEST(StilloFilters, CompatibilityAndSizesForTheHost)
{
    struct Case
    {
        const char* model;
        int compatible;
    } const cases[] = {{"Model_A", 1}, {"Model_B", 1}, {"Model_C", 0}};
    for (const Case& c : cases) {
        Stillo t(c.model);
        EXPECT_EQ(t.converter.IsCompatibleWithProfile(&t.profile), c.compatible) << c.model;
    }
    CStillo stillo;
    EXPECT_EQ(stillo.IsCompatibleWithProfile(nullptr), 0);
    EXPECT_EQ(stillo.GetImageExporter(), static_cast<CImageExporter*>(&stillo));
    EXPECT_EQ(stillo.GetMaxFrameSize(), QSize(255, 255));
    EXPECT_TRUE(stillo.IsPictureSizeSupported(QSize(255, 255)));
    EXPECT_FALSE(stillo.IsPictureSizeSupported(QSize(256, 1)));
    EXPECT_FALSE(stillo.IsPictureSizeSupported(QSize(1, 256)));
    EXPECT_EQ(stillo.GetMaxFrameCount(nullptr), 1);
    EXPECT_EQ(stillo.GetDocumentType(), 0x10);
    EXPECT_EQ(stillo.GetPreviewDocumentType(), 0x10);
    EXPECT_EQ(stillo.GetDescription(), QStringLiteral("Brimsel picture converter"));
    EXPECT_EQ(stillo.GetParametersFileName(), QStringLiteral("PicParameters.xml"));
}
