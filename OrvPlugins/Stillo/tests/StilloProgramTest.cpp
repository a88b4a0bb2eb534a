// The real program writing PIC files.
#include "ExporterTestSupport.h"
#include "GifBuilder.h"

using namespace ExporterTest;

TEST(StilloProgram, LogoBecomesAPicWithItsPreview)
{
    ProgramRun run({"logo.png"});
    ASSERT_EQ(run.Run({QStringLiteral("/profile=Model B"), QStringLiteral("/converter=pic"),
                       QStringLiteral("/destination=out"), QStringLiteral("/preview"), QStringLiteral("logo.png")}),
              0)
        << run.Log().constData();
    const QByteArray pic = run.Read(QStringLiteral("out/logo.PIC"));
    const DecodedBody body = DecodeBody(pic);
    ASSERT_TRUE(body.ok);
    EXPECT_EQ(body.size, pic.size());
    EXPECT_TRUE(body.grey);
    EXPECT_EQ(run.OutFiles().size(), 2) << run.OutFiles().join(QLatin1Char(' ')).toStdString();
}

TEST(StilloProgram, ModelCTakesNoPicture)
{
    ProgramRun run({"logo.png"});
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model C"), QStringLiteral("/converter=pic"),
                       QStringLiteral("/destination=out"), QStringLiteral("logo.png")}),
              1);
    EXPECT_TRUE(run.Log().contains("No converter of this phone writes PIC files.")) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty());
}

TEST(StilloProgram, PictureOverTheScreenFailsWithItsMessage)
{
    ProgramRun run({"logo.png"});
    // Model A's screen is 101 x 64; the logo is larger.
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=pic"),
                       QStringLiteral("/destination=out"), QStringLiteral("logo.png")}),
              1);
    EXPECT_TRUE(run.Log().contains("The picture is wider than the phone's screen.")) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty());
}

// A transparent PNG, and a GIF with a transparent index and an empty comment: the transparent ground is the white
// of the screen and only the disc is black, about a fifth of the picture.
TEST(StilloProgram, TransparentGroundIsWhiteInPngAndGif)
{
    const QImage disc = BlackDiscOnTransparent(64, 16);
    GifToBuild gif;
    gif.width = gif.height = 64;
    // The transparent index stores black, as the stored colour under a transparent ground often is.
    gif.globalColours = {qRgb(0, 0, 0), qRgb(0, 0, 0)};
    GifImageToBuild image = SolidImage(0, 0, 64, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (InDisc(64, 16, x, y))
                image.pixels[y * 64 + x] = 1;
    image.control = true;
    image.transparent = 0;
    gif.images << image;
    QByteArray gifBytes = BuildGif(gif);
    gifBytes.insert(13 + 2 * 3, QByteArray("\x21\xFE\x00", 3));

    ProgramRun run({});
    ASSERT_TRUE(disc.save(run.Path(QStringLiteral("disc.png"))));
    ASSERT_TRUE(run.Write(QStringLiteral("disc.gif"), gifBytes));
    for (const char* source : {"disc.png", "disc.gif"}) {
        SCOPED_TRACE(source);
        ASSERT_EQ(run.Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=pic"),
                           QStringLiteral("/destination=out"), QString::fromLatin1(source)}),
                  0)
            << run.Log().constData();
        EXPECT_NEAR(ExpectBlackDisc(DecodeBody(run.Read(QStringLiteral("out/disc.PIC"))), 64, 16) / 4096.0, 0.2, 0.01);
        QFile::remove(run.Path(QStringLiteral("out/disc.PIC")));
    }
}
