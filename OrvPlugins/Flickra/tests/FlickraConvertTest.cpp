// Animations to ANI files: the directory worked out by hand, times and
// offsets at their limits, the mode and EMS rulings, the profile limits, and
// round trips through a small reader of the format.
#include "CFlickra.h"
#include "ExporterTestSupport.h"

#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"

using namespace ExporterTest;

namespace {
struct Flickra : Fixture<CFlickra>
{
    explicit Flickra(const char* model = "Model_B") : Fixture(QStringLiteral("AniParameters.xml"), model)
    {
        LoadLanguage();
    }
    QByteArray Convert(const QList<QImage>& images, const QList<int>& times = {})
    {
        CDocumentAnimation animation;
        for (int i = 0; i < images.size(); ++i)
            animation.AppendFrame(images.at(i), times.value(i, 500));
        return Run(&animation);
    }
    QString Line(const char* id) { return LogLine("CFlickra", id); }
    void RaiseLimits()
    {
        SetProfileInt("MaxPictWidth", 255);
        SetProfileInt("MaxPictHeight", 255);
        SetProfileInt("NbMaxPictAnim", 100);
    }
};

struct AniFile
{
    bool ok = false;
    QVector<int> times;   // tenths of a second of each frame
    QVector<int> offsets; // of each frame's body
    QVector<DecodedBody> bodies;
};

// Reads the directory and the bodies it points to.
AniFile ReadAni(const QByteArray& file)
{
    AniFile ani;
    if (file.size() < 2)
        return ani;
    const int words = Word(file, 0);
    int time = -1;
    for (int i = 0; i < words; ++i) {
        if (2 + 2 * i + 1 >= file.size())
            return ani;
        const int word = Word(file, 2 + 2 * i);
        if (word >= 0xF000) {
            time = word & 0xFFF;
            continue;
        }
        ani.times.append(time);
        ani.offsets.append(word);
        ani.bodies.append(DecodeBody(file, word));
    }
    ani.ok = true;
    for (int i = 0; i < ani.bodies.size(); ++i)
        ani.ok = ani.ok && ani.bodies.at(i).ok && time >= 0;
    return ani;
}

QImage Black(int width, int height)
{
    return Filled(width, height, qRgb(0, 0, 0));
}
} // namespace

TEST(FlickraConvert, ThreeMonochromeFramesMake114Bytes)
{
    Flickra t("Model_A");
    const QByteArray out = t.Convert({Black(16, 16), Black(16, 16), Black(16, 16)}, {500, 500, 1000});
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    QByteArray body = Bytes({16, 16});
    body += QByteArray(32, char(0xFF));
    EXPECT_EQ(out, Bytes({5, 0, 0x05, 0xF0, 12, 0, 46, 0, 0x0A, 0xF0, 80, 0}) + body + body + body);
    EXPECT_EQ(out.size(), 114);
}

// Transparent pixels are the white of the screen in every frame and in the preview.
TEST(FlickraConvert, TransparentPixelsAreTheWhiteOfTheScreen)
{
    Flickra t("Model_A");
    const QImage disc = BlackDiscOnTransparent(64, 16);
    const QImage empty = BlackDiscOnTransparent(64, 0);
    const AniFile ani = ReadAni(t.Convert({disc, empty}));
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    ASSERT_TRUE(ani.ok);
    ASSERT_EQ(ani.bodies.size(), 2);
    EXPECT_NEAR(ExpectBlackDisc(ani.bodies[0], 64, 16) / 4096.0, 0.2, 0.01);
    EXPECT_EQ(ExpectBlackDisc(ani.bodies[1], 64, 0), 0);
    const CDocumentAnimation* preview = static_cast<CDocumentAnimation*>(t.converter.GetPreviewDocument());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(0, 0), qRgb(194, 194, 194));
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(32, 32), qRgb(0, 0, 0));
}

