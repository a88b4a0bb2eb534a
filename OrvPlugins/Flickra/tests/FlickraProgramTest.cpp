// The real program writing ANI files.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

namespace {
const char* const kWink[] = {"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"};
}

TEST(FlickraProgram, WinkBecomesAnAniOnEveryProfile)
{
    for (const char* model : {"Model A", "Model B", "Model C"}) {
        SCOPED_TRACE(model);
        ProgramRun run({kWink[0], kWink[1], kWink[2], kWink[3], kWink[4]});
        ASSERT_EQ(
            run.Run({QStringLiteral("/profile=") + QString::fromLatin1(model), QStringLiteral("/converter=ani"),
                     QStringLiteral("/destination=out"), QStringLiteral("/preview"), QStringLiteral("wink.anim")}),
            0)
            << run.Log().constData();
        const QByteArray ani = run.Read(QStringLiteral("out/wink.ANI"));
        // Four 16 x 16 monochrome frames of 34 bytes shown 400, 150, 150 and 400 ms.
        ASSERT_EQ(ani.size(), 2 + 2 * 4 + 2 * 3 + 4 * 34);
        EXPECT_EQ(ani.left(16), Bytes({7, 0, 0x04, 0xF0, 16, 0, 0x01, 0xF0, 50, 0, 84, 0, 0x04, 0xF0, 118, 0}));
        // The preview: one picture per frame.
        EXPECT_EQ(run.OutFiles().size(), 5) << run.OutFiles().join(QLatin1Char(' ')).toStdString();
    }
}

TEST(FlickraProgram, TooManyFramesFailWithTheirMessage)
{
    ProgramRun run({"wink1.png"});
    QByteArray description("<ANIMATION>");
    for (int i = 0; i < 11; ++i)
        description += "<FRAME REF=\"wink1.png\" DELAY=\"100\"/>";
    description += "</ANIMATION>";
    ASSERT_TRUE(run.Write(QStringLiteral("long.anim"), description));
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model B"), QStringLiteral("/converter=ani"),
                       QStringLiteral("/destination=out"), QStringLiteral("/preview"), QStringLiteral("long.anim")}),
              1);
    EXPECT_TRUE(run.Log().contains("The animation has more frames than the phone shows.")) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty()) << run.OutFiles().join(QLatin1Char(' ')).toStdString();
}

// A description without a usable frame imports as an empty animation; the converter refuses it with its own reason.
TEST(FlickraProgram, ADescriptionWithoutFramesFailsWithTheConvertersMessage)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    const QByteArray noFrames =
        CLanguageResources::GetMessage(QStringLiteral("CFlickra"), QStringLiteral("id_no_frames")).toUtf8();
    const QByteArray importFailed =
        CLanguageResources::GetMessage(QStringLiteral("CMotra"), QStringLiteral("id_import_error")).toUtf8();
    CLanguageResources::Load(QString());
    ASSERT_FALSE(noFrames.isEmpty());
    ProgramRun run({"wink1.png"});
    ASSERT_TRUE(run.Write(QStringLiteral("empty.anim"), "<A/>"));
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model B"), QStringLiteral("/converter=ani"),
                       QStringLiteral("/destination=out"), QStringLiteral("/preview"), QStringLiteral("empty.anim")}),
              1);
    EXPECT_TRUE(run.Log().contains(noFrames)) << run.Log().constData();
    EXPECT_FALSE(run.Log().contains(importFailed)) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty()) << run.OutFiles().join(QLatin1Char(' ')).toStdString();
}
