// The real program writing the spoken example as a half-rate clip with its
// preview, on the built application folder.
#include "ProgramRun.h"
#include "TestBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kDtxOn = "NAME=\"EncodeNoDTX\" TYPE=\"Boolean\" VALUE=\"false\"";
const QByteArray kDtxOff = "NAME=\"EncodeNoDTX\" TYPE=\"Boolean\" VALUE=\"true\"";

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
    QByteArray parameters =
        ReadFileBytes(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
    ASSERT_TRUE(parameters.contains("VALUE=\"gsm_amr_122\""));
    parameters.replace("VALUE=\"gsm_amr_122\"", "VALUE=\"gsm_hr\"");
    // silence coded as speech: every frame is a full message
    ASSERT_TRUE(parameters.contains(kDtxOn));
    parameters.replace(kDtxOn, kDtxOff);
    ASSERT_TRUE(WriteFileBytes(work + QStringLiteral("/halfrate.xml"), parameters));

    const int exitCode = RunProgramIn(work,
                                      {QStringLiteral("/profile=Model B"), QStringLiteral("/converter=vox"),
                                       QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                                       QStringLiteral("/logfile=run.log"), QStringLiteral("/parameter=halfrate.xml"),
                                       QStringLiteral("hello.wav")},
                                      60000);
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

namespace {

// A scratch folder with the spoken example as each of `sources` and the
// half-rate parameter file, DTX as given.
struct HalfRateRun
{
    QTemporaryDir scratch;
    QString work;
    int exitCode = -1;

    HalfRateRun(const QStringList& sources, bool dtx)
    {
        work = scratch.path();
        QDir().mkpath(work + QStringLiteral("/out"));
        for (const QString& source : sources)
            QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/hello.wav"), work + QLatin1Char('/') + source);
        QByteArray parameters =
            ReadFileBytes(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
        parameters.replace("VALUE=\"gsm_amr_122\"", "VALUE=\"gsm_hr\"");
        if (!dtx)
            parameters.replace(kDtxOn, kDtxOff);
        WriteFileBytes(work + QStringLiteral("/halfrate.xml"), parameters);
        QStringList arguments = {QStringLiteral("/profile=Model B"), QStringLiteral("/converter=vox"),
                                 QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                                 QStringLiteral("/logfile=run.log"), QStringLiteral("/parameter=halfrate.xml")};
        exitCode = RunProgramIn(work, arguments + sources, 60000);
    }
    QByteArray Out(const QString& name) const { return ReadFileBytes(work + QStringLiteral("/out/") + name); }
    QByteArray Log() const { return ReadFileBytes(work + QStringLiteral("/run.log")); }
};

} // namespace

TEST(GsmHrProgram, DtxMakesTheClipSmallerWithAPreviewOfTheSameLength)
{
    const HalfRateRun on({QStringLiteral("hello.wav")}, true);
    const HalfRateRun off({QStringLiteral("hello.wav")}, false);
    ASSERT_EQ(on.exitCode, 0) << on.Log().constData();
    ASSERT_EQ(off.exitCode, 0) << off.Log().constData();
    const QByteArray vox = on.Out(QStringLiteral("hello.VOX"));
    ASSERT_TRUE(vox.startsWith(".VOX"));
    EXPECT_LT(vox.size(), off.Out(QStringLiteral("hello.VOX")).size());

    // the pauses end in SID messages and two-word untransmitted ones
    int messages = 0, sids = 0, silent = 0;
    for (int at = 4; at + 2 <= vox.size();) {
        const int length = Word(vox, at) >> 8;
        ASSERT_TRUE(length == 9 || length == 2) << "message at " << at;
        ASSERT_LE(at + 2 * length, vox.size());
        const quint16 flags = Word(vox, at + 2 * length - 2);
        if (length == 2)
            ++silent;
        else if (((flags >> 5) & 7) == 2)
            ++sids;
        ++messages;
        at += 2 * length;
    }
    EXPECT_GE(sids, 2);
    EXPECT_GE(silent, 1);
    const QByteArray preview = on.Out(QStringLiteral("hello_previewVOX.WAV"));
    EXPECT_EQ(preview.size(), 44 + 320 * messages);
    EXPECT_EQ(preview.size(), off.Out(QStringLiteral("hello_previewVOX.WAV")).size());
}

TEST(GsmHrProgram, OneWavConvertedTwiceInOneRunGivesIdenticalBytes)
{
    const HalfRateRun run({QStringLiteral("first.wav"), QStringLiteral("second.wav")}, true);
    ASSERT_EQ(run.exitCode, 0) << run.Log().constData();
    const QByteArray first = run.Out(QStringLiteral("first.VOX"));
    ASSERT_TRUE(first.startsWith(".VOX"));
    EXPECT_EQ(run.Out(QStringLiteral("second.VOX")), first);
    const QByteArray preview = run.Out(QStringLiteral("first_previewVOX.WAV"));
    ASSERT_GT(preview.size(), 44);
    EXPECT_EQ(run.Out(QStringLiteral("second_previewVOX.WAV")), preview);
}