TEST(FlickraConvert, DisplayTimesInTenthsOfASecond)
{
    struct Case
    {
        QList<int> times;
        QByteArray directory;
        bool clampedMessage;
    } const cases[] = {
        {{50}, Bytes({2, 0, 0x00, 0xF0, 6, 0}), false},
        {{-300}, Bytes({2, 0, 0x00, 0xF0, 6, 0}), false}, // a negative time counts as 0
        {{500, 550}, Bytes({3, 0, 0x05, 0xF0, 8, 0, 11, 0}), false},
        {{409599}, Bytes({2, 0, 0xFF, 0xFF, 6, 0}), false},
        {{409600}, Bytes({2, 0, 0xFF, 0xFF, 6, 0}), true},
        // Compared before the limit: both are over it and still get a word each.
        {{409600, 500000}, Bytes({4, 0, 0xFF, 0xFF, 10, 0, 0xFF, 0xFF, 13, 0}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.times.first());
        Flickra t("Model_A");
        QList<QImage> frames;
        for (int i = 0; i < c.times.size(); ++i)
            frames.append(Black(1, 1));
        const QByteArray out = t.Convert(frames, c.times);
        ASSERT_TRUE(t.converted);
        EXPECT_EQ(out.left(c.directory.size()), c.directory);
        EXPECT_EQ(out.size(), c.directory.size() + 3 * int(c.times.size()));
        EXPECT_EQ(t.Summary().contains(t.Line("id_display_time_error")), c.clampedMessage);
    }
}

TEST(FlickraConvert, OffsetsStopAt0xEFFF)
{
    // Ten frames of one time: a directory of 24 bytes. 197 x 8 (199 bytes),
    // 255 x 128 (4082 bytes) and seven of 255 x 255 (8162 bytes) put the last
    // frame at 24 + 199 + 4082 + 7 x 8162 = 0xEFFF.
    for (int firstWidth : {197, 198}) {
        SCOPED_TRACE(firstWidth);
        Flickra t("Model_A");
        t.RaiseLimits();
        QList<QImage> frames = {Black(firstWidth, 8), Black(255, 128)};
        for (int i = 0; i < 8; ++i)
            frames.append(Black(255, 255));
        const QByteArray out = t.Convert(frames);
        EXPECT_EQ(t.converted, firstWidth == 197);
        if (t.converted) {
            EXPECT_EQ(Word(out, 2 + 2 * 10), 0xEFFF);
            EXPECT_EQ(out.size(), 0xEFFF + 8162);
        } else {
            EXPECT_TRUE(out.isEmpty());
            EXPECT_EQ(t.Summary(), t.Line("id_pictures_too_big"));
            EXPECT_EQ(t.converter.GetPreviewDocument(), nullptr);
        }
    }
}

TEST(FlickraConvert, AnimationWithoutFramesFails)
{
    Flickra t;
    EXPECT_TRUE(t.Convert({}).isEmpty());
    EXPECT_FALSE(t.converted);
    EXPECT_EQ(t.Summary(), t.Line("id_no_frames"));
}

TEST(FlickraConvert, LastFrameDecidesTheMode)
{
    const QImage threeGreys = Drawn({"0123", "0123"});
    const QImage twoColours = Drawn({"#.#.", "#.#."});
    struct Case
    {
        const char* what;
        const char* model;
        QList<QImage> frames;
        bool grey;
    } const cases[] = {
        {"two colours last", "Model_B", {threeGreys, twoColours}, false},
        {"three greys last", "Model_B", {twoColours, threeGreys}, true},
        {"monochrome display", "Model_A", {twoColours, threeGreys}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Flickra t(c.model);
        const AniFile ani = ReadAni(t.Convert(c.frames));
        ASSERT_TRUE(t.converted);
        ASSERT_TRUE(ani.ok);
        for (const DecodedBody& body : ani.bodies)
            EXPECT_EQ(body.grey, c.grey);
    }
}

TEST(FlickraConvert, GreyFramesReadBackWithTheirMasks)
{
    Flickra t("Model_B");
    t.SetEnum("PictureHasMask", "On");
    const QImage first = Drawn({"w0w", "123", "w3w"});
    const QImage second = Drawn({"3w0", "w1w", "2w3"});
    const AniFile ani = ReadAni(t.Convert({first, second}, {200, 300}));
    ASSERT_TRUE(t.converted) << t.Summary().toStdString();
    ASSERT_TRUE(ani.ok);
    EXPECT_EQ(ani.times, (QVector<int>{2, 3}));
    const char* rows[2][3] = {{"w0w", "123", "w3w"}, {"3w0", "w1w", "2w3"}};
    for (int f = 0; f < 2; ++f)
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                const char c = rows[f][y][x];
                EXPECT_EQ(ani.bodies[f].Mask(x, y), c == 'w' ? 0 : 1) << f << ":" << x << "," << y;
                EXPECT_EQ(ani.bodies[f].Pixel(x, y), c == 'w' ? 0 : c - '0') << f << ":" << x << "," << y;
            }
    // The preview keeps the source's times and shows transparency in white.
    const CDocumentAnimation* preview = static_cast<CDocumentAnimation*>(t.converter.GetPreviewDocument());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetFrame(1)->GetDisplayTime(), 300);
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(0, 1), qRgb(160, 160, 160));
}

