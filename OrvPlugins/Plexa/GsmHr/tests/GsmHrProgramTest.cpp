// The real program writing the spoken example as a half-rate clip with its
// preview, on the built application folder.
#include "ProgramRun.h"
#include "TestBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

quint16 Word(const QByteArray& bytes, int at)
{
    return quint16(LittleAt(bytes, at, 2));
}

} // namespace

TEST(GsmHrProgram, SpokenExampleBecomesAHalfRateClipWithItsPreview)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString work = scratch.path();
    ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/out")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/hello.wav"), work + QStringLiteral("/hello.wav")));
    QByteArray parameters = ReadFileBytes(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
    ASSERT_TRUE(parameters.contains("VALUE=\"gsm_amr_122\""));
    parameters.replace("VALUE=\"gsm_amr_122\"", "VALUE=\"gsm_hr\"");
    ASSERT_TRUE(WriteFileBytes(work + QStringLiteral("/halfrate.xml"), parameters));

    const int exitCode = RunProgramIn(work, {QStringLiteral("/profile=Model B"), QStringLiteral("/converter=vox"),
                                           QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                                           QStringLiteral("/logfile=run.log"), QStringLiteral("/parameter=halfrate.xml"),
                                           QStringLiteral("hello.wav")}, 60000);
    ASSERT_EQ(exitCode, 0) << ReadFileBytes(work + QStringLiteral("/run.log")).constData();

    const QByteArray vox = ReadFileBytes(work + QStringLiteral("/out/hello.VOX"));
    ASSERT_TRUE(vox.startsWith(".VOX"));
    ASSERT_EQ((vox.size() - 4) % 18, 0);
    const int messages = (vox.size() - 4) / 18;
    ASSERT_GT(messages, 10);
    for (int m = 0; m < messages; ++m) {
        const int at = 4 + 18 * m;
        ASSERT_EQ(Word(vox, at), 0x0990) << "message " << m;
        EXPECT_EQ((Word(vox, at + 16) >> 8) & 0xF, 2) << "message " << m;
    }
    const QByteArray preview = ReadFileBytes(work + QStringLiteral("/out/hello_previewVOX.WAV"));
    EXPECT_EQ(preview.size(), 44 + 320 * messages);
}
