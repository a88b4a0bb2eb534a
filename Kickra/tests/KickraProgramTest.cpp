// The launcher in the built application folder, starting the real program there.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

namespace {

struct ProgramRun
{
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

QString AppFolder()
{
    return QFileInfo(QString::fromLatin1(ORV_LAUNCHER_FILE)).absolutePath();
}

// Runs a file of the application folder from that folder, as a user there would.
ProgramRun RunInAppFolder(const char* name, const QStringList& arguments)
{
    ProgramRun run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("ORVANEDIR"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(AppFolder());
    process.start(AppFolder() + QLatin1Char('/') + QString::fromLatin1(name), arguments);
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What one run left behind: its run log and the ring tone.
struct Results
{
    QByteArray log;
    QByteArray ringTone;
};

// A scratch folder for the source, the outputs and the run log, so that the application folder is
// left as it was.
class KickraProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Scratch.isValid());
        ASSERT_TRUE(QDir(m_Scratch.path()).mkpath(QStringLiteral("out")));
        ASSERT_TRUE(QFile::copy(QString::fromLatin1(ORV_SOURCE_DIR "/examples/morning.mid"), Path("morning.mid")));
    }

    QString Path(const char* relative) const { return m_Scratch.filePath(QString::fromLatin1(relative)); }

    // The conversion of the example tune, with every name fixed to the scratch folder.
    QStringList Conversion(const char* source) const
    {
        return {QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                QStringLiteral("/destination=") + Path("out"), QStringLiteral("/logfile=") + Path("run.log"),
                Path(source)};
    }

    // Takes what a run left and clears the way for the next one.
    Results Collect()
    {
        const Results results{ReadAll(Path("run.log")), ReadAll(Path("out/morning.IMY"))};
        QFile::remove(Path("run.log"));
        QFile::remove(Path("out/morning.IMY"));
        return results;
    }

    QTemporaryDir m_Scratch;
};

TEST_F(KickraProgram, ConvertsAsTheProgramDoesAndReturnsItsCode)
{
    struct Case
    {
        const char* source;
        int exitCode;
        bool written;
    };
    for (const Case& c : {Case{"morning.mid", 0, true}, Case{"missing.mid", 1, false}}) {
        const ProgramRun launched = RunInAppFolder("Kickra", Conversion(c.source));
        const Results throughKickra = Collect();
        const ProgramRun direct = RunInAppFolder("Orvane", Conversion(c.source));
        const Results alone = Collect();
        ASSERT_TRUE(launched.finished && direct.finished) << c.source;
        EXPECT_EQ(launched.exitCode, c.exitCode) << c.source << throughKickra.log.constData();
        EXPECT_EQ(direct.exitCode, c.exitCode) << c.source;
        EXPECT_TRUE(launched.output.isEmpty()) << c.source;
        EXPECT_TRUE(launched.errors.isEmpty()) << c.source << ": " << launched.errors.constData();
        if (c.written) {
            EXPECT_TRUE(throughKickra.ringTone.startsWith("BEGIN:IMELODY\r\n")) << throughKickra.ringTone.constData();
        } else {
            EXPECT_EQ(throughKickra.ringTone, QByteArray("<missing>"));
        }
        EXPECT_EQ(throughKickra.ringTone, alone.ringTone) << c.source;
        EXPECT_EQ(throughKickra.log, alone.log) << c.source;
        EXPECT_FALSE(throughKickra.log.isEmpty()) << c.source;
    }
}

// The help comes from the program alone: the launcher adds nothing to the standard output.
TEST_F(KickraProgram, HelpIsTheProgramsOwn)
{
    const QString log = QStringLiteral("/logfile=") + Path("help.log");
    const ProgramRun launched = RunInAppFolder("Kickra", {QStringLiteral("/help"), log});
    const ProgramRun direct = RunInAppFolder("Orvane", {QStringLiteral("/help"), log});
    ASSERT_TRUE(launched.finished && direct.finished);
    EXPECT_EQ(launched.exitCode, 1);
    EXPECT_EQ(direct.exitCode, 1);
    EXPECT_FALSE(launched.output.isEmpty());
    EXPECT_TRUE(launched.output.contains("/profile="));
    EXPECT_EQ(launched.output, direct.output);
    EXPECT_EQ(launched.errors, direct.errors);
}

} // namespace
