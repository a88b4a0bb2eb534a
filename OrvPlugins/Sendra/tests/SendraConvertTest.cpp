// Four frames to EMS animation objects: sizes, all-white and all-black
// frames, bit positions worked out by hand, the frame rules, and round trips.
#include "CSendra.h"
#include "ExporterTestSupport.h"

#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"

using namespace ExporterTest;

namespace {
const QString kNotEms = QStringLiteral("Animation is not ems compatible !\n");

struct Sendra : Fixture<CSendra>
{
    explicit Sendra(const char* model = "Model_A") : Fixture(QStringLiteral("EmaParameters.xml"), model) {}
    QByteArray Convert(const QList<QImage>& images)
    {
        CDocumentAnimation animation;
        for (const QImage& image : images)
            animation.AppendFrame(image, 1234);
        return Run(&animation);
    }
};

QList<QImage> Four(const QImage& image)
{
    return {image, image, image, image};
}

// Pixel (x, y) of frame f of an EMS object with w x w frames: 1 for black.
int Bit(const QByteArray& object, int side, int f, int x, int y)
{
    const int rowBytes = (side + 7) / 8;
    const int at = f * side * rowBytes + y * rowBytes + x / 8;
    return (quint8(object.at(at)) >> (7 - x % 8)) & 1;
}
} // namespace

TEST(SendraConvert, WhiteAndBlackFramesOfBothSizes)
{
    struct Case
    {
        int side;
        QRgb colour;
        QByteArray expected;
    } const cases[] = {
        {8, qRgb(255, 255, 255), QByteArray(32, '\0')},
        {8, qRgb(0, 0, 0), QByteArray(32, char(0xFF))},
        {16, qRgb(255, 255, 255), QByteArray(128, '\0')},
        {16, qRgb(0, 0, 0), QByteArray(128, char(0xFF))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << std::hex << c.colour);
        Sendra t;
        EXPECT_EQ(t.Convert(Four(Filled(c.side, c.side, c.colour))), c.expected);
        EXPECT_TRUE(t.converted);
    }
}

// Transparent pixels are the white of the screen, whatever colour the file stores under them.
TEST(SendraConvert, TransparentPixelsAreTheWhiteOfTheScreen)
{
    Sendra t;
    const QByteArray out = t.Convert(Four(BlackDiscOnTransparent(16, 4)));
    ASSERT_TRUE(t.converted);
    ASSERT_EQ(out.size(), 128);
    int black = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(Bit(out, 16, 0, x, y), InDisc(16, 4, x, y) ? 1 : 0) << x << "," << y;
            black += Bit(out, 16, 0, x, y);
        }
    EXPECT_NEAR(black / 256.0, 0.2, 0.02);
    EXPECT_EQ(out.mid(32), out.left(32).repeated(3));
    const CDocumentAnimation* preview = static_cast<CDocumentAnimation*>(t.converter.GetPreviewDocument());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(t.Convert(Four(BlackDiscOnTransparent(8, 0))), QByteArray(32, '\0'));
}

TEST(SendraConvert, RowsLeftmostPixelInBit7)
{
    QImage first = Filled(16, 16, qRgb(255, 255, 255));
    first.setPixel(0, 0, qRgb(0, 0, 0));
    first.setPixel(15, 1, qRgb(0, 0, 0));
    first.setPixel(9, 15, qRgb(0, 0, 0));
    Sendra t;
    const QByteArray out = t.Convert({first, Filled(16, 16, qRgb(0, 0, 0)), Filled(16, 16, qRgb(255, 255, 255)),
                                      Filled(16, 16, qRgb(255, 255, 255))});
    ASSERT_EQ(out.size(), 128);
    QByteArray expected(128, '\0');
    expected[0] = char(0x80);  // row 0, pixel 0
    expected[3] = char(0x01);  // row 1, pixel 15
    expected[31] = char(0x40); // row 15, pixel 9
    for (int i = 32; i < 64; ++i)
        expected[i] = char(0xFF);
    EXPECT_EQ(out, expected);
}

