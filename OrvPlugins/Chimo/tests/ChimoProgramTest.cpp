// The real program writing QBR files.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(ChimoProgram, MidiExampleBecomesAQbrWithItsPreview)
{
    for (const char* model : {"Model A", "Model B"}) {
        SCOPED_TRACE(model);
        ProgramRun run({"morning.mid", "short.xml"});
        ASSERT_EQ(run.Run({QStringLiteral("/profile=") + QString::fromLatin1(model), QStringLiteral("/converter=qbr"),
                           QStringLiteral("/parameter=short.xml"), QStringLiteral("/destination=out"),
                           QStringLiteral("/preview"), QStringLiteral("morning.mid")}),
                  0)
            << run.Log().constData();
        const QByteArray qbr = run.Read(QStringLiteral("out/morning.QBR"));
        ASSERT_GE(qbr.size(), 13);
        EXPECT_LE(qbr.size(), 128) << "one SMS packet";
        EXPECT_EQ(qbr.left(4), QByteArray(".QBR"));
        EXPECT_EQ(Word(qbr, 4), qbr.size() - 10);
        EXPECT_EQ(qbr.mid(6, 3), Bytes({0x10, 0x20, 0x1E}));
        const QByteArray wave = run.Read(QStringLiteral("out/morning_previewQBR.WAV"));
        EXPECT_EQ(wave.left(4), QByteArray("RIFF"));
        EXPECT_GT(wave.size(), 44);
    }
}

TEST(ChimoProgram, ModelCTakesNoOneLineMelody)
{
    ProgramRun run({"morning.mid"});
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model C"), QStringLiteral("/converter=qbr"),
                       QStringLiteral("/destination=out"), QStringLiteral("/preview"), QStringLiteral("morning.mid")}),
              1);
    EXPECT_TRUE(run.Log().contains("No converter of this phone writes QBR files.")) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty());
}

TEST(ChimoProgram, DrumsOnlyMidiFailsWithItsMessage)
{
    ProgramRun run({});
    // Two drum hits on MIDI channel 10 and nothing else.
    ASSERT_TRUE(
        run.Write(QStringLiteral("drums.mid"), QByteArray::fromHex("4D546864000000060000000100604D54726B00000014"
                                                                   "0099246460892400009926646089260000FF2F00")));
    EXPECT_EQ(run.Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=qbr"),
                       QStringLiteral("/destination=out"), QStringLiteral("/preview"), QStringLiteral("drums.mid")}),
              1);
    EXPECT_TRUE(run.Log().contains("The melody holds no note to play.")) << run.Log().constData();
    EXPECT_TRUE(run.OutFiles().isEmpty());
}
