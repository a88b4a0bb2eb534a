// The plug-in as the host loads it, and the real program writing PIC files.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(StilloPlugin, ModuleExportsAPictureConverter)
{
    ExpectModule(ORV_STILLO_PLUGIN, "Stillo", 0x10016, "PIC");
}

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

TEST(ExportersFuzzSeeds, WrittenFromTheExamples)
{
    // The exporters' fuzz target reads a picking byte, a shaping byte, then a source file.
    struct Seed
    {
        const char* name;
        int exporter, shape;
        const char* example;
    } const seeds[] = {
        {"picture-grey", 0, 0x2B, "logo.png"},   {"picture-ems", 0, 0x40, "wink1.png"},
        {"animation", 1, 0x0F, "wink2.png"},     {"ems-animation", 2, 0x00, "wink3.png"},
        {"melody-midi", 3, 0x80, "morning.mid"}, {"melody-rtttl", 3, 0x01, "harbour.rtx"},
    };
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(ORV_CORPUS_DIR)));
    for (const Seed& seed : seeds)
    {
        QFile example(SourcePath(QStringLiteral("examples/") + QString::fromLatin1(seed.example)));
        ASSERT_TRUE(example.open(QIODevice::ReadOnly)) << seed.example;
        QFile file(QStringLiteral(ORV_CORPUS_DIR "/") + QString::fromLatin1(seed.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Bytes({seed.exporter, seed.shape}) + example.readAll());
    }
}
