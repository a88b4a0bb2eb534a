// The real program writing EMA files.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(SendraProgram, WinkBecomesAnEmsAnimation)
{
    for (const char* model : {"Model A", "Model B"}) {
        SCOPED_TRACE(model);
        ProgramRun run({"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"});
        ASSERT_EQ(run.Run({QStringLiteral("/profile=") + QString::fromLatin1(model), QStringLiteral("/converter=ema"),
                           QStringLiteral("/destination=out"), QStringLiteral("wink.anim")}),
                  0)
            << run.Log().constData();
        const QByteArray ema = run.Read(QStringLiteral("out/wink.EMA"));
        ASSERT_EQ(ema.size(), 128);
        // The face's outline crosses the top row in the middle of every frame.
        for (int f = 0; f < 4; ++f)
            EXPECT_NE(ema.mid(f * 32, 2), QByteArray(2, '\0')) << f;
    }
}

TEST(SendraProgram, ModelCTakesNoEmsAnimation)
{
    ProgramRun run({"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"});
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model C"), QStringLiteral("/converter=ema"),
                       QStringLiteral("/destination=out"), QStringLiteral("wink.anim")}),
              1);
    EXPECT_TRUE(run.Log().contains("No converter of this phone writes EMA files.")) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty());
}