TEST(SendraConvert, BlackStaysOneInAPaletteThatListsItFirst)
{
    QImage mono(8, 8, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1u);
    mono.setPixel(2, 3, 0u);
    Sendra t;
    const QByteArray out = t.Convert(Four(mono));
    ASSERT_EQ(out.size(), 32);
    for (int f = 0; f < 4; ++f)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(Bit(out, 8, f, x, y), x == 2 && y == 3 ? 1 : 0);
    // The preview shows what the bits say.
    const auto* preview = static_cast<CDocumentAnimation*>(t.converter.GetPreviewDocument());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(2, 3), qRgb(0, 0, 0));
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(0, 0), qRgb(255, 255, 255));
}

TEST(SendraConvert, FramesThatAreNoEmsAnimationFail)
{
    struct Case
    {
        const char* what;
        QList<QImage> frames;
    } const cases[] = {
        {"three frames", {Filled(8, 8, 0), Filled(8, 8, 0), Filled(8, 8, 0)}},
        {"five frames", {Filled(8, 8, 0), Filled(8, 8, 0), Filled(8, 8, 0), Filled(8, 8, 0), Filled(8, 8, 0)}},
        {"16 x 8", Four(Filled(16, 8, 0))},
        {"12 x 12", Four(Filled(12, 12, 0))},
        {"8 x 8 after 16 x 16", {Filled(16, 16, 0), Filled(8, 8, 0), Filled(16, 16, 0), Filled(16, 16, 0)}},
        {"no frames", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sendra t;
        EXPECT_TRUE(t.Convert(c.frames).isEmpty());
        EXPECT_FALSE(t.converted);
        EXPECT_EQ(t.Summary(), kNotEms);
        EXPECT_TRUE(t.converter.GetRawDataList().isEmpty());
        EXPECT_EQ(t.converter.GetPreviewDocument(), nullptr);
    }
}

TEST(SendraConvert, PreviewShowsEveryFrameForTheProfilesTime)
{
    for (const char* model : {"Model_A", "Model_B"}) {
        Sendra t(model);
        t.Convert(Four(Filled(16, 16, qRgb(0, 0, 0))));
        ASSERT_TRUE(t.converted);
        const auto* preview = static_cast<CDocumentAnimation*>(t.converter.GetPreviewDocument());
        ASSERT_NE(preview, nullptr);
        ASSERT_EQ(preview->GetAnimationFrameCount(), 4);
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(preview->GetFrame(f)->GetDisplayTime(), t.profile.GetDefaultDisplayTime()) << model;
    }
}

TEST(SendraConvert, MissingDocumentOrProfileFailsWithoutOutput)
{
    MessageCapture quiet;
    CSendra bare;
    CDocumentAnimation animation;
    for (int i = 0; i < 4; ++i)
        animation.AppendFrame(Filled(8, 8, 0), 100);
    EXPECT_FALSE(bare.Convert(&animation)) << "no profile";
    EXPECT_FALSE(bare.Convert(nullptr));
    Sendra t;
    CDocumentPicture picture(Filled(8, 8, 0));
    t.Run(&picture);
    EXPECT_FALSE(t.converted);
    EXPECT_TRUE(t.converter.GetRawDataList().isEmpty());
}

TEST(SendraConvert, TheHostsQuestions)
{
    struct Case
    {
        const char* model;
        int compatible;
    } const cases[] = {{"Model_A", 1}, {"Model_B", 1}, {"Model_C", 0}};
    for (const Case& c : cases) {
        Sendra t(c.model);
        EXPECT_TRUE(t.parametersLoaded);
        EXPECT_EQ(t.converter.IsCompatibleWithProfile(&t.profile), c.compatible) << c.model;
    }
    CSendra sendra;
    EXPECT_EQ(sendra.IsCompatibleWithProfile(nullptr), 0);
    EXPECT_EQ(sendra.GetMaxFrameSize(), QSize(16, 16));
    EXPECT_EQ(sendra.GetMaxFrameCount(nullptr), 4);
    struct SizeCase
    {
        int width, height, supported;
    } const sizes[] = {{8, 8, 1}, {16, 16, 1}, {12, 12, 0}, {16, 8, 0}, {32, 32, 0}};
    for (const SizeCase& s : sizes)
        EXPECT_EQ(sendra.IsPictureSizeSupported(QSize(s.width, s.height)), s.supported) << s.width << "x" << s.height;
    EXPECT_EQ(sendra.GetDocumentType(), 0x20);
    EXPECT_EQ(sendra.GetDescription(), QStringLiteral("EMS animation converter"));
    EXPECT_EQ(sendra.GetParametersFileName(), QStringLiteral("EmaParameters.xml"));
}
