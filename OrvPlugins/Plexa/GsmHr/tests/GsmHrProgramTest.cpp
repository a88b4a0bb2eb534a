// The real program writing the spoken example as a half-rate clip with its
// preview, on the built application folder.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int RunProgram(const QString& work, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(work);
    process.start(QStringLiteral(ORVANE_PROGRAM), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

quint16 Word(const QByteArray& bytes, int at)
{
    return quint16(quint8(bytes.at(at)) | (quint8(bytes.at(at + 1)) << 8));
}

} // namespace

TEST(GsmHrProgram, SpokenExampleBecomesAHalfRateClipWithItsPreview)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString work = scratch.path();
    ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/out")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/hello.wav"), work + QStringLiteral("/hello.wav")));
    QByteArray parameters = ReadAll(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
    ASSERT_TRUE(parameters.contains("VALUE=\"gsm_amr_122\""));
    parameters.replace("VALUE=\"gsm_amr_122\"", "VALUE=\"gsm_hr\"");
    ASSERT_TRUE(WriteAll(work + QStringLiteral("/halfrate.xml"), parameters));

    const int exitCode = RunProgram(work, {QStringLiteral("/profile=Model B"), QStringLiteral("/converter=vox"),
                                           QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                                           QStringLiteral("/logfile=run.log"), QStringLiteral("/parameter=halfrate.xml"),
                                           QStringLiteral("hello.wav")});
    ASSERT_EQ(exitCode, 0) << ReadAll(work + QStringLiteral("/run.log")).constData();

    const QByteArray vox = ReadAll(work + QStringLiteral("/out/hello.VOX"));
    ASSERT_TRUE(vox.startsWith(".VOX"));
    ASSERT_EQ((vox.size() - 4) % 18, 0);
    const int messages = (vox.size() - 4) / 18;
    ASSERT_GT(messages, 10);
    for (int m = 0; m < messages; ++m) {
        const int at = 4 + 18 * m;
        ASSERT_EQ(Word(vox, at), 0x0990) << "message " << m;
        EXPECT_EQ((Word(vox, at + 16) >> 8) & 0xF, 2) << "message " << m;
    }
    const QByteArray preview = ReadAll(work + QStringLiteral("/out/hello_previewVOX.WAV"));
    EXPECT_EQ(preview.size(), 44 + 320 * messages);
}
