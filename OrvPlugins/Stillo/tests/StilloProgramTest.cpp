// The real program writing PIC files.
#include "ExporterTestSupport.h"

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