TEST(FlickraConvert, MonochromeFramesCarryNoMaskAndPreviewInPhoneGrey)
{
    Flickra t("Model_A");
    t.SetEnum("PictureHasMask", "On");
    const QByteArray out = t.Convert({Drawn({"#.", ".#"})});
    ASSERT_TRUE(t.converted);
    EXPECT_EQ(out, Bytes({2, 0, 0x05, 0xF0, 6, 0, 2, 2, 0x80, 0x40}));
    const CDocumentAnimation* preview = static_cast<CDocumentAnimation*>(t.converter.GetPreviewDocument());
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(preview->GetFrame(0)->GetImage().pixel(1, 0), qRgb(194, 194, 194));
}

TEST(FlickraConvert, EmsAnimations)
{
    const QImage colour = Filled(8, 8, qRgb(200, 20, 20));
    struct Case
    {
        const char* what;
        const char* model;
        QList<QImage> frames;
        bool mask;
        bool passes;
    } const cases[] = {
        {"four 8 x 8", "Model_A", {Black(8, 8), Black(8, 8), Black(8, 8), Black(8, 8)}, false, true},
        {"four 16 x 16", "Model_A", {Black(16, 16), Black(16, 16), Black(16, 16), Black(16, 16)}, false, true},
        {"five frames", "Model_B", {Black(8, 8), Black(8, 8), Black(8, 8), Black(8, 8), Black(8, 8)}, false, false},
        {"three frames", "Model_A", {Black(8, 8), Black(8, 8), Black(8, 8)}, false, false},
        {"16 x 8", "Model_A", {Black(16, 8), Black(16, 8), Black(16, 8), Black(16, 8)}, false, false},
        {"12 x 12", "Model_A", {Black(12, 12), Black(12, 12), Black(12, 12), Black(12, 12)}, false, false},
        {"mixed sizes", "Model_A", {Black(16, 16), Black(8, 8), Black(16, 16), Black(16, 16)}, false, false},
        {"grey mode", "Model_B", {colour, colour, colour, colour}, false, false},
        {"with a mask", "Model_A", {Black(8, 8), Black(8, 8), Black(8, 8), Black(8, 8)}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Flickra t(c.model);
        t.SetEnum("EmsCompatible", "On");
        if (c.mask)
            t.SetEnum("PictureHasMask", "On");
        const QByteArray out = t.Convert(c.frames);
        EXPECT_EQ(t.converted, c.passes);
        if (!c.passes) {
            EXPECT_TRUE(out.isEmpty());
            EXPECT_EQ(t.Summary(),
                      (c.mask ? t.Line("id_mask_storing_error") : QString()) + t.Line("id_animation_not_ems"));
        }
    }
}

TEST(FlickraConvert, ProfileLimitsAtAndOnePast)
{
    struct Case
    {
        const char* model;
        int frames, width, height;
        const char* id; // null: converts
    } const cases[] = {
        {"Model_A", 4, 101, 64, nullptr},
        {"Model_A", 5, 8, 8, "id_too_much_frames"},
        {"Model_A", 1, 102, 64, "id_width_too_big"},
        {"Model_A", 1, 101, 65, "id_height_too_big"},
        {"Model_B", 10, 128, 128, nullptr},
        {"Model_B", 11, 8, 8, "id_too_much_frames"},
        {"Model_B", 11, 129, 8, "id_too_much_frames"},
        {"Model_B", 1, 129, 8, "id_width_too_big"},
        {"Model_C", 1, 256, 8, "id_picture_big"},
        {"Model_C", 16, 176, 8, nullptr},
        {"Model_C", 17, 8, 8, "id_too_much_frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << " " << c.frames << " of " << c.width << "x" << c.height);
        Flickra t(c.model);
        QList<QImage> frames;
        for (int i = 0; i < c.frames; ++i)
            frames.append(Black(c.width, c.height));
        const QByteArray out = t.Convert(frames);
        EXPECT_EQ(t.converted, c.id == nullptr);
        if (c.id) {
            EXPECT_TRUE(out.isEmpty());
            EXPECT_EQ(t.Summary(), t.Line(c.id));
        }
        EXPECT_EQ(t.converter.GetMaxFrameCount(&t.profile), c.model[6] == 'A' ? 4 : c.model[6] == 'B' ? 10 : 16);
    }
    Flickra empty;
    empty.Convert({Black(4, 4), QImage()});
    EXPECT_EQ(empty.Summary(), empty.Line("id_picture_too_small"));
}

TEST(FlickraConvert, MissingDocumentSetOrProfileFailsWithoutOutput)
{
    MessageCapture quiet;
    CFlickra bare;
    CDocumentAnimation animation;
    animation.AppendFrame(Black(8, 8), 100);
    EXPECT_FALSE(bare.Convert(&animation));
    EXPECT_FALSE(bare.Convert(nullptr));
    CDocumentPicture picture(Black(8, 8));
    Flickra t;
    t.Run(&picture);
    EXPECT_FALSE(t.converted);
    EXPECT_TRUE(t.converter.GetRawDataList().isEmpty());
}

TEST(FlickraFilters, CompatibilityAndTheHostsQuestions)
{
    struct Case
    {
        const char* model;
        int compatible;
    } const cases[] = {{"Model_A", 1}, {"Model_B", 1}, {"Model_C", 1}};
    for (const Case& c : cases) {
        Flickra t(c.model);
        EXPECT_EQ(t.converter.IsCompatibleWithProfile(&t.profile), c.compatible) << c.model;
    }
    CFlickra flickra;
    EXPECT_EQ(flickra.IsCompatibleWithProfile(nullptr), 0);
    EXPECT_EQ(flickra.GetImageExporter(), static_cast<CImageExporter*>(&flickra));
    EXPECT_EQ(flickra.GetMaxFrameSize(), QSize(255, 255));
    EXPECT_TRUE(flickra.IsPictureSizeSupported(QSize(255, 255)));
    EXPECT_FALSE(flickra.IsPictureSizeSupported(QSize(256, 255)));
    EXPECT_EQ(flickra.GetDocumentType(), 0x20);
    EXPECT_EQ(flickra.GetPreviewDocumentType(), 0x20);
    EXPECT_EQ(flickra.GetDescription(), QStringLiteral("Brimsel animation converter"));
    EXPECT_EQ(flickra.GetParametersFileName(), QStringLiteral("AniParameters.xml"));

    Flickra a("Model_A");
    a.converter.FilterParametersWithProfile(&a.parameters, &a.profile, 1);
    EXPECT_EQ(a.parameters.GetEnumParameter(QStringLiteral("GrayScale"))->GetValue(), QStringLiteral("Monochrom"));
    EXPECT_TRUE(a.parameters.GetEnumParameter(QStringLiteral("PictureHasMask"))->mIsConst);
}
